#pragma once

#include <QString>

namespace quillor {

// Every vault-relative path the program takes from settings, notes or its own
// naming goes through here before it is used inside a vault. Both functions
// throw CaptureError::invalidPath() and nothing else; they read the file system
// and never write to it.
namespace SafePath {

// Refuses, in order: a leading "/" or "~", a backslash, NUL, a path longer
// than the system allows, and any "/"-separated part that is "..", starts with
// "." or is a longer name than the system allows. The empty path (the root
// itself), empty parts and a trailing "/" are accepted. Takes time linear in
// the length of the path.
void validate(const QString& relative);

// The absolute location of `relative` inside `root`: links in the root itself
// are resolved, any symbolic link among the relative components is refused,
// components that do not exist yet are allowed, and the result must stay in
// the resolved root and be no longer than the system allows. Takes time
// linear in the length of the relative path.
QString resolve(const QString& root, const QString& relative);

} // namespace SafePath
} // namespace quillor
