#include "shell/AppMenuPresentation.h"
#include "shell/ProgramEntry.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace quillor;

TEST(ProgramEntryTest, OnlyATextLanguageCounts)
{
    const struct {
        QByteArray file;
        std::optional<QString> language;
    } cases[] = {
        {R"({"language":"de","destinations":[]})", QStringLiteral("de")},
        {R"({"language":"zh-Hans"})", QStringLiteral("zh-Hans")},
        {R"({"language":3})", std::nullopt},
        {R"({"language":null})", std::nullopt},
        {R"({"language":["fr"]})", std::nullopt},
        {R"({"destinations":[]})", std::nullopt},
        {R"(["language","fr"])", std::nullopt},
        {R"({"language":"fr")", std::nullopt},
        {"", std::nullopt},
        {"\xff\xfe{", std::nullopt},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ProgramEntry::language(c.file), c.language) << c.file.toStdString();

    QTemporaryDir folder;
    EXPECT_EQ(ProgramEntry::readLanguage(folder.filePath(QStringLiteral("preferences.json"))), std::nullopt);
    // A folder where the file should be cannot be read either.
    EXPECT_EQ(ProgramEntry::readLanguage(folder.path()), std::nullopt);
}

TEST(AppMenuPresentationTest, TheCaptureItemShowsTheHotKeyInForce)
{
    const struct {
        std::optional<ShortcutCombination> live;
        QKeySequence keys;
    } cases[] = {
        {ShortcutCombination{49, 0x1000, QStringLiteral("⌃Espace")}, QKeySequence(Qt::ControlModifier | Qt::Key_Space)},
        {ShortcutCombination{49, 0x1800, QStringLiteral("whatever")}, QKeySequence(Qt::ControlModifier | Qt::AltModifier | Qt::Key_Space)},
        {ShortcutCombination{40, 0x1800, QStringLiteral("⌃⌥K")}, QKeySequence(Qt::ControlModifier | Qt::AltModifier | Qt::Key_K)},
        {ShortcutCombination{38, 0x300, QStringLiteral("⇧⌘j")}, QKeySequence(Qt::MetaModifier | Qt::ShiftModifier | Qt::Key_J)},
        {ShortcutCombination{122, 0x200, QStringLiteral("⇧F1")}, QKeySequence(Qt::ShiftModifier | Qt::Key_F1)},
        {ShortcutCombination{40, 0x1000, QStringLiteral("⌃")}, QKeySequence()},
    };
    for (const auto& c : cases) {
        const AppMenuPresentation::CaptureItem item = AppMenuPresentation::captureItem(c.live);
        EXPECT_EQ(item.keys, c.keys) << c.live->label.toStdString();
        EXPECT_TRUE(item.toolTip.isEmpty());
    }
    EXPECT_EQ(AppMenuPresentation::captureItem(std::nullopt),
              (AppMenuPresentation::CaptureItem{
                  {}, QStringLiteral("Raccourci indisponible ; tu peux toujours ouvrir la capture depuis ce menu.")}));
}

TEST(AppMenuPresentationTest, VersionAndLatestCaptureLines)
{
    EXPECT_EQ(AppMenuPresentation::versionTitle("1.2", "34", "", false), QStringLiteral("1.2 (34) · Application"));
    EXPECT_EQ(AppMenuPresentation::versionTitle("", "", "", false), QStringLiteral("— (—) · Application"));
    EXPECT_EQ(AppMenuPresentation::versionTitle("1.2", "34", "/tmp/q", true), QStringLiteral("1.2 (34) · Test"));
    EXPECT_EQ(AppMenuPresentation::versionTitle("1.2", "34", "", true), QStringLiteral("1.2 (34) · Sandbox"));

    DeliveryReceipt receipt{QStringLiteral("ID"), QStringLiteral("/v/a.md"), QStringLiteral("2025-01-31T08:05:09Z")};
    EXPECT_EQ(AppMenuPresentation::latestTitle(receipt), QStringLiteral("Dernière capture : Note · 2025-01-31T08:05:09Z"));
    receipt.destinationName = QStringLiteral("Carnet");
    EXPECT_EQ(AppMenuPresentation::latestTitle(receipt), QStringLiteral("Dernière capture : Carnet · 2025-01-31T08:05:09Z"));
    EXPECT_EQ(AppMenuPresentation::latestTitle(std::nullopt), QStringLiteral("Aucune capture livrée"));
}
