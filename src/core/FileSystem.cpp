#include "core/FileSystem.h"

#include "core/StaleTemporaryFiles.h"

#include <QDir>
#include <QFile>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <utility>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quillor {
namespace FileSystem {

namespace {

using Operation = FileSystemError::Operation;

[[noreturn]] void fail(Operation operation, const QString& path, int errnoValue)
{
    throw FileSystemError(operation, path, errnoValue);
}

QByteArray native(const QString& path)
{
    return QFile::encodeName(path);
}

QString parentOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    if (slash < 0)
        return QStringLiteral(".");
    if (slash == 0)
        return QStringLiteral("/");
    return path.left(slash);
}

int openRetrying(const QByteArray& path, int flags, mode_t mode = 0)
{
    int fd;
    do {
        fd = ::open(path.constData(), flags, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

// Closes without hiding an earlier error: the caller decides whether the close
// result matters (it does after writing, where NFS reports late errors here).
int closeKeepingErrno(int fd)
{
    const int saved = errno;
    const int result = ::close(fd);
    const int closeErrno = errno;
    errno = result == 0 ? saved : closeErrno;
    return result;
}

class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            closeKeepingErrno(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    // Hands the descriptor over to the caller.
    int release() { return std::exchange(m_fd, -1); }
    // Closes now and reports the result, so a failed close can fail a write.
    int close()
    {
        const int fd = m_fd;
        m_fd = -1;
        return ::close(fd);
    }

private:
    int m_fd;
};

// 0 on success, else the errno of the failing write.
int writeAll(int fd, QByteArrayView bytes)
{
    const char* data = bytes.constData();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, size_t(left));
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        data += written;
        left -= written;
    }
    return 0;
}

int syncRetrying(int fd)
{
    int result;
    do {
        result = ::fsync(fd);
    } while (result != 0 && errno == EINTR);
    return result;
}

// Writes, flushes and closes a freshly created file; on failure the partial
// file is removed so nobody mistakes it for a complete one.
void fillNewFile(int fd, const QString& path, const QList<QByteArrayView>& parts,
                 Durability durability = Durability::flushed)
{
    Descriptor file(fd);
    int error = 0;
    for (const QByteArrayView part : parts) {
        if (error == 0)
            error = writeAll(file.get(), part);
    }
    if (error == 0 && durability == Durability::flushed && syncRetrying(file.get()) != 0)
        error = errno;
    if (error == 0 && file.close() != 0 && errno != EINTR)
        error = errno;
    if (error != 0) {
        ::unlink(native(path).constData());
        fail(Operation::write, path, error);
    }
}

// A final symbolic link is written through, so a settings file kept as a link
// elsewhere stays a link.
QString writeTarget(const QString& path)
{
    return isSymbolicLink(path) ? resolveExistingPrefix(path) : path;
}

// Opens a regular file for reading: -1 when it does not exist, every other
// failure throws. `info` receives its fstat.
int openRegularFile(const QString& path, struct stat& info)
{
    // O_NONBLOCK keeps a FIFO in the way from hanging the caller; it changes
    // nothing for regular files.
    const int fd = openRetrying(native(path), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0) {
        if (errno == ENOENT)
            return -1;
        fail(Operation::read, path, errno);
    }
    Descriptor file(fd);
    if (::fstat(file.get(), &info) != 0)
        fail(Operation::read, path, errno);
    if (S_ISDIR(info.st_mode))
        fail(Operation::read, path, EISDIR);
    if (!S_ISREG(info.st_mode))
        fail(Operation::read, path, EINVAL);
    return file.release();
}

// Reads up to `size` bytes, fewer only at the end of the file.
qsizetype readFully(int fd, const QString& path, char* data, qsizetype size)
{
    qsizetype filled = 0;
    while (filled < size) {
        const ssize_t got = ::read(fd, data + filled, size_t(size - filled));
        if (got < 0) {
            if (errno == EINTR)
                continue;
            fail(Operation::read, path, errno);
        }
        if (got == 0)
            break;
        filled += got;
    }
    return filled;
}

FileIdentity identityOf(const struct stat& info)
{
    return FileIdentity{quint64(info.st_dev), quint64(info.st_ino), quint64(info.st_nlink)};
}

} // namespace

std::optional<QByteArray> readIfExists(const QString& path, std::optional<qsizetype> maximumSize)
{
    struct stat info {};
    const int fd = openRegularFile(path, info);
    if (fd < 0)
        return std::nullopt;
    Descriptor file(fd);
    const qsizetype limit = maximumSize.value_or(std::numeric_limits<qsizetype>::max() - 1);
    if (qint64(info.st_size) > qint64(limit))
        fail(Operation::read, path, EFBIG);

    // Read straight into the result; one byte more than the size lets a file
    // that grew since fstat be noticed and read to its end, or to one byte
    // past the limit.
    QByteArray bytes(qsizetype(info.st_size) + 1, Qt::Uninitialized);
    qsizetype filled = 0;
    for (;;) {
        const qsizetype got = readFully(file.get(), path, bytes.data() + filled, bytes.size() - filled);
        filled += got;
        if (filled > limit)
            fail(Operation::read, path, EFBIG);
        if (filled < bytes.size())
            break;
        bytes.resize(std::min(bytes.size() + std::max<qsizetype>(64 * 1024, bytes.size() / 2), limit + 1));
    }
    bytes.truncate(filled);
    return bytes;
}

std::optional<bool> holdsExactly(const QString& path, QByteArrayView bytes, FileIdentity* compared)
{
    struct stat info {};
    const int fd = openRegularFile(path, info);
    if (fd < 0)
        return std::nullopt;
    Descriptor file(fd);
    if (compared)
        *compared = identityOf(info);
    if (qint64(info.st_size) != qint64(bytes.size()))
        return false;

    char buffer[64 * 1024];
    qsizetype offset = 0;
    for (;;) {
        // Reading past the expected end tells a file that grew from an equal one.
        const qsizetype wanted =
            std::min<qsizetype>(qsizetype(sizeof buffer), std::max<qsizetype>(bytes.size() - offset, 1));
        const qsizetype got = readFully(file.get(), path, buffer, wanted);
        if (got == 0)
            return offset == bytes.size();
        if (offset + got > bytes.size() || std::memcmp(buffer, bytes.data() + offset, size_t(got)) != 0)
            return false;
        offset += got;
    }
}

std::optional<FileIdentity> identify(const QString& path)
{
    struct stat info {};
    if (::lstat(native(path).constData(), &info) != 0)
        return std::nullopt;
    return identityOf(info);
}

void FolderSyncs::add(const QString& folder)
{
    m_folders.removeOne(folder);
    m_folders.append(folder);
}

void FolderSyncs::syncAll()
{
    while (!m_folders.isEmpty())
        syncDirectory(m_folders.takeFirst());
}

QByteArray read(const QString& path)
{
    std::optional<QByteArray> bytes = readIfExists(path);
    if (!bytes)
        fail(Operation::read, path, ENOENT);
    return *bytes;
}

namespace {

// Replaces `target` (`path` or where its link leads), reporting failures
// under `path`. Done by hand rather than with QSaveFile: QSaveFile reports
// failures as text without errno, and it does not flush the folder after the
// rename.
void replaceAtomically(const QString& path, const QString& target, const QList<QByteArrayView>& parts,
                       Durability durability, FolderSyncs* deferred)
{
    const QByteArray nativeTarget = native(target);

    // Keep the permissions of the file being replaced, and refuse to replace a
    // file the user made read-only. A link still in place is replaced itself:
    // neither its mode nor its target's counts.
    struct stat existing {};
    const bool replacing = ::lstat(nativeTarget.constData(), &existing) == 0 && !S_ISLNK(existing.st_mode);
    if (replacing) {
        if (S_ISDIR(existing.st_mode))
            fail(Operation::write, path, EISDIR);
        if (::access(nativeTarget.constData(), W_OK) != 0)
            fail(Operation::write, path, errno);
    }

    const QString folder = parentOf(target);
    // A fixed-length name, so a long target name cannot make it too long.
    const QString temporary = folder + QStringLiteral("/.quillor-")
        + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper() + QStringLiteral(".tmp");
    const OwnTemporaryFile own(temporary);
    const int fd = openRetrying(native(temporary), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        fail(Operation::write, path, errno);
    if (replacing && ::fchmod(fd, existing.st_mode & 07777) != 0) {
        const int error = errno;
        closeKeepingErrno(fd);
        ::unlink(native(temporary).constData());
        fail(Operation::write, path, error);
    }
    try {
        fillNewFile(fd, temporary, parts, durability);
    } catch (const FileSystemError& error) {
        fail(Operation::write, path, error.errnoValue());
    }

    if (::rename(native(temporary).constData(), nativeTarget.constData()) != 0) {
        const int error = errno;
        ::unlink(native(temporary).constData());
        fail(Operation::write, path, error);
    }
    if (durability == Durability::cached)
        return;
    if (deferred)
        deferred->add(folder);
    else
        syncDirectory(folder);
}

} // namespace

void writeAtomically(const QString& path, const QByteArray& bytes, Durability durability, FolderSyncs* deferred)
{
    writeAtomically(path, QList<QByteArrayView>{bytes}, durability, deferred);
}

void writeAtomically(const QString& path, const QList<QByteArrayView>& parts, Durability durability,
                     FolderSyncs* deferred)
{
    replaceAtomically(path, writeTarget(path), parts, durability, deferred);
}

void writeAtomicallyNoFollow(const QString& path, const QByteArray& bytes)
{
    replaceAtomically(path, path, {bytes}, Durability::flushed, nullptr);
}

void writeExclusive(const QString& path, const QByteArray& bytes)
{
    const int fd = openRetrying(native(path), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0)
        fail(Operation::create, path, errno);
    fillNewFile(fd, path, {bytes});
}

void createDirectories(const QString& path, FolderSyncs* created)
{
    const QString clean = QDir::cleanPath(path);
    if (clean.isEmpty())
        return;
    // Walk from the top so the error names the first folder that could not be
    // made, not the leaf.
    qsizetype from = clean.startsWith(QLatin1Char('/')) ? 1 : 0;
    for (;;) {
        const qsizetype slash = clean.indexOf(QLatin1Char('/'), from);
        const QString prefix = slash < 0 ? clean : clean.left(slash);
        if (!prefix.isEmpty() && prefix != QLatin1String("/")) {
            const QByteArray nativePrefix = native(prefix);
            struct stat info {};
            if (::stat(nativePrefix.constData(), &info) == 0) {
                if (!S_ISDIR(info.st_mode))
                    fail(Operation::create, prefix, ENOTDIR);
            } else if (errno != ENOENT) {
                fail(Operation::create, prefix, errno);
            } else if (::mkdir(nativePrefix.constData(), 0777) == 0) {
                if (created)
                    created->add(parentOf(prefix));
            } else {
                // Someone else may have made it in between.
                const int error = errno;
                if (error != EEXIST || !isDirectory(prefix))
                    fail(Operation::create, prefix, error == EEXIST ? ENOTDIR : error);
            }
        }
        if (slash < 0)
            return;
        from = slash + 1;
    }
}

void hardLink(const QString& existing, const QString& newPath, FolderSyncs* deferred)
{
    if (::link(native(existing).constData(), native(newPath).constData()) != 0)
        fail(Operation::link, newPath, errno);
    FolderSyncs own;
    FolderSyncs& syncs = deferred ? *deferred : own;
    syncs.add(parentOf(newPath));
    if (!deferred)
        own.syncAll();
}

void renameNoReplace(const QString& from, const QString& to, FolderSyncs* deferred)
{
    if (::renameat2(AT_FDCWD, native(from).constData(), AT_FDCWD, native(to).constData(), RENAME_NOREPLACE) != 0)
        fail(Operation::move, to, errno);
    FolderSyncs own;
    FolderSyncs& syncs = deferred ? *deferred : own;
    syncs.add(parentOf(from));
    syncs.add(parentOf(to));
    if (!deferred)
        own.syncAll();
}

void removeFile(const QString& path)
{
    if (::unlink(native(path).constData()) != 0 && errno != ENOENT)
        fail(Operation::remove, path, errno);
}

void syncDirectory(const QString& path)
{
    const int fd = openRetrying(native(path), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        fail(Operation::write, path, errno);
    Descriptor folder(fd);
    // Some file systems cannot sync a folder and say so with EINVAL; there is
    // nothing more we could do for them.
    if (syncRetrying(folder.get()) != 0 && errno != EINVAL)
        fail(Operation::write, path, errno);
}

bool exists(const QString& path)
{
    struct stat info {};
    return ::lstat(native(path).constData(), &info) == 0;
}

bool isSymbolicLink(const QString& path)
{
    struct stat info {};
    return ::lstat(native(path).constData(), &info) == 0 && S_ISLNK(info.st_mode);
}

bool isDirectory(const QString& path)
{
    struct stat info {};
    return ::stat(native(path).constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool isRegularFile(const QString& path)
{
    struct stat info {};
    return ::stat(native(path).constData(), &info) == 0 && S_ISREG(info.st_mode);
}

QString resolveExistingPrefix(const QString& path)
{
    if (path.isEmpty())
        return {};
    QString head = QDir::cleanPath(QDir::isAbsolutePath(path) ? path : QDir::current().absoluteFilePath(path));
    QString tail;
    for (;;) {
        if (char* resolved = ::realpath(native(head).constData(), nullptr)) {
            const QString result = QFile::decodeName(resolved);
            std::free(resolved);
            if (tail.isEmpty())
                return result;
            return result.endsWith(QLatin1Char('/')) ? result + tail : result + QLatin1Char('/') + tail;
        }
        // Nothing left to strip: "/" always resolves, so this only guards
        // against an unexpected failure.
        const qsizetype slash = head.lastIndexOf(QLatin1Char('/'));
        if (slash < 0 || head == QLatin1String("/"))
            return QDir::cleanPath(head + QLatin1Char('/') + tail);
        const QString last = head.mid(slash + 1);
        tail = tail.isEmpty() ? last : last + QLatin1Char('/') + tail;
        head = slash == 0 ? QStringLiteral("/") : head.left(slash);
    }
}

} // namespace FileSystem
} // namespace quillor
