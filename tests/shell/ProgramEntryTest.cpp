#include "shell/AppMenuPresentation.h"
#include "shell/ProgramEntry.h"

#include <QDir>
#include <QCoreApplication>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTemporaryDir>
#include <QTranslator>

#include <sys/stat.h>

#include <gtest/gtest.h>

using namespace quillor;

TEST(ProgramEntryTest, OnlyATextLanguageCounts)
{
    const struct { QByteArray file; std::optional<QString> language; } cases[] = {
        {R"({"language":"de","destinations":[]})", QStringLiteral("de")},
        {R"({"language":3})", std::nullopt},
        {R"({"language":null})", std::nullopt},
        {R"({"destinations":[]})", std::nullopt},
        {R"(["language","fr"])", std::nullopt},
        {R"({"language":"fr")", std::nullopt},
        {"\xff\xfe{", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramEntry::language(c.file), c.language) << c.file.toStdString();

    QTemporaryDir folder;
    EXPECT_EQ(ProgramEntry::readLanguage(folder.filePath(QStringLiteral("preferences.json"))), std::nullopt);
    // A folder where the file should be cannot be read either.
    EXPECT_EQ(ProgramEntry::readLanguage(folder.path()), std::nullopt);
}

// Every language of the settings but English, whose texts are Qt's own.
TEST(ProgramEntryTest, QtsOwnTextsComeInEachInterfaceLanguage)
{
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_fr.qm")))
        GTEST_SKIP() << "the system has no Qt translations";
    const struct {
        QString language, cancel, folder;
    } cases[] = {
        {"fr", "Annuler", "Dossier"}, {"es", "Cancelar", "Carpeta"},
        {"de", "Abbrechen", "Verzeichnis"}, {"zh-Hans", "取消", "文件夹"},
    };
    for (const auto& [language, cancel, folder] : cases) {
        ProgramEntry::QtTexts translator;
        ASSERT_TRUE(ProgramEntry::loadQtTexts(translator, language)) << language.toStdString();
        EXPECT_EQ(translator.translate("QPlatformTheme", "Cancel"), cancel) << language.toStdString();
        // The folder dialog's Type column, as Qt words it.
        QCoreApplication::installTranslator(&translator);
        const QString type = QFileIconProvider().type(QFileInfo(QDir::tempPath()));
        QCoreApplication::removeTranslator(&translator);
        EXPECT_EQ(type, folder) << language.toStdString();
    }
}

// Read before anything else runs: what is no regular file gives no language,
// at once, and is left to the model's start-up to set aside.
TEST(ProgramEntryTest, TheFirstReadOfTheSettingsIsBounded)
{
    QTemporaryDir folder;
    const auto place = [&](const char* name) { return folder.filePath(QString::fromLatin1(name)); };
    ASSERT_EQ(mkfifo(QFile::encodeName(place("fifo")).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), place("endless")));
    ASSERT_TRUE(QDir(folder.path()).mkdir(QStringLiteral("folder")));
    for (const char* name : {"fifo", "endless", "folder"})
        EXPECT_EQ(ProgramEntry::readLanguage(place(name)), std::nullopt) << name;
}

TEST(AppMenuPresentationTest, TheCaptureItemShowsTheHotKeyInForce)
{
    using Qt::Key_Space, Qt::ControlModifier, Qt::AltModifier, Qt::ShiftModifier;
    const struct { ShortcutCombination live; QKeySequence keys; } cases[] = {
        // The Space bar is known by its code, whatever its label says.
        {{49, 0x1800, QStringLiteral("whatever")}, QKeySequence(ControlModifier | AltModifier | Key_Space)},
        {{40, 0x1800, QStringLiteral("⌃⌥K")}, QKeySequence(ControlModifier | AltModifier | Qt::Key_K)},
        {{38, 0x300, QStringLiteral("⇧⌘j")}, QKeySequence(Qt::MetaModifier | ShiftModifier | Qt::Key_J)},
        {{122, 0x200, QStringLiteral("⇧F1")}, QKeySequence(ShiftModifier | Qt::Key_F1)},
        // The key comes from the code, whatever notation the label was stored in.
        {{40, 0x1800, QStringLiteral("Ctrl+Alt+K")}, QKeySequence(ControlModifier | AltModifier | Qt::Key_K)},
        {{0x7F, 0x1000, QStringLiteral("⌃")}, QKeySequence()},
    };
    for (const auto& c : cases) {
        const AppMenuPresentation::CaptureItem item = AppMenuPresentation::captureItem(c.live);
        EXPECT_EQ(item.keys, c.keys) << c.live.label.toStdString();
        EXPECT_TRUE(item.toolTip.isEmpty());
    }
}

TEST(AppMenuPresentationTest, VersionAndLatestCaptureLines)
{
    using AppMenuPresentation::versionTitle, AppMenuPresentation::latestTitle;
    EXPECT_EQ(versionTitle("1.2", "34", "", false), QStringLiteral("1.2 (34) · Application"));
    EXPECT_EQ(versionTitle("", "", "", false), QStringLiteral("— (—) · Application"));
    EXPECT_EQ(versionTitle("1.2", "34", "/tmp/q", true), QStringLiteral("1.2 (34) · Test"));
    EXPECT_EQ(versionTitle("1.2", "34", "", true), QStringLiteral("1.2 (34) · Sandbox"));

    DeliveryReceipt receipt{QStringLiteral("ID"), QStringLiteral("/v/a.md"), QStringLiteral("2025-01-31T08:05:09Z")};
    EXPECT_EQ(latestTitle(receipt), QStringLiteral("Dernière capture : Note · 2025-01-31T08:05:09Z"));
    receipt.destinationName = QStringLiteral("Carnet");
    EXPECT_EQ(latestTitle(receipt), QStringLiteral("Dernière capture : Carnet · 2025-01-31T08:05:09Z"));
    EXPECT_EQ(latestTitle(std::nullopt), QStringLiteral("Aucune capture livrée"));
}
