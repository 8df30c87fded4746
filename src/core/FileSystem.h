#pragma once

#include "core/FileSystemError.h"

#include <QByteArray>
#include <QString>

#include <optional>

namespace quillor {

// Thin POSIX helpers for the places where the behaviour depends on errno or on
// calls Qt does not offer (hard links, no-replace renames, fsync of folders).
// Every failure throws FileSystemError with the errno and the path.
namespace FileSystem {

// The whole file; nullopt only when it does not exist (ENOENT), every other
// failure throws.
std::optional<QByteArray> readIfExists(const QString& path);
QByteArray read(const QString& path);

// Whether a write waits for the bytes to reach the disk. Copies that only
// guard against a later failure (backups) can skip it; what the user relies on
// cannot.
enum class Durability { flushed, cached };

// Replaces the file atomically (temporary file, rename): readers see the old or
// the new content, never a part. Flushed, it also fsyncs the file and the
// folder. Missing parent folders are not created.
void writeAtomically(const QString& path, const QByteArray& bytes, Durability durability = Durability::flushed);

// Creates a new file with exactly these bytes, flushed to disk; fails with
// EEXIST when something is already there.
void writeExclusive(const QString& path, const QByteArray& bytes);

// mkdir -p; existing folders are fine, a file in the way is ENOTDIR/EEXIST.
void createDirectories(const QString& path);

// link(2): fails with EEXIST rather than overwrite.
void hardLink(const QString& existing, const QString& newPath);
// renameat2(RENAME_NOREPLACE): fails with EEXIST rather than overwrite.
void renameNoReplace(const QString& from, const QString& to);
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
