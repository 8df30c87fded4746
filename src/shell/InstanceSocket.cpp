#include "shell/InstanceSocket.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace quillor::InstanceSocket {

namespace {

constexpr int backlog = 16;

std::optional<sockaddr_un> addressOf(const QByteArray& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (path.isEmpty() || size_t(path.size()) >= sizeof address.sun_path)
        return std::nullopt;
    std::memcpy(address.sun_path, path.constData(), size_t(path.size()));
    return address;
}

int newSocket()
{
    return ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
}

// A folder that only its owner, this user, may enter: the runtime folder.
bool isPrivateFolder(const QByteArray& folder)
{
    struct stat info {};
    return ::stat(folder.constData(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == ::getuid()
        && (info.st_mode & (S_IRWXG | S_IRWXO)) == 0;
}

bool listenAt(int descriptor, const QByteArray& path)
{
    const std::optional<sockaddr_un> address = addressOf(path);
    return address && ::bind(descriptor, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) == 0
        && ::listen(descriptor, backlog) == 0;
}

// A private folder already keeps everyone else from the socket: it is made
// in place, then given its mode.
bool listenInPlace(int descriptor, const QByteArray& path)
{
    if (!listenAt(descriptor, path)) {
        if (errno != EADDRINUSE)
            return false;
        ::unlink(path.constData());
        if (!listenAt(descriptor, path))
            return false;
    }
    ::chmod(path.constData(), S_IRWXU);
    return true;
}

// In a shared folder another user could connect between the bind and the
// chmod: the socket is made in a folder of our own, given its mode there and
// only then moved to its name, which it replaces when a dead program left it.
bool listenThroughPrivateFolder(int descriptor, const QByteArray& path, const QByteArray& folder)
{
    QByteArray staging = folder + "/.quillor-XXXXXX";
    if (!::mkdtemp(staging.data()))
        return false;
    const QByteArray staged = staging + "/s";
    const bool placed = listenAt(descriptor, staged) && ::chmod(staged.constData(), S_IRWXU) == 0
        && ::rename(staged.constData(), path.constData()) == 0;
    if (!placed)
        ::unlink(staged.constData());
    ::rmdir(staging.constData());
    return placed;
}

bool waitFor(int descriptor, short events, const QDeadlineTimer& deadline)
{
    pollfd entry{descriptor, events, 0};
    for (;;) {
        const int ready = ::poll(&entry, 1, int(deadline.remainingTime()));
        if (ready > 0)
            return (entry.revents & events) != 0;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

bool connectTo(int descriptor, const sockaddr_un& address, const QDeadlineTimer& deadline)
{
    if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0)
        return true;
    // A full backlog (EAGAIN) fails at once: the caller tries again later.
    if (errno != EINPROGRESS && errno != EINTR)
        return false;
    int error = 0;
    socklen_t length = sizeof error;
    return waitFor(descriptor, POLLOUT, deadline)
        && ::getsockopt(descriptor, SOL_SOCKET, SO_ERROR, &error, &length) == 0 && error == 0;
}

bool writeAll(int descriptor, QByteArrayView bytes, const QDeadlineTimer& deadline)
{
    while (!bytes.isEmpty()) {
        const ssize_t written = ::send(descriptor, bytes.data(), size_t(bytes.size()), MSG_NOSIGNAL);
        if (written > 0)
            bytes = bytes.sliced(written);
        else if (written < 0 && errno == EINTR)
            continue;
        else if (written < 0 && (errno == EAGAIN || errno == EWOULDBLOCK) && waitFor(descriptor, POLLOUT, deadline))
            continue;
        else
            return false;
    }
    return true;
}

} // namespace

QString pathOf(const QString& name)
{
    return QDir::isAbsolutePath(name) ? name : QDir(QDir::tempPath()).filePath(name);
}

int listen(const QString& path)
{
    const int descriptor = newSocket();
    if (descriptor < 0)
        return -1;
    const QByteArray encoded = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const bool listening = isPrivateFolder(folder) ? listenInPlace(descriptor, encoded)
                                                   : listenThroughPrivateFolder(descriptor, encoded, folder);
    if (listening)
        return descriptor;
    ::close(descriptor);
    return -1;
}

bool send(const QString& path, const QByteArray& message, std::chrono::milliseconds timeout)
{
    const std::optional<sockaddr_un> address = addressOf(QFile::encodeName(path));
    if (!address)
        return false;
    const int descriptor = newSocket();
    if (descriptor < 0)
        return false;
    const bool sent =
        connectTo(descriptor, *address, QDeadlineTimer(timeout)) && writeAll(descriptor, message, QDeadlineTimer(timeout));
    ::close(descriptor);
    return sent;
}

} // namespace quillor::InstanceSocket
