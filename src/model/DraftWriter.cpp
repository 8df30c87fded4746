#include "model/DraftWriter.h"

#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>

#include <condition_variable>
#include <mutex>
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

// The images go out in Base64, a third larger than their bytes.
qint64 encodedSize(const Capture& draft)
{
    qint64 size = draft.body.size() * 3;
    for (const CaptureAttachment& attachment : draft.attachments)
        size += attachment.data.size() / 3 * 4;
    return size;
}

// A pool whose thread is stuck in a write cannot be destroyed: that waits for
// the thread. It is kept, reachable, for the rest of the process, since the
// thread comes back to it if the write ever returns.
void leaveToItsThread(std::unique_ptr<QThreadPool> pool)
{
    static auto* const left = new QList<QThreadPool*>;
    left->append(pool.release());
}

} // namespace

struct DraftWriter::Shared {
    explicit Shared(FileWriter writer) : writeFile(std::move(writer)) {}

    void write(const QString& path, const Capture& draft)
    {
        const QList<QByteArray> parts = encoder.encode(draft);
        writeFile(path, QList<QByteArrayView>(parts.cbegin(), parts.cend()));
    }

    // On the writer's thread, as it hands a write over to the worker.
    void handOver(DiskWrites::Clock::time_point deadline)
    {
        auto registered = std::make_unique<DiskWrites::Scope>(deadline);
        const std::lock_guard lock(mutex);
        inProgress = std::move(registered);
    }

    // On the worker, as the write ends, failed or not.
    void end()
    {
        {
            const std::lock_guard lock(mutex);
            inProgress.reset();
            ++ended;
        }
        changed.notify_all();
    }

    const FileWriter writeFile;
    DraftEncoder encoder;
    std::mutex mutex;
    std::condition_variable changed;
    std::unique_ptr<DiskWrites::Scope> inProgress;
    quint64 ended = 0;   // how many writes handed over have ended
};

DraftWriter::DraftWriter(QString path, FileWriter writeFile, Outcome onWritten, QObject* parent)
    : QObject(parent), m_path(std::move(path)), m_onWritten(std::move(onWritten)),
      m_shared(std::make_shared<Shared>(std::move(writeFile)))
{
    m_thread->setMaxThreadCount(1);
}

DraftWriter::~DraftWriter()
{
    // The user's last words are not dropped for want of a listener, but a
    // disk that does not answer does not hold the end of the program.
    while (m_inFlight) {
        if (!endsWithinBound()) {
            leaveToItsThread(std::move(m_thread));
            return;
        }
        settle();
    }
}

void DraftWriter::write(const Capture& draft)
{
    if (m_inFlight) {
        // A draft waiting is older than this one, and the one being written
        // may already be it.
        setWaiting(sameDraft(draft, *m_writing) ? std::nullopt : std::optional(draft));
        return;
    }
    if (m_onDisk && sameDraft(draft, *m_onDisk)) {
        if (m_onWritten)
            m_onWritten(nullptr);
        return;
    }
    start(draft);
}

void DraftWriter::setWaiting(const std::optional<Capture>& draft)
{
    // Registered before the registration it replaces goes: the watchdog sees
    // a write in progress from one write's end to the next one's start. It
    // starts by the bound of the one being written at the latest.
    std::unique_ptr<DiskWrites::Scope> registered;
    if (draft)
        registered = std::make_unique<DiskWrites::Scope>(m_writingBound + m_bound(encodedSize(*draft)));
    m_waitingRegistered = std::move(registered);
    m_waiting = draft;
}

void DraftWriter::start(const Capture& draft)
{
    const quint64 write = ++m_started;
    m_writingBound = DiskWrites::Clock::now() + m_bound(encodedSize(draft));
    m_shared->handOver(m_writingBound);
    QFuture<std::exception_ptr> future =
        QtConcurrent::run(m_thread.get(), [shared = m_shared, path = m_path, draft]() -> std::exception_ptr {
            std::exception_ptr failure;
            try {
                shared->write(path, draft);
            } catch (...) {
                failure = std::current_exception();
            }
            shared->end();
            return failure;
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
    const std::exception_ptr failure = settle();
    if (m_onWritten)
        m_onWritten(failure);
    if (!m_inFlight) {
        for (const std::function<void()>& then : std::exchange(m_afterWrites, {}))
            then();
    }
}

std::exception_ptr DraftWriter::settle()
{
    const std::exception_ptr failure = m_inFlight->result();
    m_inFlight.reset();
    if (failure)
        m_onDisk.reset();
    else
        m_onDisk = std::move(m_writing);
    m_writing.reset();
    if (m_waiting) {
        start(*m_waiting);
        setWaiting(std::nullopt);
    }
    return failure;
}

bool DraftWriter::endsWithinBound() const
{
    std::unique_lock lock(m_shared->mutex);
    return m_shared->changed.wait_until(lock, m_writingBound, [this] { return m_shared->ended == m_started; });
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

bool DraftWriter::waitWithinBounds()
{
    while (m_inFlight) {
        if (!endsWithinBound())
            return false;
        finish(m_started);
    }
    return true;
}

void DraftWriter::writeNow(const Capture& draft)
{
    waitUntilWritten();
    // A failed write may have left either file.
    m_onDisk.reset();
    const DiskWrites::Scope inProgress(DiskWrites::Clock::now() + m_bound(encodedSize(draft)));
    m_shared->write(m_path, draft);
    m_onDisk = draft;
}

} // namespace quillor
