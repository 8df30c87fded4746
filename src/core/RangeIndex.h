#pragma once

#include "core/TextRange.h"

#include <QList>

namespace quillor {

// Ranges in any order, possibly overlapping, asked "does any of them overlap
// this range?" in logarithmic time: how tags and embeds are kept out of the
// code and link ranges of a long note.
class RangeIndex {
public:
    explicit RangeIndex(QList<TextRange> ranges);

    // At least one unit in common with one of the ranges; an empty range
    // overlaps nothing.
    bool overlaps(const TextRange& range) const;

private:
    QList<TextRange> m_ranges;        // by location
    QList<qsizetype> m_furthestEnd;   // the largest end among m_ranges[0...i]
};

} // namespace quillor
