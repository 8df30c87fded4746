#include "core/PathWalk.h"

#include <QFile>
#include <QStringList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillor {
namespace PathWalk {

namespace {

int openFolder(int parent, const QString& name)
{
    int fd;
    do {
        fd = ::openat(parent, QFile::encodeName(name).constData(), O_PATH | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

Entry entryOf(int folder, const QString& name)
{
    struct stat info {};
    if (::fstatat(folder, QFile::encodeName(name).constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return Entry::missing;
    if (S_ISLNK(info.st_mode))
        return Entry::symbolicLink;
    return S_ISDIR(info.st_mode) ? Entry::directory : Entry::other;
}

} // namespace

QList<Entry> entries(const QString& folder, const QString& relative)
{
    const QStringList parts = relative.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    QList<Entry> found;
    found.reserve(parts.size());
    int current = parts.isEmpty() ? -1 : openFolder(AT_FDCWD, folder);
    for (const QString& part : parts) {
        const Entry entry = current < 0 ? Entry::missing : entryOf(current, part);
        found.append(entry);
        const int next = entry == Entry::directory ? openFolder(current, part) : -1;
        if (current >= 0)
            ::close(current);
        current = next;
    }
    if (current >= 0)
        ::close(current);
    return found;
}

} // namespace PathWalk
} // namespace quillor
