#include "core/AttachmentPolicy.h"

#include "TestSupport.h"
#include "core/Destination.h"
#include "core/DestinationValidation.h"
#include "core/FileSystem.h"

#include <cstdio>

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
        // What Obsidian writes for the vault's own folder, and folders written from it.
        {R"({"attachmentFolderPath": "/"})", ""},         {R"({"attachmentFolderPath": "/Assets/img"})", "Assets/img"},
        {R"({"attachmentFolderPath": "/../x"})", invalid}, {R"({"attachmentFolderPath": "//x"})", invalid},
        {R"({"attachmentFolderPath": "/.hidden"})", invalid}, {R"({"attachmentFolderPath": "./../x"})", invalid},
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

TEST_F(AttachmentPolicyRulesTest, TheVaultsSettingsAreReadWithABoundAndAgainOnlyOnceChanged)
{
    const QString vault = root + "/Vault";
    const QString settings = vault + "/.obsidian/app.json";
    const auto folder = [&] { return AttachmentPolicy{}.relativeFolder(destination(vault, M::newNote, "Inbox")); };
    const QByteArray assets = R"({"attachmentFolderPath": "Assets"})";
    const QString invalid = AttachmentPolicy::invalidObsidianSettingsFolder();

    // Far too large for settings, valid JSON or not: not read at all.
    test::put(settings, assets.chopped(1) + R"(, "padding": ")" + QByteArray(2 * 1024 * 1024, 'x') + "\"}");
    EXPECT_EQ(folder(), invalid);
    test::put(settings, {});
    ASSERT_TRUE(QFile::resize(settings, qint64(1) << 40)) << "a sparse file of a terabyte";
    EXPECT_EQ(folder(), invalid);

    // Once read, a settings file changed in place or replaced is read again.
    test::put(settings, assets);
    EXPECT_EQ(folder(), "Assets");
    test::put(settings, R"({"attachmentFolderPath": "Assets/Images"})");
    EXPECT_EQ(folder(), "Assets/Images");
    test::put(settings + ".new", R"({"attachmentFolderPath": "Images"})");
    ASSERT_EQ(::rename(QFile::encodeName(settings + ".new").constData(), QFile::encodeName(settings).constData()), 0);
    EXPECT_EQ(folder(), "Images");
    QFile::remove(settings);
    EXPECT_EQ(folder(), "");
}

TEST_F(AttachmentPolicyRulesTest, AnUnusableSettingOfTheVaultIsNamedWithItsValue)
{
    const QString vault = root + "/Vault";
    const QString prefix = "Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : ";
    const QString unreadable = prefix + "le fichier est illisible ou trop volumineux.";
    const QString deep = QStringList(2500, "a").join('/');
    const std::pair<QByteArray, QString> cases[] = {
        {R"({"attachmentFolderPath": "/../x"})", prefix + "« /../x »."},
        {R"({"attachmentFolderPath": null})", prefix + "« null »."},
        {R"({"attachmentFolderPath": ["a", 1]})", prefix + "« [\"a\",1] »."},
        {R"({"attachmentFolderPath": ")" + deep.toUtf8() + "\"}", prefix + "« " + deep.left(80) + "… »."},
        {"[1]", unreadable},
    };
    // The folders an earlier delivery made of the deep value, as deep as the system allows.
    EXPECT_EQ(test::errnoOf([&] { FileSystem::createDirectories(vault + '/' + deep); }), ENAMETOOLONG);
    for (const auto& [json, message] : cases) {
        SCOPED_TRACE(json.left(60).toStdString());
        test::put(vault + "/.obsidian/app.json", json);
        const Destination applied = AttachmentPolicy{}.applying(destination(vault, M::newNote, "Inbox"));
        EXPECT_EQ(applied.attachmentFolder, AttachmentPolicy::invalidObsidianSettingsFolder());
        EXPECT_EQ(AttachmentPolicy::unusableObsidianSettingMessage(applied), message);
        EXPECT_EQ(DestinationValidation::issues({applied}, false),
                  QList<DestinationIssue>({{applied.id, "attachmentFolder", message}}));
    }
}

