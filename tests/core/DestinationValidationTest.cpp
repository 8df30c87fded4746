#include "core/DestinationValidation.h"

#include "core/L10n.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTimeZone>

#include <gtest/gtest.h>

using namespace quillor;

namespace {

const QString aliasCharacters = QStringLiteral("Utilise un alias composé de lettres, chiffres, tirets ou traits de soulignement.");
const QString aliasTaken = QStringLiteral("Cet alias est déjà utilisé (sans distinction de casse).");
const QString unsafePath = QStringLiteral("Le chemin doit rester dans le dossier de notes, sans lien symbolique ni dossier caché.");
const QString noVault = QStringLiteral("Choisis un dossier de notes existant.");
const QString fileNotFolder = QStringLiteral("Ce chemin désigne un fichier, pas un dossier.");
const QString folderNotNote = QStringLiteral("Ce chemin désigne un dossier, pas une note.");
const QString parentIsFile = QStringLiteral("Un dossier parent est en réalité un fichier.");

const QUuid firstID(QStringLiteral("{00000000-0000-4000-8000-000000000001}"));
const QUuid secondID(QStringLiteral("{00000000-0000-4000-8000-000000000002}"));

// Builds a small vault: "dir:" entries are folders, "link:" entries are
// symbolic links to the folder "Real", anything else is a file.
class Vault {
public:
    explicit Vault(const QStringList& entries)
    {
        root = dir.path() + QStringLiteral("/vault");
        QDir().mkpath(root + QStringLiteral("/Real"));
        for (const QString& entry : entries) {
            const QString path = root + QLatin1Char('/') + entry.section(QLatin1Char(':'), -1);
            if (entry.startsWith(QStringLiteral("dir:"))) {
                QDir().mkpath(path);
            } else if (entry.startsWith(QStringLiteral("link:"))) {
                QFile::link(root + QStringLiteral("/Real"), path);
            } else {
                QDir().mkpath(QFileInfo(path).path());
                QFile file(path);
                file.open(QIODevice::WriteOnly);
                file.write("x");
            }
        }
    }
    QTemporaryDir dir;
    QString root;
};

Destination destination(const QUuid& id, const QString& vault, DeliveryMode mode, const QString& path,
                        const QString& attachmentFolder = {}, const QString& alias = {})
{
    return Destination(id, QStringLiteral("Name"), alias, vault, mode, path, attachmentFolder);
}

struct Finding {
    QString field;
    QString message;
};

QList<DestinationIssue> expected(const QUuid& id, const QList<Finding>& findings)
{
    QList<DestinationIssue> issues;
    for (const Finding& finding : findings)
        issues.append({id, finding.field, L10n::text(finding.message)});
    return issues;
}

} // namespace

