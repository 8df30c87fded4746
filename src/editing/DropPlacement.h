#pragma once

#include <QString>

namespace quillor {

// Where a drop onto the editor's text goes in, so that it never splits the
// syntax it falls on.
namespace DropPlacement {

// The index itself, or, when it falls inside an image embed "![[…]]", a wiki
// link "[[…]]" or the syntax of code (a backtick run, a fence line with its
// line break), the first boundary after that construct. An embed inside code
// would be code rather than an image: for images the whole of a code span or
// block counts.
qsizetype insertionIndex(const QString& text, qsizetype index, bool images);

} // namespace DropPlacement
} // namespace quillor
