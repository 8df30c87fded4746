#include "editing/IndexSet.h"

#include <algorithm>
#include <span>

namespace quillor {

namespace {

// Runs sorted by location, as the fewest runs covering the same indexes.
QList<TextRange> merged(const QList<TextRange>& sorted)
{
    QList<TextRange> runs;
    runs.reserve(sorted.size());
    for (const TextRange& range : sorted) {
        if (range.length <= 0)
            continue;
        // Touching runs merge too, so that equal sets always have equal runs.
        if (!runs.isEmpty() && range.location <= runs.last().end()) {
            TextRange& last = runs.last();
            last = TextRange::fromBounds(last.location, std::max(last.end(), range.end()));
        } else {
            runs.append(range);
        }
    }
    return runs;
}

} // namespace

IndexSet::IndexSet(const QList<TextRange>& ranges)
{
    const auto byLocation = [](const TextRange& a, const TextRange& b) { return a.location < b.location; };
    // The concealment hands its ranges over already sorted, on every
    // keystroke: they are then merged as they stand, without a copy.
    if (std::is_sorted(ranges.cbegin(), ranges.cend(), byLocation)) {
        m_ranges = merged(ranges);
        return;
    }
    QList<TextRange> sorted = ranges;
    std::sort(sorted.begin(), sorted.end(), byLocation);
    m_ranges = merged(sorted);
}

std::pair<IndexSet, bool> IndexSet::spliced(const TextChange& change, TextRange window, const IndexSet& fresh) const
{
    // A run starting where text was added starts after it.
    const auto movedStart = [&change](qsizetype p) {
        return p < change.position ? p : change.moved(std::max(p, change.position + change.removed));
    };
    // Written in place: this runs on every keystroke over all the runs.
    IndexSet result;
    result.m_ranges.resize(m_ranges.size() + fresh.m_ranges.size() + 1);
    TextRange* const first = result.m_ranges.data();
    TextRange* out = first;
    const auto put = [&](TextRange range) {
        if (range.length <= 0)
            return;
        if (out != first && range.location <= (out - 1)->end())
            *(out - 1) = TextRange::fromBounds((out - 1)->location, std::max((out - 1)->end(), range.end()));
        else
            *out++ = range;
    };
    QList<TextRange> replaced;
    bool freshAdded = false;
    const auto addFresh = [&] {
        if (!std::exchange(freshAdded, true)) {
            for (const TextRange& range : fresh.m_ranges)
                put(range);
        }
    };
    // Runs ending before the window stand where they stood, and runs after
    // it only move: both are copied as they are, or shifted, in bulk.
    const TextRange* const runs = m_ranges.constData();
    const TextRange* const runsEnd = runs + m_ranges.size();
    const TextRange* before = std::lower_bound(runs, runsEnd, window.location,
                                               [](const TextRange& r, qsizetype p) { return r.end() < p; });
    std::copy(runs, before, out);
    out += before - runs;
    const qsizetype oldWindowEnd = window.end() - change.delta();
    const TextRange* after = std::upper_bound(before, runsEnd, oldWindowEnd,
                                              [](qsizetype p, const TextRange& r) { return p < r.location; });
    if (window.end() < change.position + change.added || oldWindowEnd < change.position + change.removed)
        after = runsEnd;
    for (const TextRange& run : std::span(before, after)) {
        const qsizetype start = movedStart(run.location);
        const qsizetype end = std::max(start, change.moved(run.end()));
        if (start < window.location)
            put(TextRange::fromBounds(start, std::min(end, window.location)));
        if (start < window.end() && end > window.location)
            replaced.append(TextRange::fromBounds(std::max(start, window.location), std::min(end, window.end())));
        if (end > window.end()) {
            addFresh();
            put(TextRange::fromBounds(std::max(start, window.end()), end));
        }
    }
    addFresh();
    if (after != runsEnd) {
        put(TextRange{after->location + change.delta(), after->length});
        for (const TextRange& run : std::span(after + 1, runsEnd))
            *out++ = TextRange{run.location + change.delta(), run.length};
    }
    result.m_ranges.resize(out - first);
    return {std::move(result), merged(replaced) != fresh.m_ranges};
}

bool IndexSet::contains(qsizetype index) const
{
    // The first run ending after the index is the only one that can hold it.
    const auto run = std::upper_bound(m_ranges.cbegin(), m_ranges.cend(), index,
                                      [](qsizetype i, const TextRange& r) { return i < r.end(); });
    return run != m_ranges.cend() && run->contains(index);
}

qsizetype IndexSet::count() const
{
    qsizetype total = 0;
    for (const TextRange& range : m_ranges)
        total += range.length;
    return total;
}

QList<qsizetype> IndexSet::indexes() const
{
    QList<qsizetype> result;
    result.reserve(count());
    for (const TextRange& range : m_ranges) {
        for (qsizetype i = range.location; i < range.end(); ++i)
            result.append(i);
    }
    return result;
}

IndexSet IndexSet::intersected(const IndexSet& other) const
{
    QList<TextRange> common;
    auto a = m_ranges.cbegin();
    auto b = other.m_ranges.cbegin();
    while (a != m_ranges.cend() && b != other.m_ranges.cend()) {
        const qsizetype start = std::max(a->location, b->location);
        const qsizetype end = std::min(a->end(), b->end());
        if (start < end)
            common.append(TextRange::fromBounds(start, end));
        if (a->end() < b->end())
            ++a;
        else
            ++b;
    }
    IndexSet result;
    result.m_ranges = std::move(common);
    return result;
}

IndexSet IndexSet::subtracted(const IndexSet& other) const
{
    QList<TextRange> rest;
    auto b = other.m_ranges.cbegin();
    for (const TextRange& range : m_ranges) {
        qsizetype start = range.location;
        while (b != other.m_ranges.cend() && b->end() <= start)
            ++b;
        for (auto cut = b; cut != other.m_ranges.cend() && cut->location < range.end(); ++cut) {
            if (cut->location > start)
                rest.append(TextRange::fromBounds(start, cut->location));
            start = std::max(start, cut->end());
        }
        if (start < range.end())
            rest.append(TextRange::fromBounds(start, range.end()));
    }
    IndexSet result;
    result.m_ranges = std::move(rest);
    return result;
}

} // namespace quillor
