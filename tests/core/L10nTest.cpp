#include "core/CaptureError.h"
#include "core/L10n.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace quillor;

namespace {

// Puts the French tables back however the test ends.
struct FrenchAfterwards {
    ~FrenchAfterwards() { L10n::configure(QStringLiteral("fr")); }
};

const QString unknownDestinationKey =
    QStringLiteral("Destination inconnue : %@. Choisis une destination ou retire le préfixe.");

// Expected numbers are written with "." and the system locale's own decimal
// separator is put in.
QString withLocaleDecimal(QString expected)
{
    return expected.replace(QLatin1Char('.'), QLocale::system().decimalPoint());
}

} // namespace

TEST(L10nTest, ChoosesLanguageLikeThePreferredLocalisationMatcher)
{
    struct Case {
        QStringList requested;
        QStringList available;
        QString expected;
    };
    const QStringList shipped{QStringLiteral("en"), QStringLiteral("fr")};
    const std::vector<Case> cases = {
        {{QStringLiteral("fr")}, shipped, QStringLiteral("fr")},
        {{QStringLiteral("de")}, shipped, QStringLiteral("en")},
        {{QStringLiteral("de"), QStringLiteral("fr")}, shipped, QStringLiteral("fr")},
        {{QStringLiteral("fr-CA")}, shipped, QStringLiteral("fr")},
        {{QStringLiteral("fr_FR")}, shipped, QStringLiteral("fr")},
        {{QStringLiteral("EN-gb"), QStringLiteral("fr")}, shipped, QStringLiteral("en")},
        {{QStringLiteral("C")}, shipped, QStringLiteral("en")},
        {{}, shipped, QStringLiteral("en")},
        {{QStringLiteral("")}, shipped, QStringLiteral("en")},
        {{QStringLiteral("zh-Hans-CN")}, {QStringLiteral("en"), QStringLiteral("zh-Hans")}, QStringLiteral("zh-Hans")},
        {{QStringLiteral("zh-Hant-TW")}, {QStringLiteral("en"), QStringLiteral("zh")}, QStringLiteral("zh")},
        {{QStringLiteral("pt-BR"), QStringLiteral("fr")}, {QStringLiteral("fr"), QStringLiteral("pt")}, QStringLiteral("pt")},
        // "en" is the answer of last resort even when nothing is shipped.
        {{QStringLiteral("de")}, {QStringLiteral("fr")}, QStringLiteral("en")},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(L10n::chooseLanguage(c.requested, c.available), c.expected)
            << c.requested.join(QLatin1Char(',')).toStdString();
    }
}

TEST(L10nTest, EmbeddedTablesAreAvailableIncludingTheEmptyFrenchOne)
{
    const QStringList languages = L10n::availableLanguages();
    EXPECT_TRUE(languages.contains(QStringLiteral("en")));
    EXPECT_TRUE(languages.contains(QStringLiteral("fr")));
    QStringList sorted = languages;
    sorted.sort();
    EXPECT_EQ(languages, sorted);
}

TEST(L10nTest, ConfigureSwitchesTablesAndFallsBackToEnglish)
{
    FrenchAfterwards restore;
    const QString frenchKey = QStringLiteral("Nouvelle note");

    L10n::configure(QStringLiteral("fr-CA"));
    EXPECT_EQ(L10n::currentLanguage(), QStringLiteral("fr"));
    const QString before = L10n::text(frenchKey);
    EXPECT_EQ(before, frenchKey);

    L10n::configure(QStringLiteral("de"));
    EXPECT_EQ(L10n::currentLanguage(), QStringLiteral("en"));
    EXPECT_EQ(L10n::text(frenchKey), QStringLiteral("New note"));
    EXPECT_EQ(before, frenchKey);

    // A key no table knows comes back as written, whatever the language.
    EXPECT_EQ(L10n::text(QStringLiteral("Clé absente")), QStringLiteral("Clé absente"));
    EXPECT_EQ(L10n::text(QString()), QString());
}

TEST(L10nTest, ConfigureWithoutLanguageFollowsTheSystemLanguages)
{
    FrenchAfterwards restore;
    const QByteArray saved = qgetenv("LANGUAGE");
    const bool hadLanguage = qEnvironmentVariableIsSet("LANGUAGE");
    qputenv("LANGUAGE", "de:fr");

    L10n::configure(std::nullopt);
    const QStringList system = QLocale::system().uiLanguages();
    EXPECT_EQ(L10n::currentLanguage(), L10n::chooseLanguage(system, L10n::availableLanguages()));
    // Qt reads LANGUAGE only while the locale's messages category is "C".
    if (!system.isEmpty() && system.first() == QLatin1String("de")) {
        EXPECT_EQ(L10n::currentLanguage(), QStringLiteral("fr"));
    }

    if (hadLanguage)
        qputenv("LANGUAGE", saved);
    else
        qunsetenv("LANGUAGE");
}

