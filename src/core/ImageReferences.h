#pragma once

#include "core/Capture.h"
#include "core/ImageReference.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace quillor {

// Chooses where an attachment's file goes in a vault. Reads, never writes.
namespace ImageReferences {

// "png", "jpg", "jpeg", "gif", "webp", "heic", "tiff"
QStringList imageExtensions();

// The first free candidate (or one already holding identical bytes): the
// preferred path or <folder>/<ID>.<ext>, then <folder>/<ID>-<hash>.<ext>, then
// <folder>/<ID>-<hash>-N.<ext>. Throws CaptureError::invalidAttachment() for
// an unusable attachment and passes on SafePath's error.
ImageReference resolve(const CaptureAttachment& attachment, const QString& root, const QString& folder,
                       const std::optional<QString>& preferred);

} // namespace ImageReferences
} // namespace quillor
