#include "shell/InstanceServer.h"

#include "shell/InstanceSocket.h"

#include <QFile>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <sys/socket.h>
#include <unistd.h>

namespace quillor {

namespace {

// Nothing but a short request is read; anything longer is not one.
constexpr qsizetype longestLine = 64;
constexpr int acceptRetryDelay = 100; // ms

} // namespace

struct InstanceServer::Connection {
    Connection(int descriptor, QObject* owner)
        : descriptor(descriptor), notifier(new QSocketNotifier(descriptor, QSocketNotifier::Read, owner))
    {
    }
    ~Connection()
    {
        // Possibly from the notifier's own signal: it goes once that is over,
        // and the descriptor once the notifier no longer watches it.
        notifier->setEnabled(false);
        notifier->deleteLater();
        ::close(descriptor);
    }
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    int descriptor;
    QSocketNotifier* notifier;
    QByteArray received;
};

InstanceServer::InstanceServer(QObject* parent) : QObject(parent) {}

InstanceServer::~InstanceServer()
{
    close();
}

bool InstanceServer::listen(const QString& path)
{
    if (isListening())
        return true;
    m_listener = InstanceSocket::listen(path);
    if (m_listener < 0)
        return false;
    m_path = path;
    m_notifier = new QSocketNotifier(m_listener, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &InstanceServer::acceptPending);
    return true;
}

void InstanceServer::close()
{
    if (!isListening())
        return;
    ::unlink(QFile::encodeName(m_path).constData());
    delete m_notifier;
    m_notifier = nullptr;
    ::close(m_listener);
    m_listener = -1;
}

void InstanceServer::acceptPending()
{
    for (;;) {
        const int descriptor = ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (descriptor < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            // Out of descriptors: the waiting connection keeps the socket
            // readable, and the notifier would fire again at once, spinning
            // the event loop; it waits a moment instead.
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM)
                pauseAccepting();
            return;
        }
        Connection* connection = m_connections.emplace_back(std::make_unique<Connection>(descriptor, this)).get();
        connect(connection->notifier, &QSocketNotifier::activated, this, [this, connection] { read(connection); });
    }
}

void InstanceServer::pauseAccepting()
{
    m_notifier->setEnabled(false);
    QTimer::singleShot(acceptRetryDelay, m_notifier, [notifier = m_notifier] { notifier->setEnabled(true); });
}

void InstanceServer::read(Connection* connection)
{
    char bytes[longestLine + 1];
    const ssize_t count =
        ::read(connection->descriptor, bytes, size_t(longestLine + 1 - connection->received.size()));
    if (count < 0 && (errno == EAGAIN || errno == EWOULDBLOCK || errno == EINTR))
        return;
    if (count > 0)
        connection->received.append(bytes, count);
    const qsizetype end = connection->received.indexOf('\n');
    if (count > 0 && end < 0 && connection->received.size() <= longestLine)
        return;
    // A line, too much text, the peer's end or an error: the connection is
    // done, and closed before anyone hears of its line.
    const QByteArray line = end >= 0 && end < longestLine ? connection->received.left(end + 1) : QByteArray();
    std::erase_if(m_connections, [connection](const auto& held) { return held.get() == connection; });
    if (!line.isEmpty())
        Q_EMIT lineReceived(line);
}

} // namespace quillor
