#include "editing/LineItems.h"

#include "core/TextLines.h"
#include "editing/EditorSyntax.h"

namespace quillor {

namespace {

bool isBlank(QChar c) { return c == u' ' || c == u'\t'; }

// Every marker starts with one of these; other lines are answered without
// reading them further.
bool mayStartMarker(QChar c) { return c == u'-' || c == u'+' || c == u'*' || (c >= u'0' && c <= u'9'); }

bool startsLine(const QString& text, qsizetype position)
{
    if (position == 0)
        return true;
    if (position < 0 || position > text.size())
        return false;
    const QChar before = text[position - 1];
    // Between CR and LF lies no line start.
    return TextLines::isLineBreak(before) && !(before == u'\r' && position < text.size() && text[position] == u'\n');
}

void shift(ListSyntax::Item& item, qsizetype offset)
{
    item.line.location += offset;
    item.marker.location += offset;
    if (item.checkbox)
        item.checkbox->location += offset;
    item.contentStart += offset;
}

// An item's prefix never holds a backtick and starts its line, so no code
// found within the line alone can overlap it: only the whole text's code
// (a fence above, a span opened on an earlier line) can, and that is checked
// by the caller.
std::optional<ListSyntax::Item> readLine(const QString& text, qsizetype lineStart)
{
    qsizetype markerStart = lineStart;
    while (markerStart < text.size() && isBlank(text[markerStart]))
        ++markerStart;
    if (markerStart == text.size() || !mayStartMarker(text[markerStart]))
        return std::nullopt;
    const TextRange line = TextLines::lineRange(text, lineStart);
    for (ListSyntax::Item item : ListSyntax::items(text.mid(line.location, line.length))) {
        if (item.line.location == 0 && item.marker.location == markerStart - lineStart) {
            shift(item, lineStart);
            return item;
        }
    }
    return std::nullopt;
}

} // namespace

LineItems::LineItems(const QString& text) : m_text(text) {}

const std::optional<ListSyntax::Item>& LineItems::opening(qsizetype lineStart) const
{
    const auto cached = m_items.find(lineStart);
    if (cached != m_items.end())
        return cached->second;
    std::optional<ListSyntax::Item> item;
    if (startsLine(m_text, lineStart))
        item = readLine(m_text, lineStart);
    if (item && code().overlaps(TextRange::fromBounds(lineStart, item->contentStart)))
        item.reset();
    return m_items.emplace(lineStart, std::move(item)).first->second;
}

bool LineItems::overlapsCode(const TextRange& range) const { return code().overlaps(range); }

const RangeIndex& LineItems::code() const
{
    if (!m_code)
        m_code.emplace(EditorSyntax::codeRanges(m_text));
    return *m_code;
}

} // namespace quillor