TEST(L10nTest, FormatSubstitutesTextAndNumbers)
{
    struct Case {
        QString format;
        QList<FormatArgument> arguments;
        QString expected;
    };
    const std::vector<Case> cases = {
        {unknownDestinationKey, {QStringLiteral("zz")},
         QStringLiteral("Destination inconnue : zz. Choisis une destination ou retire le préfixe.")},
        {QStringLiteral("%2$@ puis %1$@"), {QStringLiteral("a"), QStringLiteral("b")}, QStringLiteral("b puis a")},
        {QStringLiteral("%1$@ sur %2$@, encore %1$@"), {QStringLiteral("3"), QStringLiteral("7")},
         QStringLiteral("3 sur 7, encore 3")},
        {QStringLiteral("%2$d/%1$d"), {1, 2}, QStringLiteral("2/1")},
        {QStringLiteral("%d %i %ld %lld %u %lu %llu"), {1234567, -5, 7L, 8LL, 9U, 10UL, 11ULL},
         QStringLiteral("1234567 -5 7 8 9 10 11")},
        {QStringLiteral("%llu"), {18446744073709551615ULL}, QStringLiteral("18446744073709551615")},
        {QStringLiteral("%.2f|%f|%.1f"), {3.14159, 2.5, 7}, withLocaleDecimal(QStringLiteral("3.14|2.500000|7.0"))},
        {QStringLiteral("%d"), {2.9}, QStringLiteral("2")},
        {QStringLiteral("%5d|%-4@|%03d|%+d"), {42, QStringLiteral("ab"), 7, 3}, QStringLiteral("   42|ab  |007|+3")},
        {QStringLiteral("%@ images"), {12}, QStringLiteral("12 images")},
        {QStringLiteral("100 %% et %d %"), {50}, QStringLiteral("100 % et 50 %")},
        // Unknown conversions and missing arguments stay visible as written.
        {QStringLiteral("%s et %@ et %@"), {QStringLiteral("a")}, QStringLiteral("%s et a et %@")},
        {QStringLiteral("%3$@"), {QStringLiteral("a")}, QStringLiteral("%3$@")},
        {QStringLiteral("é%"), {}, QStringLiteral("é%")},
    };
    for (const Case& c : cases)
        EXPECT_EQ(L10n::format(c.format, c.arguments), c.expected) << c.format.toStdString();
}

TEST(L10nTest, FormatTranslatesBeforeSubstituting)
{
    FrenchAfterwards restore;
    L10n::configure(QStringLiteral("en"));
    EXPECT_EQ(L10n::format(unknownDestinationKey, {QStringLiteral("zz")}),
              QStringLiteral("Unknown destination: zz. Choose a destination or remove the prefix."));
}

TEST(L10nTest, CaptureErrorDescriptionsInFrenchAndEnglish)
{
    FrenchAfterwards restore;
    struct Case {
        CaptureError error;
        QString french;
        QString english;
    };
    const std::vector<Case> cases = {
        {CaptureError::unknownDestination(QStringLiteral("zz")),
         QStringLiteral("Destination inconnue : zz. Choisis une destination ou retire le préfixe."),
         QStringLiteral("Unknown destination: zz. Choose a destination or remove the prefix.")},
        {CaptureError::invalidPath(), QStringLiteral("Le chemin doit rester à l’intérieur du vault."),
         QStringLiteral("The path must stay inside the vault.")},
        {CaptureError::missingVault(), QStringLiteral("Choisis un dossier de vault existant dans les réglages."),
         QStringLiteral("Choose an existing vault folder in Settings.")},
        {CaptureError::empty(), QStringLiteral("Ajoute du texte ou une image avant d’enregistrer."),
         QStringLiteral("Add some text or an image before saving.")},
        {CaptureError::invalidAttachment(), QStringLiteral("Une image est introuvable. Le brouillon est conservé."),
         QStringLiteral("An image cannot be found. The draft has been kept.")},
        {CaptureError::modifiedDuringWrite(),
         QStringLiteral("La note a été modifiée pendant l’enregistrement. Réessaie ; le brouillon est conservé."),
         QStringLiteral("The note was changed while it was being saved. Try again; the draft has been kept.")},
        {CaptureError::invalidUTF8(),
         QStringLiteral("La note existante n’est pas encodée en UTF-8. Elle n’a pas été modifiée."),
         QStringLiteral("The existing note is not encoded in UTF-8. It has not been changed.")},
    };
    L10n::configure(QStringLiteral("fr"));
    for (const Case& c : cases) {
        EXPECT_EQ(c.error.errorDescription(), c.french);
        EXPECT_STREQ(c.error.what(), c.french.toUtf8().constData());
    }
    L10n::configure(QStringLiteral("en"));
    for (const Case& c : cases)
        EXPECT_EQ(c.error.localizedDescription(), c.english);

    EXPECT_EQ(CaptureError::unknownDestination(QStringLiteral("a")), CaptureError::unknownDestination(QStringLiteral("a")));
    EXPECT_FALSE(CaptureError::unknownDestination(QStringLiteral("a")) == CaptureError::unknownDestination(QStringLiteral("b")));
}

TEST(L10nTest, LookupsStayConsistentWhileAnotherThreadSwitchesLanguage)
{
    FrenchAfterwards restore;
    const QString key = QStringLiteral("Note du jour");
    std::atomic<bool> stop = false;
    std::atomic<int> unexpected = 0;
    std::vector<std::thread> readers;
    for (int i = 0; i < 4; ++i) {
        readers.emplace_back([&] {
            while (!stop) {
                const QString value = L10n::text(key);
                if (value != key && value != QLatin1String("Daily note"))
                    ++unexpected;
            }
        });
    }
    for (int i = 0; i < 50; ++i)
        L10n::configure(i % 2 ? QStringLiteral("fr") : QStringLiteral("en"));
    stop = true;
    for (std::thread& reader : readers)
        reader.join();
    EXPECT_EQ(unexpected, 0);
}
