#pragma once

#include <QString>
#include <QtGlobal>

#include <algorithm>
#include <optional>

namespace quillor {

// A range of UTF-16 code units in a whole text.
struct TextRange {
    qsizetype location = 0;
    qsizetype length = 0;

    qsizetype end() const { return location + length; }
    bool isEmpty() const { return length == 0; }
    // location <= position < end
    bool contains(qsizetype position) const { return position >= location && position < end(); }
    // location <= position <= end: both ends count, as for a caret touching a span.
    bool touches(qsizetype position) const { return position >= location && position <= end(); }
    // At least one unit in common; an empty range overlaps nothing.
    bool overlaps(const TextRange& other) const
    {
        return length > 0 && other.length > 0 && location < other.end() && other.location < end();
    }

    static TextRange fromBounds(qsizetype start, qsizetype end) { return {start, end - start}; }
    // The smallest range holding both; b alone when there is no a.
    static TextRange spanning(const std::optional<TextRange>& a, TextRange b)
    {
        return a ? fromBounds(std::min(a->location, b.location), std::max(a->end(), b.end())) : b;
    }

    bool operator==(const TextRange&) const = default;
};

} // namespace quillor
