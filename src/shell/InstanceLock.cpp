#include "shell/InstanceLock.h"

#include <QByteArray>
#include <QFile>
#include <QSysInfo>

#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillor {

namespace {

// What QLockFile writes: an earlier version, which used it, reads a live
// holder from these lines and does not take its lock as stale.
QByteArray holderText()
{
    char executable[PATH_MAX] = {};
    const ssize_t length = ::readlink("/proc/self/exe", executable, sizeof executable - 1);
    QByteArray name = length > 0 ? QByteArray(executable, length) : QByteArray();
    name = name.mid(name.lastIndexOf('/') + 1);
    return QByteArray::number(qint64(::getpid())) + '\n' + name + '\n' + QSysInfo::machineHostName().toUtf8() + '\n';
}

bool sameFile(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

} // namespace

InstanceLock::InstanceLock(QString path) : m_path(std::move(path)) {}

InstanceLock::~InstanceLock()
{
    unlock();
}

InstanceLock::Result InstanceLock::tryLock()
{
    if (isLocked())
        return Result::acquired;
    const QByteArray path = QFile::encodeName(m_path);
    // A holder removes the file as it lets go: a lock taken on a file that
    // has just left its name guards nothing, and the name is opened again.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const int descriptor = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0644);
        if (descriptor < 0)
            return Result::failed;
        if (::flock(descriptor, LOCK_EX | LOCK_NB) != 0) {
            const int error = errno;
            ::close(descriptor);
            return error == EWOULDBLOCK ? Result::heldElsewhere : Result::failed;
        }
        struct stat opened {}, named {};
        if (::fstat(descriptor, &opened) != 0 || ::stat(path.constData(), &named) != 0 || !sameFile(opened, named)) {
            ::close(descriptor);
            continue;
        }
        const QByteArray text = holderText();
        if (::ftruncate(descriptor, 0) == 0)
            (void)!::pwrite(descriptor, text.constData(), size_t(text.size()), 0);
        m_descriptor = descriptor;
        return Result::acquired;
    }
    return Result::failed;
}

void InstanceLock::unlock()
{
    if (!isLocked())
        return;
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_descriptor);
    m_descriptor = -1;
}

} // namespace quillor
