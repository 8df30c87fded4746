#pragma once

#include <QString>

#include <functional>

class QUrl;

namespace quillor {

// The desktop's file manager and default applications. A desktop without
// any handler (no file manager on the session bus, no xdg-open) is reported
// through `failed` with the user's text; a handler that takes the request
// and then shows nothing is beyond our sight, as with any launcher.
namespace FileManager {

using Failure = std::function<void(const QString& message)>;

// Shows the file selected in the file manager (freedesktop FileManager1);
// without one on the session bus, opens the folder that holds it. The answer
// comes later: `failed` may run after this returns.
void reveal(const QString& path, Failure failed = {});
// Opens a file or folder in its default application.
void open(const QString& path, const Failure& failed = {});
// Opens a web address in the default browser.
void openUrl(const QUrl& url, const Failure& failed = {});

} // namespace FileManager
} // namespace quillor
