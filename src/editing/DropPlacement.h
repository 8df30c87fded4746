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

// Where a drop goes in, and whether a space must come before what it brings.
struct Insertion {
    qsizetype index = 0;
    bool spaced = false;
    bool operator==(const Insertion&) const = default;
};

// `insertionIndex`, and never before the route prefix that opens the text
// nor inside the word it starts: the prefix would no longer come first and
// the capture would silently go elsewhere. Such a drop goes after the white
// space that ends the word; after a bare word ending the text, behind a
// space of its own.
Insertion insertion(const QString& text, qsizetype index, bool images, const QString& routePrefix);

} // namespace DropPlacement
} // namespace quillor
