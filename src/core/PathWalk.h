#pragma once

#include <QList>
#include <QString>

namespace quillor {

// Looks at the entries a relative path names below a folder one name at a
// time, each from a descriptor of the folder reached so far. Asking the system
// about every prefix as a whole path instead costs time quadratic in the depth
// (realpath walks each prefix again), which a deep folder tree turns into
// minutes.
namespace PathWalk {

enum class Entry { directory, symbolicLink, other, missing };

// One entry for each "/"-separated part of `relative` (empty parts skipped),
// in order. Below a part that is not a directory every part counts as
// missing: nothing can be reached there without following a link. Never
// follows a symbolic link and never throws; a part that cannot be looked at
// counts as missing.
QList<Entry> entries(const QString& folder, const QString& relative);

} // namespace PathWalk
} // namespace quillor
