#pragma once

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>

class QThread;

namespace quillor {

// Watches folders and files through one inotify descriptor, read on a thread
// of its own: what happens in a busy folder costs the thread that made the
// watcher nothing unless it matters.
//
// A folder may be watched for a few of its entries only (a folder above the
// one that matters: only the next name on the way down does), or for
// everything in it. Its own move, removal or unmounting always matters, and
// so do events the system lost (its queue overflowed).
//
// Watches follow the inode, not the path: a watched folder renamed away keeps
// its watch, which then no longer watches the path. The owner tells this
// apart (FileIdentity) and watches the path again.
//
// Used from the thread that made it; changed() is emitted there.
class PathWatcher : public QObject {
    Q_OBJECT

public:
    explicit PathWatcher(QObject* parent = nullptr);
    ~PathWatcher() override;

    PathWatcher(const PathWatcher&) = delete;
    PathWatcher& operator=(const PathWatcher&) = delete;

    // Watches `path`, a folder or a file, a final link followed. With
    // `names`, only those entries of the folder matter (made, removed,
    // renamed, changed); without, everything in it and of it. False when the
    // path cannot be watched: it does not exist, or the system has no watch
    // left. Watching a path again replaces its names.
    bool watch(const QString& path, const QStringList& names = {});
    void release(const QString& path);
    // The paths watched now. One whose watch the system dropped (the folder
    // removed or unmounted) is no longer listed.
    QStringList paths() const;

    // Whether something that matters happened since the last call. Until it
    // is called, further changes emit nothing more: a burst of them costs
    // one signal.
    bool takeChange();

Q_SIGNALS:
    void changed();

private:
    struct Entry {
        QString path;
        QList<QByteArray> names;   // encoded as the system gives them; empty: every name
    };

    // On the reading thread.
    void readEvents();
    void noteChange();

    int m_descriptor = -1;
    QThread* m_thread = nullptr;   // a child, the one the events are read on
    QObject* m_reader = nullptr;   // lives on m_thread
    std::atomic_bool m_changed{false};
    // Guards the tables below, read by both threads.
    mutable QMutex m_mutex;
    QHash<int, QList<Entry>> m_entries;   // by watch descriptor: several paths may name one folder
    QHash<QString, int> m_descriptors;    // by path
};

} // namespace quillor
