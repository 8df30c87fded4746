#include "core/L10n.h"

#include "TestSupport.h"
#include "core/CaptureGuide.h"
#include "core/PrivacyPolicy.h"
#include "core/QuickCaptureLink.h"
#include "core/SettingsSection.h"

#include <QLocale>

using namespace quillor;

namespace {

// Puts the French tables back however the test ends.
struct FrenchAfterwards {
    ~FrenchAfterwards() { L10n::configure(QStringLiteral("fr")); }
};

const QString unknownDestination = "Destination inconnue : %@. Choisis une destination ou retire le préfixe.";

} // namespace

TEST(L10nTest, ChoosesLanguageLikeThePreferredLocalisationMatcher)
{
    const QStringList shipped{"en", "fr"};
    const std::tuple<QStringList, QStringList, QString> cases[] = {   // requested, available, chosen
        {{"fr"}, shipped, "fr"},          {{"de"}, shipped, "en"},        {{"de", "fr"}, shipped, "fr"},
        {{"fr-CA"}, shipped, "fr"},       {{"fr_FR"}, shipped, "fr"},     {{"EN-gb", "fr"}, shipped, "en"},
        {{"C"}, shipped, "en"},           {{}, shipped, "en"},            {{"de"}, {"fr"}, "en"},
        {{"zh-Hans-CN"}, {"en", "zh-Hans"}, "zh-Hans"},                   {{"zh-Hant-TW"}, {"en", "zh"}, "zh"},
        {{"pt-BR", "fr"}, {"fr", "pt"}, "pt"},
    };
    for (const auto& [requested, available, expected] : cases)
        EXPECT_EQ(L10n::chooseLanguage(requested, available), expected) << requested.join(',').toStdString();
}

TEST(L10nTest, ConfigureSwitchesTablesAndFallsBackToTheKey)
{
    FrenchAfterwards restore;
    L10n::configure("fr-CA");
    EXPECT_EQ(L10n::currentLanguage(), "fr");
    const QString before = L10n::text("Nouvelle note");
    EXPECT_EQ(before, "Nouvelle note");
    const QStringList french = PrivacyPolicy::paragraphs();
    ASSERT_EQ(french.size(), 7);
    EXPECT_TRUE(french[1].startsWith("Quillor ne collecte ni ne transmet"));
    EXPECT_TRUE(CaptureGuide::links().startsWith("Les liens externes s’ouvrent via le système."));

    L10n::configure("de");
    EXPECT_EQ(L10n::currentLanguage(), "en");
    EXPECT_EQ(L10n::text("Nouvelle note"), "New note");
    EXPECT_EQ(before, "Nouvelle note");
    EXPECT_EQ(L10n::format(unknownDestination, {"zz"}), "Unknown destination: zz. Choose a destination or remove the prefix.");
    EXPECT_EQ(L10n::text("Clé absente"), "Clé absente");
    // Shared texts are looked up each time they are read.
    const QStringList english = PrivacyPolicy::paragraphs();
    for (int i = 0; i < 7; ++i)
        EXPECT_NE(english.value(i), french[i]) << i;
    EXPECT_EQ(SettingsSection(SettingsSection::about).title(), "About");
    EXPECT_TRUE(CaptureGuide::language().startsWith("Choose the language"));

    // Without a language, the system's languages decide; Qt reads LANGUAGE while messages are in the "C" locale.
    const std::optional<QByteArray> saved =
        qEnvironmentVariableIsSet("LANGUAGE") ? std::optional(qgetenv("LANGUAGE")) : std::nullopt;
    qputenv("LANGUAGE", "de:fr");
    L10n::configure(std::nullopt);
    const QStringList system = QLocale::system().uiLanguages();
    EXPECT_EQ(L10n::currentLanguage(), L10n::chooseLanguage(system, L10n::availableLanguages()));
    EXPECT_TRUE(system.value(0) != "de" || L10n::currentLanguage() == "fr");
    if (saved)
        qputenv("LANGUAGE", *saved);
    else
        qunsetenv("LANGUAGE");
}

TEST(L10nTest, FormatSubstitutesTextAndNumbers)
{
    const QString decimal = QLocale::system().decimalPoint();
    const std::tuple<QString, QList<FormatArgument>, QString> cases[] = {
        {unknownDestination, {"zz"}, "Destination inconnue : zz. Choisis une destination ou retire le préfixe."},
        {"%2$@ puis %1$@, encore %2$@", {"a", "b"}, "b puis a, encore b"},
        {"%2$d/%1$d", {1, 2}, "2/1"},
        {"%d %i %ld %lld %u %lu %llu", {1234567, -5, 7L, 8LL, 9U, 10UL, 18446744073709551615ULL},
         "1234567 -5 7 8 9 10 18446744073709551615"},
        {"%.2f|%f|%.1f|%d", {3.14159, 2.5, 7, 2.9}, QString("3.14|2.500000|7.0|2").replace('.', decimal)},
        {"%5d|%-4@|%03d|%+d", {42, "ab", 7, 3}, "   42|ab  |007|+3"},
        {"%@ images, 100 %% et %d %", {12, 50}, "12 images, 100 % et 50 %"},
        // Unknown conversions and missing arguments stay visible as written.
        {"%s et %@ et %@ et %3$@", {"a"}, "%s et a et %@ et %3$@"},
    };
    for (const auto& [format, arguments, expected] : cases)
        EXPECT_EQ(L10n::format(format, arguments), expected) << format.toStdString();
}

TEST(L10nTest, CaptureErrorDescriptions)
{
    const std::pair<CaptureError, QString> cases[] = {
        {CaptureError::unknownDestination("zz"), "Destination inconnue : zz. Choisis une destination ou retire le préfixe."},
        {CaptureError::invalidPath(), "Le chemin doit rester à l’intérieur du vault."},
        {CaptureError::missingVault(), "Choisis un dossier de vault existant dans les réglages."},
        {CaptureError::empty(), "Ajoute du texte ou une image avant d’enregistrer."},
        {CaptureError::invalidAttachment(), "Une image est introuvable. Le brouillon est conservé."},
        {CaptureError::modifiedDuringWrite(),
         "La note a été modifiée pendant l’enregistrement. Réessaie ; le brouillon est conservé."},
        {CaptureError::invalidUTF8(), "La note existante n’est pas encodée en UTF-8. Elle n’a pas été modifiée."},
    };
    for (const auto& [error, french] : cases) {
        EXPECT_EQ(error.errorDescription(), french);
        EXPECT_EQ(QString::fromUtf8(error.what()), french);
    }
}

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

TEST(SharedTextsTest, SettingsSectionsReadTheirOwnIdsOnly)
{
    QStringList ids;
    for (const SettingsSection section : SettingsSection::allCases()) {
        ids << section.id();
        EXPECT_EQ(SettingsSection::fromRawValue(section.id()), section);
    }
    EXPECT_EQ(ids, QStringList({"general", "destinations", "shortcuts", "guide", "history", "about"}));
    for (const QString raw : {"x", "History", ""})
        EXPECT_FALSE(SettingsSection::fromRawValue(raw).has_value()) << raw.toStdString();
    // A phone has no keyboard shortcuts to set.
    EXPECT_EQ(SettingsSection::mobileSections().size(), 5);
    EXPECT_FALSE(SettingsSection::mobileSections().contains(SettingsSection(SettingsSection::shortcuts)));
    EXPECT_EQ(SettingsSection(SettingsSection::history).title(), "Historique des captures");
}
