#include "core/TextFolding.h"

#include "TestSupport.h"

#include <QStringList>

#include <algorithm>

using namespace quillor;

TEST(TextFoldingTest, FoldsAndComparesLikeThePlatform)
{
    // Diacritics and widths fold, case does not; ligatures and letters of their own stay.
    EXPECT_EQ(TextFolding::foldDiacriticsAndWidth("Boîte ÉTÉ Cafe\u0301 ＡＢｃ１ ｶﾞ ガ ﬁ Å ø 日本"), "Boite ETE Cafe ABc1 カ カ ﬁ A ø 日本");
    EXPECT_TRUE(TextFolding::equalsIgnoringCase(u"Éte", u"éTE"));
    EXPECT_FALSE(TextFolding::equalsIgnoringCase(u"Inbox", u"Inbóx"));
    EXPECT_TRUE(TextFolding::containsIgnoringCase(u"Journal", u"OUR"));
    EXPECT_TRUE(TextFolding::equalsIgnoringCaseAndDiacritics("Cafe\u0301", "CAFÉ"));
    EXPECT_FALSE(TextFolding::equalsIgnoringCaseAndDiacritics("Reunion", "Reunions"));
    EXPECT_TRUE(TextFolding::localizedContainsIgnoringCase("Boîte", "ÎT"));
    EXPECT_EQ(TextFolding::localizedStandardCompare("Inbox", "INBOX"), 0);

    QStringList titles{"Note 10", "note 2", "Zèbre", "Abricot", "Note 1", "éclair"};
    std::stable_sort(titles.begin(), titles.end(),
                     [](const QString& a, const QString& b) { return TextFolding::localizedStandardCompare(a, b) < 0; });
    EXPECT_EQ(titles, (QStringList{"Abricot", "éclair", "Note 1", "note 2", "Note 10", "Zèbre"}));
}

TEST(TextFoldingTest, SortKeysOrderLikeTheComparison)
{
    const QStringList texts{"Note 10", "note 2",  "Note 02", "Note 2",  "Zèbre",  "zebre",   "Abricot", "éclair",
                            "Eclair",  "a.b",     "a-b",     "a b",     "ab",     "_x",      "-",       "日本",
                            "Ωmega",   "ｶﾞ",      "ガ",      "Note\u200B1", "2024", "10",     "😀 joie", "ǅ",
                            "Straße",  "STRASSE", "œuvre",   "Oeuvre",  "x1y",    "x01y",    "x1.5",    "x1,5"};
    for (const QString& a : texts) {
        for (const QString& b : texts) {
            const int keyOrder = TextFolding::localizedSortKey(a).compare(TextFolding::localizedSortKey(b));
            const int sign = keyOrder < 0 ? -1 : (keyOrder > 0 ? 1 : 0);
            EXPECT_EQ(sign, TextFolding::localizedStandardCompare(a, b)) << a.toStdString() << " / " << b.toStdString();
        }
    }
}
