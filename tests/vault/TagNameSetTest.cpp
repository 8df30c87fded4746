#include "vault/TagNameSet.h"

#include <gtest/gtest.h>

#include <QString>

using namespace quillor;

// Exact texts only (case, composition and prefixes tell names apart), kept
// through the table's growth.
TEST(TagNameSetTest, HoldsExactlyTheNamesInserted)
{
    TagNameSet names;
    EXPECT_TRUE(names.insert(u"projet"));
    EXPECT_FALSE(names.insert(u"projet"));
    for (const QString other : {"Projet", "proje", "projets", "", "\u00C5", "A\u030A", "\U0001D400"})
        EXPECT_FALSE(names.contains(other)) << other.toStdString();

    for (int i = 0; i < 5000; ++i)
        ASSERT_TRUE(names.insert(QStringLiteral("jour/%1").arg(i)));
    EXPECT_TRUE(names.contains(u"projet"));
    for (int i = 0; i < 5000; ++i) {
        ASSERT_TRUE(names.contains(QStringLiteral("jour/%1").arg(i)));
        ASSERT_FALSE(names.contains(QStringLiteral("jour/%1").arg(i + 5000)));
    }
}