// A folder chosen to hold several vaults: Obsidian resolves a note's links
// from the folder holding ".obsidian", so each destination inside one of them
// is delivered relative to that vault, its files going where they went before.
TEST_F(AttachmentPolicyRulesTest, ADestinationInsideAnObsidianVaultBelowItsVaultPathIsDeliveredFromThatVault)
{
    const QString vaults = root + "/vaults";
    const QString vault = vaults + "/aide-fr";
    test::put(vault + "/.obsidian/app.json", R"({"attachmentFolderPath": "assets"})");
    QDir().mkpath(vaults + "/kepano/.obsidian");
    QDir().mkpath(vaults + "/plain/Inbox/.obsidian");
    test::put(root + "/elsewhere/vault/.obsidian/app.json", R"({"attachmentFolderPath": "assets"})");
    ASSERT_TRUE(QFile::link(root + "/elsewhere/vault", vaults + "/linked"));
    QDir().mkpath(vaults + "/.archive/old/.obsidian");
    const QString linkedVaults = root + "/vaults-link";   // a vault path the user chose through a link
    ASSERT_TRUE(QFile::link(vaults, linkedVaults));
    const struct {
        const char* name;
        AttachmentPolicy policy;
        QString vaultPath;
        DeliveryMode mode;
        QString path;
        QString expectedVault, expectedPath, expectedFolder;
        bool bookmarkKept;
    } cases[] = {
        {"vault above", {}, vaults, M::newNote, "aide-fr", vault, "", "assets", false},
        {"vault above, a folder of the vault", {}, vaults, M::dailyNote, "aide-fr/Daily", vault, "Daily", "assets", false},
        {"vault above, a note of the vault", {}, vaults, M::appendNote, "aide-fr/Log.md", vault, "Log.md", "assets", false},
        {"vault above, two levels", {}, root, M::newNote, "vaults/aide-fr/In", vault, "In", "assets", false},
        {"vault above, no app.json", {}, vaults, M::newNote, "kepano/Daily", vaults + "/kepano", "Daily", "", false},
        {"vault above, the note's folder", {Location::sameFolder, {}}, vaults, M::appendNote, "aide-fr/J/Log.md",
         vault, "J/Log.md", "J", false},
        {"vault above, an absolute folder in it", {Location::absoluteFolder, vault + "/img"}, vaults, M::newNote,
         "aide-fr", vault, "", "img", false},
        // Files that go outside the Obsidian vault cannot be linked from it: as before.
        {"vault above, files at the vault path", {Location::vaultRoot, {}}, vaults, M::newNote, "aide-fr", vaults,
         "aide-fr", "", true},
        {"vault above, files beside the vault", {Location::specifiedFolder, "Assets"}, vaults, M::newNote, "aide-fr",
         vaults, "aide-fr", "Assets", true},
        {"vault equal", {}, vault, M::newNote, "Inbox", vault, "Inbox", "assets", true},
        {"vault inside", {}, vault + "/Inbox", M::newNote, "", vault, "Inbox", "assets", false},
        {"no .obsidian", {}, vaults, M::newNote, "bare", vaults, "bare", "bare", true},
        // What becomes the root must be a folder a safe path may cross; else
        // the path stays as stored, for the delivery to refuse.
        {"vault above, through a link", {}, vaults, M::newNote, "linked/Inbox", vaults, "linked/Inbox", "linked/assets",
         true},
        {"vault above, through a link below a linked vault path", {}, linkedVaults, M::newNote, "linked/Inbox",
         linkedVaults, "linked/Inbox", "linked/assets", true},
        {"vault above, a linked vault path", {}, linkedVaults, M::newNote, "aide-fr/In", linkedVaults + "/aide-fr", "In",
         "assets", false},
        {"vault above, in a hidden folder", {}, vaults, M::newNote, ".archive/old/In", vaults, ".archive/old/In",
         ".archive/old", true},
        // Below the destination's folder: not the vault of its notes.
        {".obsidian below", {}, vaults, M::appendNote, "plain/Log.md", vaults, "plain/Log.md", "plain", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Destination stored = destination(c.vaultPath, c.mode, c.path);
        stored.vaultBookmark = QByteArray("bookmark");
        const Destination applied = c.policy.applying(stored);
        EXPECT_EQ(applied.vaultPath, c.expectedVault);
        EXPECT_EQ(applied.path, c.expectedPath);
        EXPECT_EQ(applied.attachmentFolder, c.expectedFolder);
        EXPECT_EQ(applied.vaultBookmark.has_value(), c.bookmarkKept);
        // The notes and the files land where they would from the vault path as stored.
        EXPECT_EQ(QDir::cleanPath(applied.folderPath()), QDir::cleanPath(stored.folderPath()));
    }
}
