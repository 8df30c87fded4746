#include "editing/IndexSet.h"

#include <gtest/gtest.h>

using namespace quillor;

TEST(IndexSetTest, NormalisesRuns)
{
    const struct { const char* name; QList<TextRange> input; QList<TextRange> runs; } cases[] = {
        {"empty ranges dropped", {{3, 0}, {5, 0}}, {}}, {"sorted", {{5, 1}, {0, 2}}, {{0, 2}, {5, 1}}},
        {"overlapping merged", {{0, 3}, {2, 3}}, {{0, 5}}},
        {"touching merged, so equal sets compare equal", {{0, 2}, {2, 2}}, {{0, 4}}},
        {"contained", {{0, 10}, {2, 3}, {9, 1}}, {{0, 10}}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(IndexSet(c.input).ranges(), c.runs) << c.name;
}

TEST(IndexSetTest, MembershipAndAlgebra)
{
    const IndexSet set({{2, 2}, {7, 1}});
    QList<qsizetype> members;
    for (qsizetype i = -1; i < 10; ++i) {
        if (set.contains(i))
            members.append(i);
    }
    EXPECT_EQ(members, (QList<qsizetype>{2, 3, 7}));
    EXPECT_EQ(set.indexes(), members);

    const IndexSet a({{0, 5}, {10, 5}}), b({{3, 9}, {14, 3}});
    EXPECT_EQ(a.intersected(b).ranges(), (QList<TextRange>{{3, 2}, {10, 2}, {14, 1}}));
    EXPECT_EQ(a.subtracted(b).ranges(), (QList<TextRange>{{0, 3}, {12, 2}}));
    EXPECT_EQ(b.subtracted(a).ranges(), (QList<TextRange>{{5, 5}, {15, 2}}));
    EXPECT_TRUE(a.intersected(IndexSet()).isEmpty());
    EXPECT_TRUE(a.subtracted(IndexSet({{0, 20}})).isEmpty());
}
