#pragma once

#include <QUrl>

namespace quillor {

// The link of the application's URL scheme that opens a new capture.
namespace QuickCaptureLink {

// "quillor://capture".
QUrl url();

// True for the quick-capture link alone: scheme "quillor" and host "capture"
// in any case, an empty path or "/", and nothing else (no query or fragment,
// even empty, no user, password or port).
bool matches(const QUrl& url);

} // namespace QuickCaptureLink
} // namespace quillor
