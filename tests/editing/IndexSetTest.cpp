#include "editing/IndexSet.h"

#include <gtest/gtest.h>

#include <random>

using namespace quillor;

TEST(IndexSetTest, NormalisesRunsAndCombines)
{
    // Touching runs merge, so equal sets compare equal.
    EXPECT_EQ(IndexSet({{3, 0}, {5, 1}, {0, 2}, {2, 2}, {9, 1}, {8, 3}}).ranges(), (QList<TextRange>{{0, 4}, {5, 1}, {8, 3}}));
    const IndexSet a({{0, 5}, {10, 5}}), b({{3, 9}, {14, 3}});
    QList<qsizetype> members;
    for (qsizetype i = -1; i < 17; ++i) {
        if (a.contains(i))
            members.append(i);
    }
    EXPECT_EQ(members, a.indexes());
    EXPECT_EQ(members, (QList<qsizetype>{0, 1, 2, 3, 4, 10, 11, 12, 13, 14}));
    EXPECT_EQ(a.intersected(b).ranges(), (QList<TextRange>{{3, 2}, {10, 2}, {14, 1}}));
    EXPECT_EQ(a.subtracted(b).ranges(), (QList<TextRange>{{0, 3}, {12, 2}}));
    EXPECT_EQ(b.subtracted(a).ranges(), (QList<TextRange>{{5, 5}, {15, 2}}));
    EXPECT_TRUE(a.subtracted(IndexSet({{0, 20}})).isEmpty());
}

// Random sets, changes and windows: a splice keeps every position outside
// the window where the change moved it, and takes the window's from `fresh`.
TEST(IndexSetTest, SplicedMovesWhatLiesOutsideTheWindowAndTakesTheRest)
{
    std::mt19937 random(20261210);
    const auto pick = [&](qsizetype bound) { return qsizetype(random() % quint32(bound)); };
    const auto randomSet = [&](qsizetype from, qsizetype to) {
        QList<TextRange> ranges;
        for (int i = pick(6); i > 0; --i) {
            const qsizetype start = from + pick(std::max<qsizetype>(to - from, 1));
            ranges.append(TextRange::fromBounds(start, std::min(to, start + 1 + pick(5))));
        }
        return IndexSet(ranges);
    };
    for (int round = 0; round < 2000; ++round) {
        const qsizetype length = 1 + pick(60);
        const IndexSet old = randomSet(0, length);
        TextChange change;
        change.position = pick(length + 1);
        change.removed = pick(length - change.position + 1);
        change.added = pick(5);
        const qsizetype newLength = length + change.delta();
        const qsizetype windowStart = pick(change.position + 1);
        const qsizetype windowEnd = change.position + change.added + pick(newLength - change.position - change.added + 1);
        const TextRange window = TextRange::fromBounds(windowStart, windowEnd);
        const IndexSet fresh = randomSet(window.location, window.end());
        QList<TextRange> expected = fresh.ranges();
        for (const qsizetype index : old.indexes()) {
            if (index >= change.position && index < change.position + change.removed)
                continue;
            const qsizetype moved = index < change.position ? index : index + change.delta();
            if (!window.contains(moved))
                expected.append(TextRange{moved, 1});
        }
        IndexSet spliced = old;
        const bool changed = spliced.splice(change, window, fresh);
        ASSERT_EQ(spliced, IndexSet(expected)) << "round " << round;
        if (change == TextChange{} && window.isEmpty()) {
            EXPECT_FALSE(changed) << "round " << round;
        }
    }
}
