#include "shell/SingleInstance.h"

#include "shell/InstanceLock.h"
#include "shell/InstanceServer.h"
#include "shell/InstanceSocket.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QThread>

#include <unistd.h>

namespace quillor {

namespace {

const QByteArray reopenRequest = QByteArrayLiteral("reopen\n");
// A running instance may be between its lock and its listen (start-up or a
// restart's hand-over): the forwarder tries again for this long.
constexpr int forwardPatience = 3000; // ms
constexpr std::chrono::milliseconds socketTimeout{1000};

QString lockPath(const QString& dataDirectory)
{
    return QDir(dataDirectory).filePath(QStringLiteral(".quillor.lock"));
}

} // namespace

SingleInstance::SingleInstance(const QString& dataDirectory, QObject* parent)
    : QObject(parent), m_dataDirectory(dataDirectory), m_lock(std::make_unique<InstanceLock>(lockPath(dataDirectory)))
{
}

SingleInstance::~SingleInstance()
{
    release();
}

QString SingleInstance::serverName(const QString& dataDirectory)
{
    const QString folder = QFileInfo(dataDirectory).absoluteFilePath();
    const QByteArray digest = QCryptographicHash::hash(QDir::cleanPath(folder).toUtf8(), QCryptographicHash::Sha256);
    const QString name =
        QStringLiteral("quillor-%1-%2").arg(getuid()).arg(QString::fromLatin1(digest.toHex().left(16)));
    // The user's runtime folder is private to them; the shared temporary
    // folder is what is left without one.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && QFileInfo(runtime).isDir())
        return QDir(runtime).filePath(name);
    return name;
}

SingleInstance::Outcome SingleInstance::acquire()
{
    const InstanceLock::Result locked = m_lock->tryLock();
    if (locked == InstanceLock::Result::acquired) {
        // Without the socket a later launch cannot reach us, but the lock
        // still keeps it from running beside us.
        if (!listen())
            qWarning("Quillor: could not listen on %s", qUtf8Printable(serverName(m_dataDirectory)));
        return Outcome::primary;
    }
    if (locked == InstanceLock::Result::failed)
        return Outcome::unguarded;
    return forward() ? Outcome::forwarded : Outcome::unanswered;
}

bool SingleInstance::listen()
{
    if (!m_server) {
        m_server = new InstanceServer(this);
        connect(m_server, &InstanceServer::lineReceived, this, [this](const QByteArray& line) {
            if (line == reopenRequest)
                Q_EMIT reopenRequested();
        });
    }
    return m_server->listen(InstanceSocket::pathOf(serverName(m_dataDirectory)));
}

bool SingleInstance::forward()
{
    const QDeadlineTimer deadline(forwardPatience);
    const QString path = InstanceSocket::pathOf(serverName(m_dataDirectory));
    do {
        if (InstanceSocket::send(path, reopenRequest, socketTimeout))
            return true;
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

void SingleInstance::release()
{
    if (m_server)
        m_server->close();
    m_lock->unlock();
}

bool SingleInstance::retake()
{
    return m_lock->tryLock() == InstanceLock::Result::acquired && listen();
}

bool SingleInstance::holdsLock() const
{
    return m_lock->isLocked();
}

} // namespace quillor
