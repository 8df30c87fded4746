#pragma once

#include "core/TextRange.h"
#include "editing/TextChange.h"

#include <QList>
#include <QtGlobal>

#include <utility>

namespace quillor {

// A set of text positions kept as sorted, disjoint, non-adjacent runs, so that
// a few thousand hidden characters cost a handful of ranges, two sets compare
// in one pass and membership is a binary search.
class IndexSet {
public:
    IndexSet() = default;
    // Ranges in any order, possibly overlapping or empty.
    explicit IndexSet(const QList<TextRange>& ranges);

    bool isEmpty() const { return m_ranges.isEmpty(); }
    bool contains(qsizetype index) const;
    // The number of positions.
    qsizetype count() const;
    // Sorted, disjoint, none empty, none touching the next.
    const QList<TextRange>& ranges() const { return m_ranges; }
    // Every position, in increasing order.
    QList<qsizetype> indexes() const;

    IndexSet intersected(const IndexSet& other) const;
    IndexSet subtracted(const IndexSet& other) const;

    // Becomes the set after `change`, its positions moved along with the
    // text, and those in `window` (of the changed text, holding all the change
    // added) replaced by `fresh`'s, which all lie in it; in time linear in the
    // runs after the window, and in those meeting it. True when `fresh`
    // differs from what it replaced.
    bool splice(const TextChange& change, TextRange window, const IndexSet& fresh);

    bool operator==(const IndexSet&) const = default;

private:
    QList<TextRange> m_ranges;
};

} // namespace quillor
