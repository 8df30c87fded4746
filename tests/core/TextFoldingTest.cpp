#include "core/TextFolding.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>

using namespace quillor;

TEST(TextFoldingTest, FoldsDiacriticsAndWidthsButNotCase)
{
    const std::pair<QString, QString> cases[] = {
        {QStringLiteral("Boîte de réception"), QStringLiteral("Boite de reception")},
        {QStringLiteral("ÉTÉ"), QStringLiteral("ETE")},
        {QStringLiteral("Cafe\u0301"), QStringLiteral("Cafe")},
        {QStringLiteral("ＡＢｃ１"), QStringLiteral("ABc1")},
        {QStringLiteral("ｶﾞ"), QStringLiteral("カ")},     // half-width voiced mark is a diacritic
        {QStringLiteral("ガ"), QStringLiteral("カ")},
        {QStringLiteral("ﬁ Å ø"), QStringLiteral("ﬁ A ø")},  // ligatures and letters of their own stay
        {QStringLiteral("日本"), QStringLiteral("日本")},
    };
    for (const auto& [text, folded] : cases)
        EXPECT_EQ(TextFolding::foldDiacriticsAndWidth(text), folded) << text.toStdString();
}

TEST(TextFoldingTest, Comparisons)
{
    EXPECT_TRUE(TextFolding::equalsIgnoringCase(u"Inbox", u"INBOX"));
    EXPECT_FALSE(TextFolding::equalsIgnoringCase(u"Inbox", u"Inbóx"));
    EXPECT_TRUE(TextFolding::equalsIgnoringCase(u"Éte", u"éTE"));
    EXPECT_TRUE(TextFolding::containsIgnoringCase(u"Journal", u"OUR"));
    EXPECT_FALSE(TextFolding::containsIgnoringCase(u"Journal", u"oùr"));

    EXPECT_TRUE(TextFolding::equalsIgnoringCaseAndDiacritics(QStringLiteral("Réunion"), QStringLiteral("REUNION")));
    EXPECT_TRUE(TextFolding::equalsIgnoringCaseAndDiacritics(QStringLiteral("Cafe\u0301"), QStringLiteral("café")));
    EXPECT_FALSE(TextFolding::equalsIgnoringCaseAndDiacritics(QStringLiteral("Reunion"), QStringLiteral("Reunions")));

    EXPECT_TRUE(TextFolding::localizedContainsIgnoringCase(QStringLiteral("Boîte"), QStringLiteral("ÎT")));
}

TEST(TextFoldingTest, LocalizedStandardOrder)
{
    QStringList titles{"Note 10", "note 2", "Zèbre", "Abricot", "Note 1", "éclair"};
    std::stable_sort(titles.begin(), titles.end(), [](const QString& a, const QString& b) {
        return TextFolding::localizedStandardCompare(a, b) < 0;
    });
    EXPECT_EQ(titles, (QStringList{"Abricot", "éclair", "Note 1", "note 2", "Note 10", "Zèbre"}));
    EXPECT_EQ(TextFolding::localizedStandardCompare(QStringLiteral("Inbox"), QStringLiteral("INBOX")), 0);
}
