#pragma once

#include "core/Capture.h"
#include "model/DiskWrites.h"
#include "model/DraftEncoder.h"

#include <QByteArrayView>
#include <QFuture>
#include <QList>
#include <QObject>
#include <QString>
#include <QThreadPool>

#include <exception>
#include <functional>
#include <memory>
#include <optional>

namespace quillor {

// Writes draft.json on a worker thread so that the UI never waits for a
// draft's images to reach the disk. One write at a time: a draft handed over
// while one is being written waits for it, and replaces any draft still
// waiting, so the newest state is always written last and no older one ever
// lands over it. A draft equal to the one on disk (or to the one being
// written) is not written again: a 192 MB draft takes seconds to rewrite.
// Each write is registered in DiskWrites from when it is handed over.
class DraftWriter : public QObject {
    Q_OBJECT

public:
    // Writes the file's parts atomically; throws on failure. Runs on the
    // worker thread.
    using FileWriter = std::function<void(const QString& path, const QList<QByteArrayView>& parts)>;
    // Told on this object's thread after each write, with its failure (null
    // when the file was written).
    using Outcome = std::function<void(std::exception_ptr failure)>;
    // How long a write of so many bytes may take before it counts as stuck.
    using Bound = std::function<DiskWrites::Clock::duration(qint64 bytes)>;

    DraftWriter(QString path, FileWriter writeFile, Outcome onWritten, QObject* parent = nullptr);
    // Writes what was handed over before it goes, each write within its
    // bound; nobody is told. A write past its bound is left to its thread,
    // and nothing after it is written: the end of the process cuts it, and
    // the file it replaces atomically stays whole.
    ~DraftWriter() override;

    DraftWriter(const DraftWriter&) = delete;
    DraftWriter& operator=(const DraftWriter&) = delete;

    // Returns at once. A draft already on disk is told written at once.
    void write(const Capture& draft);
    // Returns once every draft handed over is on disk (or failed), each
    // outcome told in order.
    void waitUntilWritten();
    // Waits as above, but for each write no longer than its bound, counted
    // from its start; false when one outlasted it: it goes on, and its
    // outcome is told when it ends.
    bool waitWithinBounds();
    // Waits as above, then writes `draft` on this thread; throws the write's
    // error, and tells nobody.
    void writeNow(const Capture& draft);
    // Runs `then` on this thread once no draft is being written or waits to
    // be, whatever the outcome: at once when none is.
    void whenWritten(std::function<void()> then);
    bool busy() const { return m_inFlight.has_value(); }
    // What the file holds when nothing was written yet (the draft read at
    // start-up): a wait does not write it again unchanged.
    void setOnDisk(const Capture& draft) { m_onDisk = draft; }
    // DiskWrites::boundFor unless set.
    void setBound(Bound bound) { m_bound = std::move(bound); }

private:
    struct Shared;
    void start(const Capture& draft);
    void finish(quint64 write);
    std::exception_ptr settle();
    void setWaiting(const std::optional<Capture>& draft);
    bool endsWithinBound() const;

    const QString m_path;
    const Outcome m_onWritten;
    Bound m_bound = DiskWrites::boundFor;
    // Used by one write at a time, on whichever thread runs it.
    const std::shared_ptr<Shared> m_shared;
    // Let go rather than destroyed when its thread is stuck in a write.
    std::unique_ptr<QThreadPool> m_thread = std::make_unique<QThreadPool>();
    quint64 m_started = 0;
    std::optional<QFuture<std::exception_ptr>> m_inFlight;
    std::optional<Capture> m_writing;   // the draft of m_inFlight
    DiskWrites::Clock::time_point m_writingBound;
    std::optional<Capture> m_waiting;
    std::unique_ptr<DiskWrites::Scope> m_waitingRegistered;
    // The last draft written successfully, so the one in the file; unknown
    // after a failure.
    std::optional<Capture> m_onDisk;
    QList<std::function<void()>> m_afterWrites;
};

} // namespace quillor
