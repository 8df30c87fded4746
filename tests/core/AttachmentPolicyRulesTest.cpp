#include "core/AttachmentPolicy.h"

#include "TestSupport.h"
#include "core/Destination.h"

using namespace quillor;
using Location = AttachmentPolicy::Location;
using M = DeliveryMode;

namespace {

Destination destination(const QString& vault, DeliveryMode mode, const QString& path)
{
    return Destination(QUuid::createUuid(), "D", {}, vault, mode, path, {});
}

struct AttachmentPolicyRulesTest : ::testing::Test {
    QTemporaryDir dir;
    QString root = QDir(dir.path()).canonicalPath();
};

} // namespace

TEST_F(AttachmentPolicyRulesTest, ObsidianSettingOfTheVaultAboveTheDestination)
{
    const QString vault = root + "/Vault";
    QDir().mkpath(vault + "/.obsidian");
    const QString invalid = AttachmentPolicy::invalidObsidianSettingsFolder();
    const std::pair<std::optional<QByteArray>, QString> cases[] = {
        {std::nullopt, ""},                               {R"({"attachmentFolderPath": "./"})", "Inbox"},
        {R"({"attachmentFolderPath": "./files"})", "Inbox/files"}, {R"({"theme": "dark"})", ""},
        {R"({"attachmentFolderPath": "../x"})", invalid}, {R"({"attachmentFolderPath": ".hidden"})", invalid},
        {R"({"attachmentFolderPath": 3})", invalid},      {"not json", invalid},
    };
    for (const auto& [json, expected] : cases) {
        SCOPED_TRACE(json.value_or("no app.json").toStdString());
        QFile::remove(vault + "/.obsidian/app.json");
        if (json)
            test::put(vault + "/.obsidian/app.json", *json);
        // The destination's vault is the Inbox folder: it is re-rooted at the Obsidian vault.
        const Destination applied = AttachmentPolicy{}.applying(destination(vault + "/Inbox", M::newNote, ""));
        EXPECT_EQ(applied.attachmentFolder, expected);
        EXPECT_EQ(applied.vaultPath, vault);
        EXPECT_EQ(applied.path, "Inbox");
    }
}

TEST_F(AttachmentPolicyRulesTest, ReRootingKeepsTheNoteFolderAndDropsTheBookmark)
{
    const QString vault = root + "/U/Vault";
    QDir().mkpath(vault + "/.obsidian");
    Destination daily = destination(vault + "/Inbox", M::dailyNote, "Daily");
    daily.vaultBookmark = QByteArray("bookmark");
    for (const Location location : {Location::obsidian, Location::absoluteFolder}) {
        const Destination applied = AttachmentPolicy{location, vault}.applying(daily);
        EXPECT_EQ(applied.vaultPath, vault);
        EXPECT_EQ(applied.path, "Inbox/Daily");
        EXPECT_FALSE(applied.vaultBookmark.has_value());
    }
}

TEST_F(AttachmentPolicyRulesTest, RelativeFolderOfEachLocation)
{
    const QString vault = root + "/Plain";
    QDir().mkpath(vault);
    test::put(root + "/Outer/Vault/.obsidian/app.json", R"({"attachmentFolderPath": "Assets"})");
    const QString outside = AttachmentPolicy::outsideVaultFolder();
    const std::tuple<AttachmentPolicy, QString, DeliveryMode, QString, QString> cases[] = {   // policy, vault, mode, path
        {{Location::vaultRoot, {}}, vault, M::newNote, "Inbox", ""},
        {{Location::sameFolder, {}}, vault, M::appendNote, "Journal/Log.md", "Journal"},
        {{Location::subfolder, "img"}, vault, M::newNote, "Inbox", "Inbox/img"},
        {{Location::specifiedFolder, "Assets/x"}, vault, M::newNote, "Inbox", "Assets/x"},
        {{Location::absoluteFolder, vault + "/./Assets/"}, vault, M::newNote, "", "Assets"},
        {{Location::absoluteFolder, vault + "-sibling"}, vault, M::newNote, "", outside},
        {{Location::absoluteFolder, vault}, "", M::newNote, "", outside},
        // Without an Obsidian vault above it: the note folder.
        {{Location::obsidian, {}}, vault, M::appendNote, "Journal/Log.md", "Journal"},
        // An Obsidian vault below the destination's vault is not a reason to re-root.
        {{Location::obsidian, {}}, root + "/Outer", M::newNote, "Vault", "Vault/Assets"},
    };
    for (const auto& [policy, vaultPath, mode, path, expected] : cases)
        EXPECT_EQ(policy.relativeFolder(destination(vaultPath, mode, path)), expected) << path.toStdString();
}

TEST_F(AttachmentPolicyRulesTest, ConfigurationIssues)
{
    QDir().mkpath(root + "/Folder");
    const QString subfolder = "Saisis un nom de sous-dossier, sans chemin ni barre oblique.";
    const QString relative = "Choisis un chemin relatif valide pour les pièces jointes.";
    const QString absolute = "Choisis un dossier existant pour les pièces jointes.";
    const std::pair<AttachmentPolicy, std::optional<QString>> cases[] = {
        {{Location::obsidian, "../x"}, {}},        {{Location::subfolder, "a/b"}, subfolder},
        {{Location::specifiedFolder, "/Assets"}, relative}, {{Location::absoluteFolder, "Folder"}, absolute},
        {{Location::absoluteFolder, root + "/Folder"}, {}},
    };
    for (const auto& [policy, issue] : cases)
        EXPECT_EQ(policy.configurationIssue(), issue) << policy.folder.toStdString();
}
