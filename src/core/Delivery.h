#pragma once

#include "core/Capture.h"
#include "core/CaptureFileWriter.h"
#include "core/Destination.h"

#include <QFuture>
#include <QString>
#include <QThreadPool>

namespace quillor {

// The one way captures reach a notes folder: saves run one at a time on a
// worker thread of their own, so the user interface never waits on a disk.
//
// Errors: the future ends in the writer's exception. QtConcurrent carries an
// exception that is not a QException as a QUnhandledException wrapping it, so
// read the future through Delivery::result(), which gives the note's path or
// rethrows the original CaptureError, FileSystemError or SafePath error:
//
//     delivery.save(capture, destination).then(this, [](QFuture<QString> done) {
//         try { const QString path = Delivery::result(done); ... }
//         catch (const Error& error) { ... error.localizedDescription() ... }
//     });
class Delivery {
public:
    explicit Delivery(const QString& backupRoot);
    // Waits for the save in progress and any queued ones: no task outlives
    // the writer it uses.
    ~Delivery();

    Delivery(const Delivery&) = delete;
    Delivery& operator=(const Delivery&) = delete;

    const CaptureFileWriter& writer() const { return m_writer; }

    QFuture<QString> save(const Capture& capture, const Destination& destination);

    // The finished future's path, or its original exception rethrown. Blocks
    // when the future is not finished yet.
    static QString result(const QFuture<QString>& future);

private:
    const CaptureFileWriter m_writer;
    QThreadPool m_pool;
};

} // namespace quillor
