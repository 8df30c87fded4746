#include "core/L10n.h"

#include "TestSupport.h"
#include "core/PrivacyPolicy.h"
#include "core/QuickCaptureLink.h"

#include <QLocale>

using namespace quillor;

namespace {

// Puts the French tables back however the test ends.
struct FrenchAfterwards {
    ~FrenchAfterwards() { L10n::configure(QStringLiteral("fr")); }
};

} // namespace

TEST(L10nTest, ChoosesLanguageLikeThePreferredLocalisationMatcher)
{
    const QStringList shipped{"en", "fr"};
    const std::tuple<QStringList, QStringList, QString> cases[] = {   // requested, available, chosen
        {{"de", "fr"}, shipped, "fr"},  {{"fr_FR"}, shipped, "fr"},   {{"EN-gb", "fr"}, shipped, "en"},
        {{}, shipped, "en"},            {{"de"}, {"fr"}, "en"},       {{"zh-Hans-CN"}, {"en", "zh-Hans"}, "zh-Hans"},
        {{"pt-BR", "fr"}, {"fr", "pt"}, "pt"},
        {{"zh_CN"}, {"en", "zh-Hans"}, "zh-Hans"}, {{"zh"}, {"en", "zh-Hans"}, "zh-Hans"},
        {{"zh-TW", "fr"}, {"fr", "zh-Hans"}, "fr"},
    };
    for (const auto& [requested, available, expected] : cases)
        EXPECT_EQ(L10n::chooseLanguage(requested, available), expected) << requested.join(',').toStdString();
}

TEST(L10nTest, ConfigureSwitchesTablesAndFallsBackToTheKey)
{
    FrenchAfterwards restore;
    L10n::configure("fr-CA");
    EXPECT_EQ(L10n::currentLanguage(), "fr");
    const QStringList french = PrivacyPolicy::paragraphs();

    L10n::configure("it");
    EXPECT_EQ(L10n::currentLanguage(), "en");
    EXPECT_EQ(L10n::text("Nouvelle note"), "New note");
    EXPECT_EQ(L10n::text("Clé absente"), "Clé absente");
    // Shared texts are looked up each time they are read.
    EXPECT_NE(PrivacyPolicy::paragraphs().value(1), french.value(1));
}

// The values the language picker stores, and the codes a system reports.
TEST(L10nTest, EachLanguageOfTheSettingsLoadsItsOwnTable)
{
    FrenchAfterwards restore;
    const std::tuple<QString, QString, QString> cases[] = {   // requested, table, "Nouvelle note"
        {"en", "en", "New note"},        {"fr", "fr", "Nouvelle note"}, {"es", "es", "Nota nueva"},
        {"es-MX", "es", "Nota nueva"},  {"de", "de", "Neue Notiz"},    {"de_AT", "de", "Neue Notiz"},
        {"zh-Hans", "zh-Hans", "新建笔记"}, {"zh_CN", "zh-Hans", "新建笔记"},
        {"zh-Hans-CN", "zh-Hans", "新建笔记"}, {"zh-Hant-TW", "en", "New note"},
    };
    for (const auto& [requested, language, text] : cases) {
        L10n::configure(requested);
        EXPECT_EQ(L10n::currentLanguage(), language) << requested.toStdString();
        EXPECT_EQ(L10n::text("Nouvelle note"), text) << requested.toStdString();
    }
}

TEST(L10nTest, FormatSubstitutesTextAndNumbers)
{
    const QString decimal = QLocale::system().decimalPoint();
    const std::tuple<QString, QList<FormatArgument>, QString> cases[] = {
        {"%2$@ puis %1$@, encore %2$@", {"a", "b"}, "b puis a, encore b"},
        {"%lld %llu %.2f|%f|%d", {-8LL, 18446744073709551615ULL, 3.14159, 2.5, 2.9},
         QString("-8 18446744073709551615 3.14|2.500000|2").replace('.', decimal)},
        {"%5d|%-4@|%03d|%+d", {42, "ab", 7, 3}, "   42|ab  |007|+3"},
        {"%@ images, 100 %% et %d %", {12, 50}, "12 images, 100 % et 50 %"},
        // Unknown conversions and missing arguments stay visible as written.
        {"%s et %@ et %@ et %3$@", {"a"}, "%s et a et %@ et %3$@"},
    };
    for (const auto& [format, arguments, expected] : cases)
        EXPECT_EQ(L10n::format(format, arguments), expected) << format.toStdString();
}

TEST(SharedTextsTest, QuickCaptureLinkMatchesOnlyTheBareLink)
{
    const std::pair<const char*, bool> cases[] = {
        {"QUILLOR://CAPTURE", true},       {"quillor://capture/", true},     {"quillor://capture?", false},
        {"quillor://capture#", false},     {"quillor://capture/x", false},   {"quillor://@capture", false},
        {"quillor://capture:80", false},   {"other://capture", false},       {"quillor:capture", false},
    };
    for (const auto& [url, matches] : cases)
        EXPECT_EQ(QuickCaptureLink::matches(QUrl(url)), matches) << url;
}
