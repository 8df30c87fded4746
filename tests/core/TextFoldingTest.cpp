#include "core/TextFolding.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>

using namespace quillor;

TEST(TextFoldingTest, FoldsDiacriticsAndWidthsButNotCase)
{
    const std::pair<QString, QString> cases[] = {
        {"Boîte ÉTÉ", "Boite ETE"}, {"Cafe\u0301", "Cafe"}, {"ＡＢｃ１", "ABc1"}, {"ｶﾞ", "カ"}, {"ガ", "カ"},
        {"ﬁ Å ø 日本", "ﬁ A ø 日本"},   // ligatures and letters of their own stay
    };
    for (const auto& [text, folded] : cases)
        EXPECT_EQ(TextFolding::foldDiacriticsAndWidth(text), folded) << text.toStdString();
}

TEST(TextFoldingTest, ComparisonsAndOrder)
{
    EXPECT_TRUE(TextFolding::equalsIgnoringCase(u"Éte", u"éTE"));
    EXPECT_FALSE(TextFolding::equalsIgnoringCase(u"Inbox", u"Inbóx"));
    EXPECT_TRUE(TextFolding::containsIgnoringCase(u"Journal", u"OUR"));
    EXPECT_TRUE(TextFolding::equalsIgnoringCaseAndDiacritics("Cafe\u0301", "CAFÉ"));
    EXPECT_FALSE(TextFolding::equalsIgnoringCaseAndDiacritics("Reunion", "Reunions"));
    EXPECT_TRUE(TextFolding::localizedContainsIgnoringCase("Boîte", "ÎT"));

    QStringList titles{"Note 10", "note 2", "Zèbre", "Abricot", "Note 1", "éclair"};
    std::stable_sort(titles.begin(), titles.end(),
                     [](const QString& a, const QString& b) { return TextFolding::localizedStandardCompare(a, b) < 0; });
    EXPECT_EQ(titles, (QStringList{"Abricot", "éclair", "Note 1", "note 2", "Note 10", "Zèbre"}));
    EXPECT_EQ(TextFolding::localizedStandardCompare("Inbox", "INBOX"), 0);
}
