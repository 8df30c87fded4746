#include "shell/SingleInstance.h"

#include "shell/InstanceLock.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

namespace quillor {

namespace {

const QByteArray reopenRequest = QByteArrayLiteral("reopen\n");
// Nothing but our own request is read; anything longer is not one.
constexpr qsizetype longestRequest = 64;
// A running instance may be between its lock and its listen (start-up or a
// restart's hand-over): the forwarder tries again for this long.
constexpr int forwardPatience = 3000; // ms
constexpr int socketTimeout = 1000;   // ms

QString lockPath(const QString& dataDirectory)
{
    return QDir(dataDirectory).filePath(QStringLiteral(".quillor.lock"));
}

// A folder that only its owner, this user, may enter: the runtime folder.
bool isPrivateFolder(const QString& folder)
{
    struct stat info {};
    return ::stat(QFile::encodeName(folder).constData(), &info) == 0 && S_ISDIR(info.st_mode)
        && info.st_uid == ::getuid() && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
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
    if (m_server && m_server->isListening())
        return true;
    const QString name = serverName(m_dataDirectory);
    const QFileInfo place(name);
    // Qt gives the socket its mode by making it in a temporary folder of its
    // own and moving it out: a folder made and removed, which costs a start
    // as much as the socket itself. A private folder already keeps everyone
    // else from the socket: it is made in place, then given the same mode.
    const bool inPrivateFolder = place.isAbsolute() && isPrivateFolder(place.path());
    if (!m_server) {
        m_server = new QLocalServer(this);
        connect(m_server, &QLocalServer::newConnection, this, [this] {
            while (QLocalSocket* socket = m_server->nextPendingConnection()) {
                connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
                connect(socket, &QLocalSocket::readyRead, this, [this, socket] { readRequest(socket); });
                readRequest(socket);
            }
        });
    }
    m_server->setSocketOptions(inPrivateFolder ? QLocalServer::NoOptions : QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file left behind belongs to a program
    // that died without closing it.
    bool listening = m_server->listen(name);
    if (!listening) {
        QLocalServer::removeServer(name);
        listening = m_server->listen(name);
    }
    if (listening && inPrivateFolder)
        ::chmod(QFile::encodeName(name).constData(), S_IRWXU);
    return listening;
}

bool SingleInstance::forward()
{
    const QDeadlineTimer deadline(forwardPatience);
    const QString name = serverName(m_dataDirectory);
    do {
        QLocalSocket socket;
        socket.connectToServer(name);
        if (socket.waitForConnected(socketTimeout)) {
            socket.write(reopenRequest);
            const bool written = socket.waitForBytesWritten(socketTimeout);
            socket.disconnectFromServer();
            if (written)
                return true;
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

void SingleInstance::readRequest(QLocalSocket* socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > longestRequest)
            socket->abort();
        return;
    }
    const QByteArray line = socket->readLine(longestRequest);
    socket->disconnectFromServer();
    if (line == reopenRequest)
        Q_EMIT reopenRequested();
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
