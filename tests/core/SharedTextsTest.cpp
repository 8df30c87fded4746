#include "core/CaptureGuide.h"
#include "core/L10n.h"
#include "core/PrivacyPolicy.h"
#include "core/QuickCaptureLink.h"
#include "core/SettingsSection.h"

#include "TestSupport.h"

using namespace quillor;

TEST(SharedTextsTest, QuickCaptureLinkMatchesOnlyTheBareLink)
{
    const std::pair<const char*, bool> cases[] = {
        {"quillor://capture", true},       {"QUILLOR://CAPTURE", true},      {"Quillor://Capture/", true},
        {"quillor://capture?x=1", false},  {"quillor://capture?", false},    {"quillor://capture#f", false},
        {"quillor://capture#", false},     {"quillor://capture/x", false},   {"quillor://capture//", false},
        {"quillor://u@capture", false},    {"quillor://@capture", false},    {"quillor://:p@capture", false},
        {"quillor://capture:80", false},   {"other://capture", false},       {"quillor://note", false},
        {"quillor:capture", false},        {"", false},
    };
    for (const auto& [url, matches] : cases)
        EXPECT_EQ(QuickCaptureLink::matches(QUrl(url)), matches) << url;
    EXPECT_EQ(QuickCaptureLink::url(), QUrl("quillor://capture"));
}

TEST(SharedTextsTest, SettingsSections)
{
    QStringList ids;
    for (const SettingsSection section : SettingsSection::allCases()) {
        ids << section.id();
        EXPECT_EQ(SettingsSection::fromRawValue(section.id()), section);
    }
    EXPECT_EQ(ids, QStringList({"general", "destinations", "shortcuts", "guide", "history", "about"}));
    const QList<SettingsSection> mobile = SettingsSection::mobileSections();
    EXPECT_EQ(mobile.size(), 5);
    EXPECT_FALSE(mobile.contains(SettingsSection(SettingsSection::shortcuts)));

    const SettingsSection history = SettingsSection::fromRawValue("history").value_or(SettingsSection(SettingsSection::about));
    EXPECT_EQ(history.value, SettingsSection::history);
    EXPECT_EQ(history.title(), "Historique des captures");
    EXPECT_EQ(history.symbol(), "clock.arrow.circlepath");
    for (const QString raw : {"x", "History", ""})
        EXPECT_FALSE(SettingsSection::fromRawValue(raw).has_value()) << raw.toStdString();
}

TEST(SharedTextsTest, TextsAreLocalisedEachTimeTheyAreRead)
{
    const QStringList french = PrivacyPolicy::paragraphs();
    ASSERT_EQ(french.size(), 7);
    EXPECT_TRUE(french[1].startsWith("Quillor ne collecte ni ne transmet"));
    EXPECT_TRUE(CaptureGuide::links().startsWith("Les liens externes s’ouvrent via le système."));
    L10n::configure(QStringLiteral("en"));
    const QStringList english = PrivacyPolicy::paragraphs();
    const QString title = SettingsSection(SettingsSection::about).title(), guide = CaptureGuide::language();
    L10n::configure(QStringLiteral("fr"));
    for (int i = 0; i < 7; ++i)
        EXPECT_NE(english.value(i), french[i]) << i;
    EXPECT_EQ(title, "About");
    EXPECT_TRUE(guide.startsWith("Choose the language"));
}
