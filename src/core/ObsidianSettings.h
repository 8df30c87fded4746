#pragma once

#include <QJsonValue>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace quillor {

// What an Obsidian vault's own settings file, ".obsidian/app.json", says about
// attachments. The file belongs to Obsidian: it is only ever read.
namespace ObsidianSettings {

// Far above any real settings file, which holds a few kilobytes; a larger one
// is not read at all.
constexpr qsizetype maximumFileBytes = 1024 * 1024;

// The value of "attachmentFolderPath", of whatever JSON type the file gives
// it; an empty text when the file or the key is missing. Nothing when the file
// cannot be read, is larger than maximumFileBytes or holds no JSON object.
// Destinations are derived again whenever their folders may have changed, so
// a file that has not changed since it was last read (same file, size and
// times) is not read again. Safe to call from any thread.
std::optional<QJsonValue> attachmentFolderPath(const QString& vaultRoot);

} // namespace ObsidianSettings
} // namespace quillor
