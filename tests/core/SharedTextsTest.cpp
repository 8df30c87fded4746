#include "core/CaptureGuide.h"
#include "core/L10n.h"
#include "core/PrivacyPolicy.h"
#include "core/QuickCaptureLink.h"
#include "core/SettingsSection.h"

#include <gtest/gtest.h>

using namespace quillor;

TEST(SharedTextsTest, QuickCaptureLinkMatchesOnlyTheBareLink)
{
    struct Case {
        const char* url;
        bool matches;
    };
    const Case cases[] = {
        {"quillor://capture", true},
        {"QUILLOR://CAPTURE", true},
        {"Quillor://Capture/", true},
        {"quillor://capture?x=1", false},
        {"quillor://capture?", false},
        {"quillor://capture#f", false},
        {"quillor://capture#", false},
        {"quillor://capture/x", false},
        {"quillor://capture//", false},
        {"quillor://u@capture", false},
        {"quillor://@capture", false},
        {"quillor://:p@capture", false},
        {"quillor://u:p@capture", false},
        {"quillor://capture:80", false},
        {"other://capture", false},
        {"quillor://note", false},
        {"quillor:capture", false},
        {"", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(QuickCaptureLink::matches(QUrl(QString::fromUtf8(c.url))), c.matches) << c.url;
    EXPECT_EQ(QuickCaptureLink::url().toString(), QStringLiteral("quillor://capture"));
    EXPECT_TRUE(QuickCaptureLink::matches(QuickCaptureLink::url()));
}

TEST(SharedTextsTest, SettingsSectionsInOrderWithRawValuesTitlesAndSymbols)
{
    QStringList ids;
    for (const SettingsSection section : SettingsSection::allCases()) {
        ids << section.id();
        EXPECT_EQ(SettingsSection::fromRawValue(section.id()), section);
        EXPECT_FALSE(section.title().isEmpty());
        EXPECT_FALSE(section.symbol().isEmpty());
    }
    EXPECT_EQ(ids, QStringList({QStringLiteral("general"), QStringLiteral("destinations"), QStringLiteral("shortcuts"),
                                QStringLiteral("guide"), QStringLiteral("history"), QStringLiteral("about")}));

    const QList<SettingsSection> mobile = SettingsSection::mobileSections();
    EXPECT_EQ(mobile.size(), 5);
    EXPECT_FALSE(mobile.contains(SettingsSection(SettingsSection::shortcuts)));
    EXPECT_EQ(mobile.first(), SettingsSection(SettingsSection::general));
    EXPECT_EQ(mobile.last(), SettingsSection(SettingsSection::about));

    const std::optional<SettingsSection> history = SettingsSection::fromRawValue(QStringLiteral("history"));
    ASSERT_TRUE(history.has_value());
    EXPECT_EQ(history->value, SettingsSection::history);
    EXPECT_EQ(history->title(), QStringLiteral("Historique des captures"));
    EXPECT_EQ(history->symbol(), QStringLiteral("clock.arrow.circlepath"));
    EXPECT_EQ(SettingsSection(SettingsSection::guide).title(), QStringLiteral("Guide d’utilisation"));

    for (const QString& raw : {QStringLiteral("x"), QStringLiteral("History"), QString()})
        EXPECT_FALSE(SettingsSection::fromRawValue(raw).has_value()) << raw.toStdString();
}

TEST(SharedTextsTest, TextsAreLocalisedEachTimeTheyAreRead)
{
    const QStringList french = PrivacyPolicy::paragraphs();
    ASSERT_EQ(french.size(), 7);
    EXPECT_TRUE(french[1].startsWith(QStringLiteral("Quillor ne collecte ni ne transmet")));
    EXPECT_TRUE(CaptureGuide::links().startsWith(QStringLiteral("Les liens externes s’ouvrent via le système.")));

    L10n::configure(QStringLiteral("en"));
    const QStringList english = PrivacyPolicy::paragraphs();
    const QString title = SettingsSection(SettingsSection::about).title();
    const QString guide = CaptureGuide::language();
    L10n::configure(QStringLiteral("fr"));

    ASSERT_EQ(english.size(), 7);
    for (int i = 0; i < 7; ++i)
        EXPECT_NE(english[i], french[i]) << i;
    EXPECT_EQ(title, QStringLiteral("About"));
    EXPECT_TRUE(guide.startsWith(QStringLiteral("Choose the language")));
    EXPECT_EQ(PrivacyPolicy::paragraphs(), french);
}
