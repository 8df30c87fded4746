#include "platform/PathWatcher.h"

#include <QFile>
#include <QMutexLocker>
#include <QSocketNotifier>
#include <QThread>
#include <QTimer>

#include <sys/inotify.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <string_view>

namespace quillor {

namespace {

// What changes what a folder holds or what it is; for a file, its content too.
constexpr uint32_t folderEvents = IN_ATTRIB | IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO | IN_DELETE_SELF
    | IN_MOVE_SELF;
constexpr uint32_t fileEvents = IN_ATTRIB | IN_MODIFY | IN_DELETE_SELF | IN_MOVE_SELF;
// What happens to the watched folder or file itself (the last: its watch is gone).
constexpr uint32_t ownEvents = IN_DELETE_SELF | IN_MOVE_SELF | IN_UNMOUNT | IN_IGNORED;
// Between two reads: short beside the owner's own wait before it looks, and
// the system's queue (16384 events by default) fills only past 800,000 events
// a second.
constexpr std::chrono::milliseconds readingPause{20};

} // namespace

PathWatcher::PathWatcher(QObject* parent) : QObject(parent)
{
    m_descriptor = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    // Without a descriptor every watch fails, and the owner looks for itself.
    if (m_descriptor < 0)
        return;
    m_thread = new QThread(this);
    m_thread->setObjectName(QStringLiteral("PathWatcher"));
    m_reader = new QObject;
    m_reader->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_reader, &QObject::deleteLater);
    m_thread->start();
    QMetaObject::invokeMethod(m_reader, [this] {
        auto* notifier = new QSocketNotifier(m_descriptor, QSocketNotifier::Read, m_reader);
        connect(notifier, &QSocketNotifier::activated, m_reader, [this, notifier] {
            // A busy folder would otherwise wake the thread at each event:
            // what comes meanwhile waits in the system's queue, read at once.
            notifier->setEnabled(false);
            readEvents();
            QTimer::singleShot(readingPause, notifier, [notifier] { notifier->setEnabled(true); });
        });
    });
}

PathWatcher::~PathWatcher()
{
    if (m_descriptor < 0)
        return;
    m_thread->quit();
    m_thread->wait();
    ::close(m_descriptor);
}

bool PathWatcher::watch(const QString& path, const QStringList& names)
{
    if (m_descriptor < 0 || path.isEmpty())
        return false;
    const QByteArray encoded = QFile::encodeName(path);
    int descriptor = inotify_add_watch(m_descriptor, encoded.constData(), folderEvents | IN_ONLYDIR);
    if (descriptor < 0 && errno == ENOTDIR)
        descriptor = inotify_add_watch(m_descriptor, encoded.constData(), fileEvents);
    if (descriptor < 0)
        return false;
    Entry entry{path, {}};
    for (const QString& name : names)
        entry.names.append(QFile::encodeName(name));

    const QMutexLocker lock(&m_mutex);
    if (const auto old = m_descriptors.constFind(path); old != m_descriptors.cend() && *old != descriptor) {
        const int previous = *old;
        QList<Entry>& entries = m_entries[previous];
        entries.removeIf([&](const Entry& each) { return each.path == path; });
        if (entries.isEmpty()) {
            m_entries.remove(previous);
            inotify_rm_watch(m_descriptor, previous);
        }
    }
    QList<Entry>& entries = m_entries[descriptor];
    entries.removeIf([&](const Entry& each) { return each.path == path; });
    entries.append(entry);
    m_descriptors.insert(path, descriptor);
    return true;
}

void PathWatcher::release(const QString& path)
{
    const QMutexLocker lock(&m_mutex);
    const auto found = m_descriptors.constFind(path);
    if (found == m_descriptors.cend())
        return;
    const int descriptor = *found;
    m_descriptors.erase(found);
    QList<Entry>& entries = m_entries[descriptor];
    entries.removeIf([&](const Entry& each) { return each.path == path; });
    if (entries.isEmpty()) {
        m_entries.remove(descriptor);
        inotify_rm_watch(m_descriptor, descriptor);
    }
}

QStringList PathWatcher::paths() const
{
    const QMutexLocker lock(&m_mutex);
    return m_descriptors.keys();
}

bool PathWatcher::takeChange()
{
    return m_changed.exchange(false);
}

void PathWatcher::readEvents()
{
    alignas(inotify_event) char buffer[16 * 1024];
    bool matters = false;
    for (;;) {
        const ssize_t length = ::read(m_descriptor, buffer, sizeof buffer);
        if (length < 0 && errno == EINTR)
            continue;
        if (length <= 0)
            break;
        const QMutexLocker lock(&m_mutex);
        for (const char* at = buffer; at < buffer + length;) {
            inotify_event event;
            std::memcpy(&event, at, sizeof event);
            const std::string_view name(at + sizeof event, event.len ? ::strnlen(at + sizeof event, event.len) : 0);
            at += sizeof event + event.len;
            // Lost events may have mattered.
            if (event.mask & IN_Q_OVERFLOW) {
                matters = true;
                continue;
            }
            const auto found = m_entries.constFind(event.wd);
            // A watch let go of meanwhile.
            if (found == m_entries.cend())
                continue;
            const bool named = std::any_of(found->cbegin(), found->cend(), [&](const Entry& entry) {
                return entry.names.isEmpty()
                    || std::any_of(entry.names.cbegin(), entry.names.cend(), [&](const QByteArray& wanted) {
                           return !name.empty() && std::string_view(wanted.constData(), wanted.size()) == name;
                       });
            });
            if (named || (event.mask & ownEvents) != 0)
                matters = true;
            if (event.mask & IN_IGNORED) {
                for (const Entry& entry : *found)
                    m_descriptors.remove(entry.path);
                m_entries.erase(found);
            }
        }
    }
    if (matters)
        noteChange();
}

void PathWatcher::noteChange()
{
    if (!m_changed.exchange(true))
        QMetaObject::invokeMethod(this, [this] { Q_EMIT changed(); }, Qt::QueuedConnection);
}

} // namespace quillor
