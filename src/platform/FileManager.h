#pragma once

#include <QString>

namespace quillor {

// The desktop's file manager and default applications. Refusals are not
// reported: the user sees nothing open, as with any launcher.
namespace FileManager {

// Shows the file selected in the file manager (freedesktop FileManager1);
// without one on the session bus, opens the folder that holds it.
void reveal(const QString& path);
// Opens a file or folder in its default application.
void open(const QString& path);

} // namespace FileManager
} // namespace quillor
