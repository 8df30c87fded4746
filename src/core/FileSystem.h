#pragma once

#include "core/FileSystemError.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace quillor {

// Thin POSIX helpers for the places where the behaviour depends on errno or on
// calls Qt does not offer (hard links, no-replace renames, fsync of folders).
// Every failure throws FileSystemError with the errno and the path.
namespace FileSystem {

// The whole file; nullopt only when it does not exist (ENOENT), every other
// failure throws: anything but a regular file, and a file longer than
// `maximumSize` when one is given (EFBIG, with no more of it read).
std::optional<QByteArray> readIfExists(const QString& path, std::optional<qsizetype> maximumSize = std::nullopt);
QByteArray read(const QString& path);

// Which file a path names, as lstat sees it, and how many names that file has.
struct FileIdentity {
    quint64 device = 0;
    quint64 inode = 0;
    quint64 linkCount = 0;

    bool isSameFile(const FileIdentity& other) const { return device == other.device && inode == other.inode; }
    friend bool operator==(const FileIdentity&, const FileIdentity&) = default;
};
// nullopt when nothing is there; never follows a final symbolic link.
std::optional<FileIdentity> identify(const QString& path);

// Whether the file holds exactly `bytes`, compared piece by piece so a large
// file is never held in memory twice. nullopt only when it does not exist;
// other failures throw as readIfExists does. `compared`, when given, receives
// the identity of the file actually read (its final link followed).
std::optional<bool> holdsExactly(const QString& path, QByteArrayView bytes, FileIdentity* compared = nullptr);

// Folders whose entries changed (a new link, a rename, a new subfolder) and
// still have to reach the disk. A writer that changes many entries collects
// the folders here and flushes each one once, instead of once per change.
class FolderSyncs {
public:
    // A folder changed again moves to the end: folders are flushed in the
    // order of their last change, so a note's folder, changed after its
    // images' folder, is flushed after it.
    void add(const QString& folder);
    // Flushes every folder collected, then forgets them; throws on the first
    // failure.
    void syncAll();
    const QStringList& folders() const { return m_folders; }

private:
    QStringList m_folders;
};

// Whether a write waits for the bytes to reach the disk. Copies that only
// guard against a later failure (backups) can skip it; what the user relies on
// cannot.
enum class Durability { flushed, cached };

// Replaces the file atomically (temporary file, rename): readers see the old or
// the new content, never a part. Flushed, it also fsyncs the file and the
// folder; given `deferred`, the folder is added there instead, for the caller
// to flush. Missing parent folders are not created.
void writeAtomically(const QString& path, const QByteArray& bytes, Durability durability = Durability::flushed,
                     FolderSyncs* deferred = nullptr);
// The same with the content given in parts, written one after the other, so
// a caller need not join a large file's bytes into one more copy.
void writeAtomically(const QString& path, const QList<QByteArrayView>& parts,
                     Durability durability = Durability::flushed, FolderSyncs* deferred = nullptr);
// The same, flushed, except that a symbolic link at `path` is itself replaced
// by the new file, never written through: for stores that must write only
// inside their own folders.
void writeAtomicallyNoFollow(const QString& path, const QByteArray& bytes);

// Creates a new file with exactly these bytes, flushed to disk; fails with
// EEXIST when something is already there.
void writeExclusive(const QString& path, const QByteArray& bytes);

// mkdir -p; existing folders are fine, a file in the way is ENOTDIR/EEXIST.
// The new folders' entries are not flushed, unless `created` is given: the
// parent of every folder made is added there, for the caller to flush.
void createDirectories(const QString& path, FolderSyncs* created = nullptr);

// link(2): fails with EEXIST rather than overwrite. The new entry's folder is
// flushed, or added to `deferred` when given.
void hardLink(const QString& existing, const QString& newPath, FolderSyncs* deferred = nullptr);
// renameat2(RENAME_NOREPLACE): fails with EEXIST rather than overwrite. Both
// folders are flushed, or added to `deferred` when given.
void renameNoReplace(const QString& from, const QString& to, FolderSyncs* deferred = nullptr);
// Removes a file; a missing file is not an error.
void removeFile(const QString& path);
// Flushes a folder's entries (after a link or rename in it).
void syncDirectory(const QString& path);

// lstat-based tests: never follow a final symbolic link, never throw.
bool exists(const QString& path);
bool isSymbolicLink(const QString& path);
// stat-based tests (follow links), never throw.
bool isDirectory(const QString& path);
bool isRegularFile(const QString& path);

// The path with every symbolic link resolved in its longest existing prefix,
// then the remaining (missing) components appended; "." and ".." are removed
// textually first.
QString resolveExistingPrefix(const QString& path);

} // namespace FileSystem
} // namespace quillor
