#pragma once

#include <QString>

namespace quillor {

// A lock file held with flock(2): the kernel releases it when its holder
// ends, whichever way, so a lock left by a killed program is simply taken
// again. Nothing is flushed to disk: the file's text (process id, program
// and host, as Qt's QLockFile writes it) only tells people, and earlier
// versions of the program, who holds it.
class InstanceLock {
public:
    enum class Result {
        acquired,
        heldElsewhere, // another open of the file holds it, here or in another process
        failed,        // the file could not be made or locked
    };

    explicit InstanceLock(QString path);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    Result tryLock();
    // Removes the file, then lets go.
    void unlock();
    bool isLocked() const { return m_descriptor >= 0; }

private:
    QString m_path;
    int m_descriptor = -1;
};

} // namespace quillor
