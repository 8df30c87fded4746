#pragma once

#include "core/TextRange.h"

#include <QList>
#include <QString>
#include <QStringView>

namespace quillor {

// Lines as the editor counts them: a line ends at LF, CR, CRLF, U+2028 or
// U+2029. (Regular expressions in multi-line mode know a few more breaks; the
// list-movement rules know only LF and CR: each keeps its own set.)
namespace TextLines {

bool isLineBreak(QChar c);

// The range of the line(s) holding the given range, terminator included, as a
// text view's line range does. A position at the very end of a text that ends
// with a break gives the empty last line.
TextRange lineRange(QStringView text, TextRange range);
inline TextRange lineRange(QStringView text, qsizetype position) { return lineRange(text, TextRange{position, 0}); }

// The same range without its terminator.
TextRange lineContentsRange(QStringView text, qsizetype position);

// End of the line holding the position, before its terminator.
qsizetype lineContentsEnd(QStringView text, qsizetype position);

// The breaks regular expressions know in multi-line mode (LF, VT, FF, CR,
// CRLF, NEL, U+2028, U+2029): what hand-written scans that stand in for a
// pattern must use, so they find exactly the lines the pattern would.
bool isPatternLineBreak(QChar c);
// The start of the line after the one holding `position`, or the text's size.
qsizetype nextPatternLineStart(QStringView text, qsizetype position);

} // namespace TextLines

// Stepping by user-perceived characters (grapheme clusters); "unit" in the
// code always means a UTF-16 code unit, "character" a grapheme.
namespace Graphemes {

// The grapheme boundary after / before the position (clamped to the text).
qsizetype next(QStringView text, qsizetype position);
qsizetype previous(QStringView text, qsizetype position);
qsizetype count(QStringView text);
// The first code point of each grapheme, with its range.
struct Grapheme {
    TextRange range;
    char32_t firstCodePoint = 0;
    bool operator==(const Grapheme&) const = default;
};
QList<Grapheme> split(QStringView text);

} // namespace Graphemes
} // namespace quillor
