#include "editing/IndexSet.h"

#include <gtest/gtest.h>

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
