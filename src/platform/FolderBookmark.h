#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace quillor {

// A remembered folder: its absolute path together with the identity (device
// and inode) it had when the user chose it, kept as bytes in the settings
// file. The identity tells a folder that is still there from another folder
// that has taken its place, and lets a renamed folder be found again beside
// its old name.
namespace FolderBookmark {

struct Resolution {
    QString path;
    // The bytes no longer describe the folder at `path` (it was replaced or
    // moved): make a new bookmark of `path` and store it instead.
    bool isStale = false;

    bool operator==(const Resolution&) const = default;
};

// The bookmark of a folder, its path made absolute (not following symbolic
// links, so the path the user chose is the path given back). Throws
// FileSystemError when the folder cannot be inspected or is not a folder.
QByteArray create(const QString& path);

// The folder the bytes lead to:
// - the stored path, not stale, when the same folder is still there;
// - the stored path, stale, when that path now holds another folder;
// - the folder's new path, stale, when it was renamed within its parent;
// nullopt for bytes that are not a bookmark of ours, or when the folder is gone.
std::optional<Resolution> resolve(const QByteArray& bytes);

// Whether the folder can be read and entered by this process. Linux grants
// access per user, not per process, so there is nothing to open or close:
// stopAccess only mirrors startAccess for callers that pair them.
bool startAccess(const QString& path);
void stopAccess(const QString& path);

} // namespace FolderBookmark
} // namespace quillor
