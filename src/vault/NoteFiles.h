#pragma once

#include "core/Capture.h"

#include <QString>
#include <QStringList>

namespace quillor {

// Markdown notes inside a notes folder, read but never written.
namespace NoteFiles {

// A capture rebuilt from a note, and the embed targets that could not become
// attachments (in text order, once per failing embed).
struct Recovery {
    Capture capture;
    QStringList unavailable;

    bool operator==(const Recovery&) const = default;
};

// The whole note as text. Throws FileSystemError when it cannot be inspected or
// read, CaptureError::invalidPath() when it is not a regular file and
// CaptureError::invalidUTF8() for bytes that are not UTF-8 (nothing is
// repaired).
QString read(const QString& file);

// The note's path inside the root ("Projets/Idées.md"), links resolved on both
// sides. Throws CaptureError::invalidPath() for a note outside the root, the
// root itself, or a path the safe-path rules refuse (hidden parts, links).
QString relativePath(const QString& file, const QString& root);

// A new capture whose body is the whole note, with each image embed that names
// a readable image inside the root (within the byte limits: `imageLimit` per
// image, `totalLimit` for all) turned into an attachment and its embed into
// "![[Attachments/Quillor/<ID>.<ext>]]". Embeds in code stay as they are. Throws
// only for the note itself (as relativePath and read do).
Recovery recover(const QString& file, const QString& root, qint64 imageLimit, qint64 totalLimit);

} // namespace NoteFiles
} // namespace quillor
