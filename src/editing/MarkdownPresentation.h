#pragma once

#include "core/TextRange.h"
#include "editing/CodeSyntax.h"
#include "editing/MarkdownStyle.h"

#include <QList>
#include <QString>

namespace quillor {

struct MarkdownAnalysis;

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
// The same with the text's code ranges (EditorSyntax::codeRanges) already known.
QList<MarkdownStyle> styles(const QString& text, const QList<TextRange>& codeRanges);

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
// The same from the text's analysis, which already did every pass over the
// text: only the selections remain to be looked at.
QList<TextRange> concealedRanges(const QString& text, const MarkdownAnalysis& analysis,
                                 const QList<TextRange>& selections);
// Only what the constructs standing in `window` hide: the window is whole
// lines and holds the whole of every code span it meets, so that it holds
// all they hide, and a keystroke looks at its own lines only.
QList<TextRange> concealedRangesWithin(const QString& text, const MarkdownAnalysis& analysis,
                                       const QList<TextRange>& selections, TextRange window);

// styles(text, codeRanges) with one list per rule (headings, the six
// emphasis rows, strike-through, highlight, tags, image embeds), each in text
// order; styles() is their concatenation.
constexpr qsizetype styleRuleCount = 11;
QList<QList<MarkdownStyle>> stylesByRule(const QString& text, const QList<TextRange>& codeRanges);
// Lists of lists, such as the styles of each rule, read as one list in order.
template <typename T>
QList<T> joined(const QList<QList<T>>& lists)
{
    qsizetype size = 0;
    for (const QList<T>& list : lists)
        size += list.size();
    QList<T> all;
    all.reserve(size);
    for (const QList<T>& list : lists)
        all.append(list);
    return all;
}

// Syntax that a construct hides while no selection touches the construct (in
// the sense of isActive): code delimiters, heading, emphasis, strike and
// highlight markers, and link scaffolding. Whether a selection touches it is
// all that is left to decide once the text is known.
struct ConcealableSyntax {
    TextRange construct;
    TextRange hidden;

    bool operator==(const ConcealableSyntax&) const = default;
};

// All but the code's delimiters, given the text's code ranges, styles by rule
// and links (as EditorSyntax::linkRanges gives them): one list per style
// rule, then wiki links, then Markdown links, each in text order. With the
// delimiters of the code spans no backslash escapes, they are what
// concealedRanges considers.
QList<QList<ConcealableSyntax>> concealableSyntax(const QString& text, const QList<TextRange>& codeRanges,
                                                  const QList<QList<MarkdownStyle>>& stylesByRule,
                                                  const QList<TextRange>& links);

// True when a non-empty selection shares at least one unit with the range, or
// an empty one lies in [start, end] (both ends included).
bool isActive(TextRange range, const QList<TextRange>& selections);

} // namespace MarkdownPresentation
} // namespace quillor
