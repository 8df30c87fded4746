#include "editing/QuoteSyntax.h"

#include "core/RangeIndex.h"
#include "core/TextLines.h"
#include "editing/EditorSyntax.h"

#include <algorithm>

namespace quillor {

namespace {

// A quote prefix is
//   (?m)^ {0,3}(?:>[\t ]?)+
// scanned by hand: through the regex engine each match costs more than a
// microsecond, too much for a long quote re-read on every keystroke. No part
// of the expression can give back what it took (a space cannot be a ">"), so
// a greedy scan at each line start gives the same matches. Its lines end where
// the expression's multi-line anchors say.
struct Prefix {
    TextRange range;
    int depth = 0;
};

std::optional<Prefix> prefixAt(QStringView text, qsizetype lineStart)
{
    const qsizetype n = text.size();
    qsizetype i = lineStart;
    while (i < n && i - lineStart < 3 && text[i] == u' ')
        ++i;
    if (i == n || text[i] != u'>')
        return std::nullopt;
    int depth = 0;
    while (i < n && text[i] == u'>') {
        ++depth;
        ++i;
        if (i < n && (text[i] == u' ' || text[i] == u'\t'))
            ++i;
    }
    return Prefix{TextRange::fromBounds(lineStart, i), depth};
}

bool isValidSelection(const QString& text, TextRange selection)
{
    return selection.location >= 0 && selection.length >= 0 && selection.end() <= text.size();
}

// The quote line beginning on the line that holds the position.
std::optional<QuoteSyntax::Line> lineAt(const QString& text, qsizetype position)
{
    const qsizetype lineStart = TextLines::lineRange(text, position).location;
    const QList<QuoteSyntax::Line> all = QuoteSyntax::lines(text);
    const auto line = std::find_if(all.cbegin(), all.cend(), [&](const QuoteSyntax::Line& l) { return l.range.location == lineStart; });
    if (line == all.cend())
        return std::nullopt;
    return *line;
}

bool selects(const QuoteSyntax::Line& line, const QString& text, const TextRange& selection)
{
    if (selection.length > 0)
        return selection.overlaps(line.range);
    if (selection.length < 0)
        return false;
    if (line.range.contains(selection.location))
        return true;
    // A caret after the last character of a text that ends in this line: the
    // half-open range above misses it, yet the caret is on the line.
    return selection.location == text.size() && line.range.end() == text.size()
        && TextLines::lineRange(text, selection.location).location == line.range.location;
}

} // namespace

namespace QuoteSyntax {

QList<Line> lines(const QString& text)
{
    return lines(text, EditorSyntax::codeRanges(text));
}

QList<Line> lines(const QString& text, const QList<TextRange>& codeRanges)
{
    QList<Prefix> prefixes;
    for (qsizetype start = 0; start < text.size(); start = TextLines::nextPatternLineStart(text, start)) {
        if (const std::optional<Prefix> prefix = prefixAt(text, start))
            prefixes.append(*prefix);
    }
    QList<Line> result;
    if (prefixes.isEmpty())
        return result;
    const RangeIndex code(codeRanges);
    result.reserve(prefixes.size());
    for (const Prefix& prefix : prefixes) {
        if (!code.overlaps(prefix.range))
            result.append(Line{TextLines::lineRange(text, prefix.range.location), prefix.range, prefix.depth});
    }
    return result;
}

std::optional<ListSyntax::Edit> newlineEdit(const QString& text, TextRange selection)
{
    if (!isValidSelection(text, selection))
        return std::nullopt;
    const std::optional<Line> line = lineAt(text, selection.location);
    if (!line || selection.location < line->contentStart() || selection.end() > line->range.end())
        return std::nullopt;
    const QString rest = text.mid(line->contentStart(), line->range.end() - line->contentStart()).trimmed();
    if (!rest.isEmpty())
        return ListSyntax::Edit{selection, u'\n' + text.mid(line->prefix.location, line->prefix.length)};
    // Return on an empty quote line ends the quote.
    return ListSyntax::Edit{line->prefix, QString()};
}

std::optional<TextRange> backspaceRange(const QString& text, TextRange selection)
{
    if (selection.length != 0)
        return std::nullopt;
    const qsizetype caret = selection.location;
    const QList<Line> all = lines(text);
    const auto line = std::find_if(all.cbegin(), all.cend(), [&](const Line& l) { return l.prefix.end() == caret; });
    if (line == all.cend())
        return std::nullopt;
    // A prefix always holds a ">": the last one and what follows it go.
    const qsizetype lastMarker = QStringView(text).mid(line->prefix.location, line->prefix.length).lastIndexOf(u'>');
    return TextRange::fromBounds(line->prefix.location + lastMarker, caret);
}

bool isActive(const Line& line, const QString& text, const QList<TextRange>& selections)
{
    return std::any_of(selections.cbegin(), selections.cend(), [&](const TextRange& s) { return selects(line, text, s); });
}

int presentationDepth(const Line& line, const QString& text, const QList<TextRange>& selections)
{
    return isActive(line, text, selections) ? 0 : line.depth;
}

} // namespace QuoteSyntax
} // namespace quillor
