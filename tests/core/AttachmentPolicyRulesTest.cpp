#include "core/AttachmentPolicy.h"
#include "core/Destination.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace quillor {
namespace {

using Location = AttachmentPolicy::Location;

class AttachmentPolicyRulesTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(directory.isValid());
        root = QDir(directory.path()).canonicalPath();
    }

    QString make(const QString& relative)
    {
        const QString path = root + u'/' + relative;
        EXPECT_TRUE(QDir().mkpath(path));
        return path;
    }

    void writeAppSettings(const QString& vault, const QByteArray& json)
    {
        ASSERT_TRUE(QDir().mkpath(vault + QStringLiteral("/.obsidian")));
        QFile file(vault + QStringLiteral("/.obsidian/app.json"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(json);
    }

    static Destination destination(const QString& vault, DeliveryMode mode, const QString& path)
    {
        return Destination(QUuid::createUuid(), QStringLiteral("D"), QString(), vault, mode, path, QString());
    }

    QTemporaryDir directory;
    QString root;
};

TEST_F(AttachmentPolicyRulesTest, ObsidianSettingValues)
{
    const QString vault = make(QStringLiteral("Vault"));
    make(QStringLiteral("Vault/.obsidian"));
    const QString invalid = AttachmentPolicy::invalidObsidianSettingsFolder();
    const struct {
        QByteArray json;
        QString expected;
    } cases[] = {
        {R"({"attachmentFolderPath": "."})", QStringLiteral("Inbox")},
        {R"({"attachmentFolderPath": "./"})", QStringLiteral("Inbox")},
        {R"({"attachmentFolderPath": "./files"})", QStringLiteral("Inbox/files")},
        {R"({"attachmentFolderPath": "Assets/img"})", QStringLiteral("Assets/img")},
        {R"({"attachmentFolderPath": ""})", QString()},
        {R"({"theme": "dark"})", QString()},
        {R"({"attachmentFolderPath": "/"})", invalid},
        {R"({"attachmentFolderPath": "/Assets"})", invalid},
        {R"({"attachmentFolderPath": "../x"})", invalid},
        {R"({"attachmentFolderPath": ".hidden"})", invalid},
        {R"({"attachmentFolderPath": 3})", invalid},
        {R"({"attachmentFolderPath": null})", invalid},
        {"[1]", invalid},
        {"not json", invalid},
    };
    const AttachmentPolicy policy{Location::obsidian, QString()};
    for (const auto& testCase : cases) {
        writeAppSettings(vault, testCase.json);
        // The destination sits in the vault's Inbox folder: it is re-rooted at the vault.
        const Destination applied = policy.applying(destination(vault + QStringLiteral("/Inbox"), DeliveryMode::newNote, QString()));
        EXPECT_EQ(applied.attachmentFolder, testCase.expected) << testCase.json.constData();
        EXPECT_EQ(applied.vaultPath, vault);
        EXPECT_EQ(applied.path, QStringLiteral("Inbox"));
    }
}

TEST_F(AttachmentPolicyRulesTest, ObsidianWithoutSettingsFileOrVault)
{
    const QString vault = make(QStringLiteral("Vault"));
    make(QStringLiteral("Vault/.obsidian"));
    const AttachmentPolicy policy{Location::obsidian, QString()};

    // No app.json: the vault root, also once re-rooted from a folder inside it.
    EXPECT_EQ(policy.applying(destination(vault, DeliveryMode::newNote, QStringLiteral("Inbox"))).attachmentFolder, QString());
    EXPECT_EQ(policy.applying(destination(vault + QStringLiteral("/Inbox"), DeliveryMode::newNote, QString())).attachmentFolder,
              QString());

    // No Obsidian vault above the folder: the note folder.
    const QString plain = make(QStringLiteral("Plain"));
    EXPECT_EQ(policy.relativeFolder(destination(plain, DeliveryMode::appendNote, QStringLiteral("Journal/Log.md"))),
              QStringLiteral("Journal"));

    // An unconfigured destination.
    EXPECT_EQ(policy.relativeFolder(destination(QString(), DeliveryMode::newNote, QStringLiteral("Inbox"))),
              QStringLiteral("Inbox"));
    EXPECT_EQ((AttachmentPolicy{Location::absoluteFolder, vault}.relativeFolder(destination(QString(), DeliveryMode::newNote, QString()))),
              AttachmentPolicy::outsideVaultFolder());
}

TEST_F(AttachmentPolicyRulesTest, ObsidianVaultBelowTheDestinationFolder)
{
    const QString outer = make(QStringLiteral("Outer"));
    make(QStringLiteral("Outer/Vault/.obsidian"));
    writeAppSettings(outer + QStringLiteral("/Vault"), R"({"attachmentFolderPath": "Assets"})");
    const AttachmentPolicy policy{Location::obsidian, QString()};
    // The .obsidian folder lies below the vault path: no re-rooting.
    const Destination applied = policy.applying(destination(outer, DeliveryMode::newNote, QStringLiteral("Vault")));
    EXPECT_EQ(applied.vaultPath, outer);
    EXPECT_EQ(applied.attachmentFolder, QStringLiteral("Vault/Assets"));
}

TEST_F(AttachmentPolicyRulesTest, ReRootingKeepsTheNoteFolderAndDropsTheBookmark)
{
    const QString vault = make(QStringLiteral("U/Vault"));
    make(QStringLiteral("U/Vault/.obsidian"));
    Destination daily = destination(vault + QStringLiteral("/Inbox"), DeliveryMode::dailyNote, QStringLiteral("Daily"));
    daily.vaultBookmark = QByteArray("bookmark");
    for (const Location location : {Location::obsidian, Location::absoluteFolder}) {
        const Destination applied = AttachmentPolicy{location, vault}.applying(daily);
        EXPECT_EQ(applied.vaultPath, vault);
        EXPECT_EQ(applied.path, QStringLiteral("Inbox/Daily"));
        EXPECT_FALSE(applied.vaultBookmark.has_value());
    }
    // Other locations never re-root.
    const Destination same = AttachmentPolicy{Location::sameFolder, QString()}.applying(daily);
    EXPECT_EQ(same.vaultPath, daily.vaultPath);
    EXPECT_EQ(same.attachmentFolder, QStringLiteral("Daily"));
}

TEST_F(AttachmentPolicyRulesTest, FolderLocations)
{
    const QString vault = make(QStringLiteral("Vault"));
    make(QStringLiteral("Elsewhere"));
    const struct {
        AttachmentPolicy policy;
        DeliveryMode mode;
        QString path;
        QString expected;
    } cases[] = {
        {{Location::vaultRoot, QString()}, DeliveryMode::newNote, QStringLiteral("Inbox"), QString()},
        {{Location::sameFolder, QString()}, DeliveryMode::appendNote, QStringLiteral("Journal/Log.md"), QStringLiteral("Journal")},
        {{Location::sameFolder, QString()}, DeliveryMode::appendNote, QStringLiteral("Log.md"), QString()},
        {{Location::subfolder, QStringLiteral("img")}, DeliveryMode::newNote, QString(), QStringLiteral("img")},
        {{Location::subfolder, QStringLiteral("img")}, DeliveryMode::newNote, QStringLiteral("Inbox"), QStringLiteral("Inbox/img")},
        {{Location::subfolder, QStringLiteral("a/b")}, DeliveryMode::newNote, QStringLiteral("Inbox"), QStringLiteral("Inbox/a/b")},
        {{Location::specifiedFolder, QStringLiteral("Assets/x")}, DeliveryMode::newNote, QStringLiteral("Inbox"), QStringLiteral("Assets/x")},
        {{Location::absoluteFolder, vault}, DeliveryMode::newNote, QStringLiteral("Inbox"), QString()},
        {{Location::absoluteFolder, vault + QStringLiteral("/./Assets/")}, DeliveryMode::newNote, QString(), QStringLiteral("Assets")},
        {{Location::absoluteFolder, root + QStringLiteral("/Elsewhere")}, DeliveryMode::newNote, QString(),
         AttachmentPolicy::outsideVaultFolder()},
        {{Location::absoluteFolder, vault + QStringLiteral("-sibling")}, DeliveryMode::newNote, QString(),
         AttachmentPolicy::outsideVaultFolder()},
    };
    for (const auto& testCase : cases) {
        EXPECT_EQ(testCase.policy.relativeFolder(destination(vault, testCase.mode, testCase.path)), testCase.expected)
            << testCase.policy.folder.toStdString() << " / " << testCase.path.toStdString();
    }
}

TEST_F(AttachmentPolicyRulesTest, ConfigurationIssues)
{
    const QString existing = make(QStringLiteral("Folder"));
    const QString subfolderMessage = QStringLiteral("Saisis un nom de sous-dossier, sans chemin ni barre oblique.");
    const QString relativeMessage = QStringLiteral("Choisis un chemin relatif valide pour les pièces jointes.");
    const QString absoluteMessage = QStringLiteral("Choisis un dossier existant pour les pièces jointes.");
    const struct {
        AttachmentPolicy policy;
        std::optional<QString> expected;
    } cases[] = {
        {{Location::obsidian, QStringLiteral("../anything")}, std::nullopt},
        {{Location::vaultRoot, QStringLiteral("/x")}, std::nullopt},
        {{Location::sameFolder, QString()}, std::nullopt},
        {{Location::subfolder, QStringLiteral("img")}, std::nullopt},
        {{Location::subfolder, QString()}, subfolderMessage},
        {{Location::subfolder, QStringLiteral("a/b")}, subfolderMessage},
        {{Location::subfolder, QStringLiteral(".img")}, subfolderMessage},
        {{Location::specifiedFolder, QStringLiteral("Assets/img")}, std::nullopt},
        {{Location::specifiedFolder, QString()}, relativeMessage},
        {{Location::specifiedFolder, QStringLiteral("/Assets")}, relativeMessage},
        {{Location::absoluteFolder, existing}, std::nullopt},
        {{Location::absoluteFolder, existing + QStringLiteral("/missing")}, absoluteMessage},
        {{Location::absoluteFolder, QStringLiteral("Folder")}, absoluteMessage},
    };
    for (const auto& testCase : cases)
        EXPECT_EQ(testCase.policy.configurationIssue(), testCase.expected) << testCase.policy.folder.toStdString();
}

} // namespace
} // namespace quillor