TEST(DestinationValidationTest, SingleDestinationFindings)
{
    struct Case {
        const char* name;
        QStringList entries;
        QString vault;   // relative to the temporary folder; "-" for no vault at all
        DeliveryMode mode;
        QString path;
        QString attachmentFolder;
        QString alias;
        bool allowUnconfigured;
        QList<Finding> findings;
    };
    const QString v = QStringLiteral("vault");
    const QString none = QStringLiteral("-");
    const auto newNote = DeliveryMode::newNote;
    const auto append = DeliveryMode::appendNote;
    const auto daily = DeliveryMode::dailyNote;
    const QList<Case> cases = {
        {"all well", {}, v, newNote, "", "", "", false, {}},
        {"alias with a space", {}, v, newNote, "", "", "a b", false, {{"alias", aliasCharacters}}},
        {"accented alias", {}, v, newNote, "", "", "éàç", false, {}},
        {"alias with digits and signs", {}, v, newNote, "", "", "a_b-1", false, {}},
        {"alias with punctuation", {}, v, newNote, "", "", "in,", false, {{"alias", aliasCharacters}}},
        {"alias with a combining accent", {}, v, newNote, "", "", "e\u0301t\u0301e", false, {}},
        {"unconfigured append without note, allowed", {}, none, append, "", "", "", true, {{"path", unsafePath}}},
        {"unconfigured append without note, refused", {}, none, append, "", "", "", false, {{"vaultPath", noVault}}},
        {"unconfigured unsafe texts", {}, none, newNote, "../x", ".hidden", "", true,
         {{"path", unsafePath}, {"attachmentFolder", unsafePath}}},
        {"unconfigured safe texts", {}, none, daily, "Daily", "Attachments/Quillor", "", true, {}},
        {"missing vault", {}, "missing", newNote, "../x", "", "", false, {{"vaultPath", noVault}}},
        {"vault is a file", {"file"}, "vault/file", newNote, "", "", "", false, {{"vaultPath", noVault}}},
        {"folders still to create", {}, v, newNote, "Inbox/2026", "Attachments/Quillor", "", false, {}},
        {"new-note folder is a file", {"note.md"}, v, newNote, "note.md", "", "", false, {{"path", fileNotFolder}}},
        {"append note is a folder", {"dir:Journal/Log.md"}, v, append, "Journal/Log", "", "", false,
         {{"path", folderNotNote}}},
        {"append note exists", {"Journal/Log.md"}, v, append, "Journal/Log.md", "", "", false, {}},
        {"append without note", {}, v, append, "", "", "", false, {{"path", unsafePath}}},
        {"parent is a file", {"file.txt"}, v, daily, "file.txt/a/b", "", "", false, {{"path", parentIsFile}}},
        {"append under a file", {"Journal"}, v, append, "Journal/Log.md", "", "", false, {{"path", parentIsFile}}},
        {"link component", {"link:Linked"}, v, newNote, "Linked/Inbox", "", "", false, {{"path", unsafePath}}},
        {"hidden folder", {}, v, newNote, ".obsidian", "", "", false, {{"path", unsafePath}}},
        {"attachment folder is a file", {"img"}, v, newNote, "", "img", "", false,
         {{"attachmentFolder", fileNotFolder}}},
        {"attachment folder under a file", {"img"}, v, newNote, "", "img/Quillor", "", false,
         {{"attachmentFolder", parentIsFile}}},
        {"attachment folder leaves the vault", {}, v, newNote, "", "../out", "", false,
         {{"attachmentFolder", unsafePath}}},
        {"attachment folder through a link", {"link:Linked"}, v, newNote, "", "Linked", "", false,
         {{"attachmentFolder", unsafePath}}},
        {"both paths wrong, path first", {"note", "img"}, v, newNote, "note", "img", "", false,
         {{"path", fileNotFolder}, {"attachmentFolder", fileNotFolder}}},
        {"vault through a link", {"link:Alias"}, "vault/Alias", newNote, "a/b", "c", "", false, {}},
        {"vault with a trailing slash", {"file"}, "vault/", daily, "file/x", "", "", false, {{"path", parentIsFile}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Vault vault(c.entries);
        const QString vaultPath = c.vault == none ? QString() : vault.dir.path() + QLatin1Char('/') + c.vault;
        const auto issues = DestinationValidation::issues(
            {destination(firstID, vaultPath, c.mode, c.path, c.attachmentFolder, c.alias)}, c.allowUnconfigured);
        EXPECT_EQ(issues, expected(firstID, c.findings));
    }
}

TEST(DestinationValidationTest, FindingsComeDestinationByDestinationInCheckOrder)
{
    const Vault vault({"note", "img"});
    const QList<Destination> destinations = {
        destination(firstID, vault.root, DeliveryMode::newNote, "note", "img", "a b"),
        destination(secondID, vault.root + "/missing", DeliveryMode::newNote, "", "", "A B"),
    };
    const auto issues = DestinationValidation::issues(destinations, false);
    EXPECT_EQ(issues, expected(firstID, {{"alias", aliasCharacters},
                                         {"alias", aliasTaken},
                                         {"path", fileNotFolder},
                                         {"attachmentFolder", fileNotFolder}})
                          + expected(secondID, {{"alias", aliasCharacters}, {"alias", aliasTaken}, {"vaultPath", noVault}}));
}

TEST(DestinationValidationTest, DuplicateAliasesIgnoreCaseAndEmptyAliasesNeverClash)
{
    const Vault vault({});
    const auto issues = DestinationValidation::issues(
        {destination(firstID, vault.root, DeliveryMode::newNote, "", "", "Inbox"),
         destination(secondID, vault.root, DeliveryMode::newNote, "", "", "inbox"),
         destination(QUuid::createUuid(), vault.root, DeliveryMode::newNote, "", "", ""),
         destination(QUuid::createUuid(), vault.root, DeliveryMode::newNote, "", "", "")},
        false);
    EXPECT_EQ(issues, expected(firstID, {{"alias", aliasTaken}}) + expected(secondID, {{"alias", aliasTaken}}));
}

TEST(DestinationValidationTest, NotePath)
{
    // 00:30 on 14 March in the system's zone, handed over in UTC: the date must
    // be taken in the system's zone.
    const QDateTime date =
        QDateTime(QDate(2026, 3, 14), QTime(0, 30), QTimeZone::systemTimeZone()).toTimeZone(QTimeZone::utc());
    const struct {
        DeliveryMode mode;
        QString path;
        QString expected;
    } cases[] = {
        {DeliveryMode::newNote, "", "date-identifiant.md"},
        {DeliveryMode::newNote, "Inbox", "Inbox/date-identifiant.md"},
        {DeliveryMode::dailyNote, "", "2026-03-14.md"},
        {DeliveryMode::dailyNote, "Daily", "Daily/2026-03-14.md"},
        {DeliveryMode::appendNote, "", ".md"},
        {DeliveryMode::appendNote, "Journal/Log.md", "Journal/Log.md"},
        {DeliveryMode::appendNote, "Journal/today", "Journal/today.md"},
        {DeliveryMode::appendNote, "Notes.MD", "Notes.MD.md"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        EXPECT_EQ(DestinationValidation::notePath(destination(firstID, "/v", c.mode, c.path), date), c.expected);
    }
}

TEST(DestinationValidationTest, ChangingModeMovesBetweenNoteAndFolder)
{
    const struct {
        DeliveryMode from;
        QString path;
        DeliveryMode to;
        QString expected;
    } cases[] = {
        {DeliveryMode::appendNote, "Captures.md", DeliveryMode::newNote, ""},
        {DeliveryMode::newNote, "", DeliveryMode::appendNote, "Captures.md"},
        {DeliveryMode::appendNote, "Journal/Log.md", DeliveryMode::dailyNote, "Journal"},
        {DeliveryMode::dailyNote, "Inbox/2026", DeliveryMode::appendNote, "Inbox/2026/Captures.md"},
        {DeliveryMode::newNote, "Inbox", DeliveryMode::dailyNote, "Inbox"},
        {DeliveryMode::appendNote, "Journal/Log", DeliveryMode::appendNote, "Journal/Log"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        Destination original = destination(firstID, "/v", c.from, c.path, "img", "in");
        original.vaultBookmark = QByteArray("bookmark");
        Destination wanted = original;
        wanted.mode = c.to;
        wanted.path = c.expected;
        EXPECT_EQ(DestinationSettings::changingMode(original, c.to), wanted);
    }
}

TEST(DestinationValidationTest, NamingFolderTakesTheFolderNameAsASlug)
{
    const struct {
        QString folder;
        QString name;
    } cases[] = {
        {"/home/u/Mes Notes été", "Mes-Notes-ete"},
        {"/home/u/Inbox/", "Inbox"},
        {"/home/u/a/./b/..", "a"},
        {"/home/u/--Notes_2024--", "Notes_2024"},
        {"/home/u/!!!", L10n::text(QStringLiteral("Destination"))},
        {"/", L10n::text(QStringLiteral("Destination"))},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.toStdString());
        const Destination original = destination(firstID, "/v", DeliveryMode::newNote, "Inbox", "img", "in");
        Destination wanted = original;
        wanted.name = c.name;
        EXPECT_EQ(DestinationSettings::namingFolder(original, c.folder), wanted);
    }
}
