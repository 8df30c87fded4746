#include "core/RangeIndex.h"

#include <algorithm>

namespace quillor {

RangeIndex::RangeIndex(QList<TextRange> ranges) : m_ranges(std::move(ranges))
{
    m_ranges.removeIf([](const TextRange& range) { return range.isEmpty(); });
    std::sort(m_ranges.begin(), m_ranges.end(),
              [](const TextRange& a, const TextRange& b) { return a.location < b.location; });
    m_furthestEnd.reserve(m_ranges.size());
    qsizetype furthest = 0;
    for (const TextRange& range : std::as_const(m_ranges)) {
        furthest = qMax(furthest, range.end());
        m_furthestEnd.append(furthest);
    }
}

bool RangeIndex::overlaps(const TextRange& range) const
{
    if (range.isEmpty())
        return false;
    // Among the ranges that start before this one ends, one overlaps exactly
    // when the furthest of their ends lies beyond its start.
    const auto after = std::lower_bound(m_ranges.cbegin(), m_ranges.cend(), range.end(),
                                        [](const TextRange& r, qsizetype end) { return r.location < end; });
    const qsizetype count = after - m_ranges.cbegin();
    return count > 0 && m_furthestEnd[count - 1] > range.location;
}

} // namespace quillor
