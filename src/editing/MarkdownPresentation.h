#pragma once

#include "core/TextRange.h"
#include "editing/MarkdownStyle.h"

#include <QList>
#include <QString>

namespace quillor {

// The live preview of the editor: which inline styles a text has, and which of
// its syntax characters are hidden while the selection is elsewhere. Every
// position is a UTF-16 unit of the whole text. Nothing inside code is styled.
// All work is linear in the text's length, also on one long line full of
// unclosed markers, because it runs on every keystroke and in the vault scan.
namespace MarkdownPresentation {

// Headings, then bold-italic, bold and italic (one pass per marker kind, so one
// stretch may carry several styles), strike-through, highlight, tags (outside
// links) and image embeds, in that order; within one kind, in text order.
QList<MarkdownStyle> styles(const QString& text);

// Only the tag styles of styles(text), in the same order, without the cost of
// the other kinds. The vault index finds the same tags with a faster scanner
// of its own (NoteTags), tested against this one.
QList<MarkdownStyle> tagStyles(const QString& text);

// The character classes of the tag rule, as the pattern engine defines them,
// for scanners that must find exactly the tags tagStyles finds: the white
// space a tag follows, and the letters, numbers and "_" a tag name starts
// with (its later characters may also be "/" and "-").
bool isPatternWhiteSpace(char32_t c);
bool isTagNameStart(char32_t c);

// The syntax characters to hide for the given selections: code delimiters,
// heading and emphasis markers, link syntax, quote prefixes and task boxes of
// every construct that no selection touches. Sorted by location, none empty;
// ranges may overlap.
QList<TextRange> concealedRanges(const QString& text, const QList<TextRange>& selections);

// True when a non-empty selection shares at least one unit with the range, or
// an empty one lies in [start, end] (both ends included).
bool isActive(TextRange range, const QList<TextRange>& selections);

} // namespace MarkdownPresentation
} // namespace quillor
