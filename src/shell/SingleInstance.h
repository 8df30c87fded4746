#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace quillor {

class InstanceLock;
class InstanceServer;

// Keeps one running program per data directory. The first launch holds a lock
// file in the data directory and listens on a local socket; a later launch
// finds the lock taken, asks the running program to come forward ("reopen")
// and leaves. This is also what a desktop shortcut bound to the program
// relies on where no global hot key can be grabbed.
class SingleInstance : public QObject {
    Q_OBJECT

public:
    enum class Outcome {
        primary,    // this process is the one instance
        forwarded,  // another instance runs and was asked to come forward
        unanswered, // another instance holds the lock but does not answer
        unguarded,  // no lock could be made (an unwritable folder): nothing guards the folder
    };

    // The data directory must exist.
    explicit SingleInstance(const QString& dataDirectory, QObject* parent = nullptr);
    ~SingleInstance() override;

    // Becomes the instance of the data directory, or forwards to it.
    Outcome acquire();

    // The socket name of a data directory: per user, and per folder so that
    // test runs on their own data directories never meet the user's program.
    static QString serverName(const QString& dataDirectory);

    // Hands the directory over to a new process (restart): stops listening
    // and unlocks. retake() undoes it when that process could not start.
    void release();
    bool retake();

    bool holdsLock() const;

Q_SIGNALS:
    // Another launch asked this program to come forward.
    void reopenRequested();

private:
    bool listen();
    bool forward();

    QString m_dataDirectory;
    std::unique_ptr<InstanceLock> m_lock;
    InstanceServer* m_server = nullptr;
};

} // namespace quillor
