#include "editing/ListSyntax.h"

#include "core/RangeIndex.h"
#include "core/TextLines.h"
#include "editing/EditorSyntax.h"

#include <algorithm>

namespace quillor {

namespace {

// An item's prefix is
//   (?m)^([\t ]*)([-+*]|[0-9]{1,9}[.)])[\t ]+(?:\[([ xX])\](?:[\t ]+|$))?
// scanned by hand: through the regex engine each match costs more than a
// microsecond, far too much for a long list re-read on every keystroke. Every
// part of the expression has a single way to match (no blank can start a
// marker or a box), so a greedy scan at each line start gives the same
// matches. Its lines end where the expression's multi-line anchors say.
bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }
bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

qsizetype skipBlanks(QStringView text, qsizetype i)
{
    while (i < text.size() && isBlank(text[i]))
        ++i;
    return i;
}

struct Prefix {
    qsizetype start = 0;
    qsizetype markerStart = 0;
    qsizetype markerEnd = 0;
    qsizetype end = 0;
    qsizetype mark = -1;   // position of the box's mark, -1 without a box
};

// The end of an item marker at `i`: a bullet, or 1 to 9 digits and "." or ")".
qsizetype markerEnd(QStringView text, qsizetype i)
{
    const qsizetype n = text.size();
    if (i == n)
        return -1;
    if (text[i] == u'-' || text[i] == u'+' || text[i] == u'*')
        return i + 1;
    qsizetype j = i;
    while (j < n && j - i < 10 && isAsciiDigit(text[j]))
        ++j;
    const qsizetype digits = j - i;
    if (digits < 1 || digits > 9 || j == n || (text[j] != u'.' && text[j] != u')'))
        return -1;
    return j + 1;
}

std::optional<Prefix> prefixAt(QStringView text, qsizetype lineStart)
{
    Prefix prefix;
    prefix.start = lineStart;
    prefix.markerStart = skipBlanks(text, lineStart);
    prefix.markerEnd = markerEnd(text, prefix.markerStart);
    if (prefix.markerEnd < 0)
        return std::nullopt;
    prefix.end = skipBlanks(text, prefix.markerEnd);
    if (prefix.end == prefix.markerEnd)
        return std::nullopt;
    const qsizetype box = prefix.end;
    if (box + 2 < text.size() && text[box] == u'[' && text[box + 2] == u']') {
        const QChar mark = text[box + 1];
        const qsizetype boxEnd = box + 3;
        const qsizetype after = skipBlanks(text, boxEnd);
        const bool closed = after > boxEnd || boxEnd == text.size() || TextLines::isPatternLineBreak(text[boxEnd]);
        if ((mark == u' ' || mark == u'x' || mark == u'X') && closed) {
            prefix.mark = box + 1;
            prefix.end = after;
        }
    }
    return prefix;
}

qsizetype columns(QStringView indentation)
{
    qsizetype column = 0;
    for (const QChar c : indentation)
        column = c == u'\t' ? (column / 4 + 1) * 4 : column + 1;
    return column;
}

// The number of an ordered item and the marker its successor gets.
QString nextMarker(QStringView marker, ListSyntax::Item& item)
{
    const QStringView digits = marker.chopped(1);
    if (digits.isEmpty())
        return marker.toString();
    const int n = digits.toInt();   // at most 9 digits: always fits
    item.number = n;
    return QString::number(std::min(n + 1, ListSyntax::maximumNumber)) + marker.back();
}

ListSyntax::Item makeItem(const QString& text, const Prefix& prefix)
{
    ListSyntax::Item item;
    const QStringView view(text);
    item.line = TextLines::lineRange(view, prefix.start);
    item.marker = TextRange::fromBounds(prefix.markerStart, prefix.end);
    item.contentStart = prefix.end;
    if (prefix.mark >= 0)
        item.checkbox = TextRange{prefix.mark - 1, 3};
    const QStringView indentation = view.mid(prefix.start, prefix.markerStart - prefix.start);
    const QString marker = nextMarker(view.mid(prefix.markerStart, prefix.markerEnd - prefix.markerStart), item);
    item.continuation = indentation.toString() + marker + (item.checkbox ? QStringLiteral(" [ ] ") : QStringLiteral(" "));
    item.indentation = columns(indentation);
    return item;
}

// A selection touches the marker when it would edit it: the live preview then
// shows the raw characters.
bool touches(const ListSyntax::Item& item, const TextRange& selection)
{
    if (selection.length > 0)
        return selection.overlaps(item.marker);
    return selection.length == 0 && selection.location >= item.marker.location && selection.location < item.contentStart;
}

} // namespace

namespace ListSyntax {

QList<Item> items(const QString& text)
{
    return items(text, EditorSyntax::codeRanges(text));
}

QList<Item> items(const QString& text, const QList<TextRange>& codeRanges)
{
    QList<Prefix> prefixes;
    for (qsizetype start = 0; start < text.size(); start = TextLines::nextPatternLineStart(text, start)) {
        if (const std::optional<Prefix> prefix = prefixAt(text, start))
            prefixes.append(*prefix);
    }
    QList<Item> result;
    if (prefixes.isEmpty())
        return result;
    const RangeIndex code(codeRanges);
    result.reserve(prefixes.size());
    for (const Prefix& prefix : prefixes) {
        if (!code.overlaps(TextRange::fromBounds(prefix.start, prefix.end)))
            result.append(makeItem(text, prefix));
    }
    return result;
}

std::optional<Edit> newlineEdit(const QString& text, TextRange selection)
{
    if (selection.location < 0 || selection.length < 0 || selection.end() > text.size())
        return std::nullopt;
    const qsizetype lineStart = TextLines::lineRange(text, selection.location).location;
    const QList<Item> all = items(text);
    const auto item = std::find_if(all.cbegin(), all.cend(), [&](const Item& i) { return i.line.location == lineStart; });
    if (item == all.cend())
        return std::nullopt;
    if (selection.location < item->contentStart || selection.end() > item->line.end())
        return std::nullopt;
    // The whole rest of the line decides, also what lies after the caret.
    const QString rest = text.mid(item->contentStart, item->line.end() - item->contentStart).trimmed();
    if (!rest.isEmpty())
        return Edit{selection, u'\n' + item->continuation};
    // Return on an empty item ends the list.
    return Edit{TextRange::fromBounds(item->line.location, item->contentStart), QString()};
}

bool showsRenderedMarker(const Item& item, const QList<TextRange>& selections)
{
    return std::none_of(selections.cbegin(), selections.cend(), [&](const TextRange& s) { return touches(item, s); });
}

bool showsRenderedCheckbox(const Item& item, const QString& text, const QList<TextRange>& selections)
{
    Q_UNUSED(text);
    return item.checkbox.has_value() && showsRenderedMarker(item, selections);
}

} // namespace ListSyntax
} // namespace quillor
