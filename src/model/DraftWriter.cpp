#include "model/DraftWriter.h"

#include "model/DiskWrites.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <utility>

namespace quillor {

namespace {

// Successive drafts share their images' bytes: one address spares reading
// megabytes.
bool sameBytes(const QByteArray& one, const QByteArray& other)
{
    return (one.constData() == other.constData() && one.size() == other.size()) || one == other;
}

CaptureAttachment withoutBytes(CaptureAttachment attachment)
{
    attachment.data = {};
    return attachment;
}

bool sameAttachment(const CaptureAttachment& one, const CaptureAttachment& other)
{
    return withoutBytes(one) == withoutBytes(other) && sameBytes(one.data, other.data);
}

// Whether both drafts make the same file.
bool sameDraft(Capture one, Capture other)
{
    if (one.attachments.size() != other.attachments.size())
        return false;
    for (qsizetype index = 0; index < one.attachments.size(); ++index) {
        if (!sameAttachment(one.attachments.at(index), other.attachments.at(index)))
            return false;
    }
    one.attachments.clear();
    other.attachments.clear();
    return one == other;
}

} // namespace

struct DraftWriter::Shared {
    FileWriter writeFile;
    DraftEncoder encoder;

    void write(const QString& path, const Capture& draft)
    {
        // The images go out in Base64, a third larger than their bytes.
        qint64 size = draft.body.size() * 3;
        for (const CaptureAttachment& attachment : draft.attachments)
            size += attachment.data.size() / 3 * 4;
        const DiskWrites::Scope inProgress(size);
        const QList<QByteArray> parts = encoder.encode(draft);
        writeFile(path, QList<QByteArrayView>(parts.cbegin(), parts.cend()));
    }
};

DraftWriter::DraftWriter(QString path, FileWriter writeFile, Outcome onWritten, QObject* parent)
    : QObject(parent), m_path(std::move(path)), m_onWritten(std::move(onWritten)),
      m_shared(std::make_shared<Shared>(Shared{std::move(writeFile), {}}))
{
    m_thread.setMaxThreadCount(1);
}

DraftWriter::~DraftWriter()
{
    if (m_inFlight)
        m_inFlight->waitForFinished();
    // The user's last words are not dropped for want of a listener.
    if (m_waiting) {
        try {
            m_shared->write(m_path, *m_waiting);
        } catch (...) {
        }
    }
}

void DraftWriter::write(const Capture& draft)
{
    if (m_inFlight) {
        // A draft waiting is older than this one, and the one being written
        // may already be it.
        if (sameDraft(draft, *m_writing))
            m_waiting.reset();
        else
            m_waiting = draft;
        return;
    }
    if (m_onDisk && sameDraft(draft, *m_onDisk)) {
        if (m_onWritten)
            m_onWritten(nullptr);
        return;
    }
    start(draft);
}

void DraftWriter::start(const Capture& draft)
{
    const quint64 write = ++m_started;
    QFuture<std::exception_ptr> future =
        QtConcurrent::run(&m_thread, [shared = m_shared, path = m_path, draft]() -> std::exception_ptr {
            try {
                shared->write(path, draft);
            } catch (...) {
                return std::current_exception();
            }
            return nullptr;
        });
    m_inFlight = future;
    m_writing = draft;
    // A watcher rather than a continuation: a wait may finish the write
    // first, and the watcher is simply let go then.
    auto* watcher = new QFutureWatcher<std::exception_ptr>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, write] {
        watcher->deleteLater();
        finish(write);
    });
    watcher->setFuture(future);
}

void DraftWriter::finish(quint64 write)
{
    // Already finished by a wait.
    if (!m_inFlight || write != m_started)
        return;
    const std::exception_ptr failure = m_inFlight->result();
    m_inFlight.reset();
    if (failure)
        m_onDisk.reset();
    else
        m_onDisk = std::move(m_writing);
    m_writing.reset();
    if (m_waiting) {
        start(*m_waiting);
        m_waiting.reset();
    }
    if (m_onWritten)
        m_onWritten(failure);
    if (!m_inFlight) {
        for (const std::function<void()>& then : std::exchange(m_afterWrites, {}))
            then();
    }
}

void DraftWriter::whenWritten(std::function<void()> then)
{
    if (m_inFlight)
        m_afterWrites.append(std::move(then));
    else
        then();
}

void DraftWriter::waitUntilWritten()
{
    while (m_inFlight) {
        m_inFlight->waitForFinished();
        finish(m_started);
    }
}

void DraftWriter::writeNow(const Capture& draft)
{
    waitUntilWritten();
    // A failed write may have left either file.
    m_onDisk.reset();
    m_shared->write(m_path, draft);
    m_onDisk = draft;
}

} // namespace quillor
