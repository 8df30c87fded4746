#include "editing/IndexSet.h"

#include "editing/ListSplice.h"

#include <algorithm>
#include <span>

namespace quillor {

namespace {

// Adds a range starting at or after the last run's start, merged into that
// run when they meet. Touching runs merge too, so that equal sets always have
// equal runs.
void appendMerged(QList<TextRange>& runs, TextRange range)
{
    if (range.length <= 0)
        return;
    if (!runs.isEmpty() && range.location <= runs.constLast().end()) {
        TextRange& last = runs.last();
        last = TextRange::fromBounds(last.location, std::max(last.end(), range.end()));
    } else {
        runs.append(range);
    }
}

// Runs sorted by location, as the fewest runs covering the same indexes.
QList<TextRange> merged(const QList<TextRange>& sorted)
{
    QList<TextRange> runs;
    runs.reserve(sorted.size());
    for (const TextRange& range : sorted)
        appendMerged(runs, range);
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

bool IndexSet::splice(const TextChange& change, TextRange window, const IndexSet& fresh)
{
    // A run starting where text was added starts after it.
    const auto movedStart = [&change](qsizetype p) {
        return p < change.position ? p : change.moved(std::max(p, change.position + change.removed));
    };
    // Runs ending before the window stay where they are and runs after it
    // only move: this runs on every keystroke, and only the runs meeting the
    // window are rewritten, into `pieces`, from the last run before it on,
    // with which they may merge.
    const auto runs = std::span(std::as_const(m_ranges));
    const qsizetype before = std::lower_bound(runs.begin(), runs.end(), window.location,
                                              [](const TextRange& r, qsizetype p) { return r.end() < p; })
                             - runs.begin();
    const qsizetype oldWindowEnd = window.end() - change.delta();
    qsizetype after = std::upper_bound(runs.begin() + before, runs.end(), oldWindowEnd,
                                       [](qsizetype p, const TextRange& r) { return p < r.location; })
                      - runs.begin();
    if (window.end() < change.position + change.added || oldWindowEnd < change.position + change.removed)
        after = runs.size();
    const qsizetype rewrittenFrom = std::max<qsizetype>(before - 1, 0);
    QList<TextRange> pieces(runs.begin() + rewrittenFrom, runs.begin() + before);
    pieces.reserve(pieces.size() + (after - before) + fresh.m_ranges.size() + 2);
    const auto put = [&pieces](TextRange range) { appendMerged(pieces, range); };
    QList<TextRange> replaced;
    bool freshAdded = false;
    const auto addFresh = [&] {
        if (!std::exchange(freshAdded, true)) {
            for (const TextRange& range : fresh.m_ranges)
                put(range);
        }
    };
    for (const TextRange& run : runs.subspan(before, after - before)) {
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
    qsizetype rewrittenTo = after;
    if (after < qsizetype(runs.size())) {
        put(TextRange{runs[after].location + change.delta(), runs[after].length});
        ++rewrittenTo;
    }
    if (change.delta() != 0) {
        for (TextRange& run : std::span(m_ranges).subspan(rewrittenTo))
            run.location += change.delta();
    }
    replaceRun(m_ranges, rewrittenFrom, rewrittenTo, std::move(pieces));
    return merged(replaced) != fresh.m_ranges;
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
