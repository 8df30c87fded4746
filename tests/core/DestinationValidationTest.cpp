#include "core/DestinationValidation.h"

#include "TestSupport.h"
#include "core/L10n.h"

#include <QTimeZone>

using namespace quillor;

namespace {

const QString aliasCharacters = "Utilise un alias composé de lettres, chiffres, tirets ou traits de soulignement.";
const QString aliasTaken = "Cet alias est déjà utilisé (sans distinction de casse).";
const QString unsafe = "Le chemin doit rester dans le dossier de notes, sans lien symbolique ni dossier caché.";
const QString noVault = "Choisis un dossier de notes existant.";
const QString fileNotFolder = "Ce chemin désigne un fichier, pas un dossier.";
const QString folderNotNote = "Ce chemin désigne un dossier, pas une note.";
const QString parentIsFile = "Un dossier parent est en réalité un fichier.";
const QUuid firstID = QUuid::createUuid();
const QUuid secondID = QUuid::createUuid();

// A vault whose entries are files, or folders ("dir:") or links to its folder "Real" ("link:").
struct Vault {
    explicit Vault(const QStringList& entries)
    {
        QDir().mkpath(root + "/Real");
        for (const QString& entry : entries) {
            const QString path = root + '/' + entry.section(':', -1);
            if (entry.startsWith("dir:"))
                QDir().mkpath(path);
            else if (entry.startsWith("link:"))
                QFile::link(root + "/Real", path);
            else
                test::put(path, "x");
        }
    }
    QTemporaryDir dir;
    QString root = dir.path() + "/vault";
};

Destination destination(const QUuid& id, const QString& vault, DeliveryMode mode, const QString& path,
                        const QString& attachmentFolder = {}, const QString& alias = {})
{
    return Destination(id, "Name", alias, vault, mode, path, attachmentFolder);
}

using Findings = QList<std::pair<QString, QString>>;   // field, message

QList<DestinationIssue> issues(const QUuid& id, const Findings& findings)
{
    QList<DestinationIssue> issues;
    for (const auto& [field, message] : findings)
        issues.append({id, field, message});
    return issues;
}

} // namespace

TEST(DestinationValidationTest, FindingsOfOneDestination)
{
    const QString none = "-";   // no vault at all
    const auto newNote = DeliveryMode::newNote, append = DeliveryMode::appendNote, daily = DeliveryMode::dailyNote;
    const struct {
        QStringList entries;
        QString vault;   // relative to the temporary folder
        DeliveryMode mode;
        QString path;
        Findings findings;
        QString attachmentFolder = {};
        QString alias = {};
        bool allowUnconfigured = false;
    } cases[] = {
        {{}, "vault", newNote, "", {}},
        {{}, "vault", newNote, "", {{"alias", aliasCharacters}}, "", "a b"},
        {{}, "vault", newNote, "", {}, "", "éàç"},
        {{}, "vault", newNote, "", {}, "", "a_b-1"},
        {{}, "vault", newNote, "", {}, "", "e\u0301t\u0301e"},
        {{}, none, append, "", {{"path", unsafe}}, "", "", true},
        {{}, none, append, "", {{"vaultPath", noVault}}},
        {{}, none, newNote, "../x", {{"path", unsafe}, {"attachmentFolder", unsafe}}, ".hidden", "", true},
        {{}, none, daily, "Daily", {}, "Attachments/Quillor", "", true},
        {{}, "missing", newNote, "../x", {{"vaultPath", noVault}}},
        {{"file"}, "vault/file", newNote, "", {{"vaultPath", noVault}}},
        {{}, "vault", newNote, "Inbox/2026", {}, "Attachments/Quillor"},
        {{"note.md"}, "vault", newNote, "note.md", {{"path", fileNotFolder}}},
        {{"dir:Journal/Log.md"}, "vault", append, "Journal/Log", {{"path", folderNotNote}}},
        {{"Journal/Log.md"}, "vault", append, "Journal/Log.md", {}},
        {{}, "vault", append, "", {{"path", unsafe}}},
        {{"file.txt"}, "vault", daily, "file.txt/a/b", {{"path", parentIsFile}}},
        {{"link:Linked"}, "vault", newNote, "Linked/Inbox", {{"path", unsafe}}},
        {{"img"}, "vault", newNote, "", {{"attachmentFolder", fileNotFolder}}, "img"},
        {{"link:Linked"}, "vault", newNote, "", {{"attachmentFolder", unsafe}}, "Linked"},
        {{"link:Alias"}, "vault/Alias", newNote, "a/b", {}, "c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.vault + " " + c.path + " " + c.attachmentFolder + " " + c.alias).toStdString());
        const Vault vault(c.entries);
        const QString vaultPath = c.vault == none ? QString() : vault.dir.path() + '/' + c.vault;
        EXPECT_EQ(DestinationValidation::issues({destination(firstID, vaultPath, c.mode, c.path, c.attachmentFolder,
                                                             c.alias)},
                                                c.allowUnconfigured),
                  issues(firstID, c.findings));
    }
}

TEST(DestinationValidationTest, FindingsComeDestinationByDestinationInCheckOrder)
{
    const Vault vault({"note", "img"});
    const QUuid thirdID = QUuid::createUuid(), fourthID = QUuid::createUuid();
    const QList<Destination> destinations = {
        destination(firstID, vault.root, DeliveryMode::newNote, "note", "img", "a b"),
        destination(secondID, vault.root + "/missing", DeliveryMode::newNote, "", "", "A B"),
        destination(thirdID, vault.root, DeliveryMode::newNote, "", "", "Inbox"),
        destination(fourthID, vault.root, DeliveryMode::newNote, "", "", "inbox"),
        destination(QUuid::createUuid(), vault.root, DeliveryMode::newNote, "", "", ""),
        destination(QUuid::createUuid(), vault.root, DeliveryMode::newNote, "", "", ""),
    };
    EXPECT_EQ(DestinationValidation::issues(destinations, false),
              issues(firstID, {{"alias", aliasCharacters}, {"alias", aliasTaken}, {"path", fileNotFolder},
                               {"attachmentFolder", fileNotFolder}})
                  + issues(secondID, {{"alias", aliasCharacters}, {"alias", aliasTaken}, {"vaultPath", noVault}})
                  + issues(thirdID, {{"alias", aliasTaken}}) + issues(fourthID, {{"alias", aliasTaken}}));
}

TEST(DestinationValidationTest, NotePathAndModeAndNameChanges)
{
    // 00:30 in the system's zone, handed over in UTC: the date is the system zone's.
    const QDateTime date = QDateTime({2026, 3, 14}, {0, 30}, QTimeZone::systemTimeZone()).toTimeZone(QTimeZone::utc());
    using M = DeliveryMode;
    const std::tuple<DeliveryMode, QString, QString> notePaths[] = {
        {M::newNote, "", "date-identifiant.md"},     {M::newNote, "Inbox", "Inbox/date-identifiant.md"},
        {M::dailyNote, "Daily", "Daily/2026-03-14.md"}, {M::appendNote, "", ".md"},
        {M::appendNote, "Journal/today", "Journal/today.md"}, {M::appendNote, "Notes.MD", "Notes.MD.md"},
    };
    for (const auto& [mode, path, notePath] : notePaths)
        EXPECT_EQ(DestinationValidation::notePath(destination(firstID, "/v", mode, path), date), notePath);

    const std::tuple<DeliveryMode, QString, DeliveryMode, QString> modeChanges[] = {   // from, path, to, new path
        {M::appendNote, "Captures.md", M::newNote, ""},  {M::newNote, "", M::appendNote, "Captures.md"},
        {M::appendNote, "Journal/Log.md", M::dailyNote, "Journal"},
        {M::dailyNote, "Inbox/2026", M::appendNote, "Inbox/2026/Captures.md"},
        {M::appendNote, "Journal/Log", M::appendNote, "Journal/Log"},
    };
    for (const auto& [from, path, to, expected] : modeChanges) {
        Destination original = destination(firstID, "/v", from, path, "img", "in");
        original.vaultBookmark = QByteArray("bookmark");
        Destination wanted = original;
        wanted.mode = to;
        wanted.path = expected;
        EXPECT_EQ(DestinationSettings::changingMode(original, to), wanted) << path.toStdString();
    }

    const std::pair<QString, QString> folderNames[] = {
        {"/home/u/Mes Notes été", "Mes-Notes-ete"}, {"/home/u/Inbox/", "Inbox"}, {"/home/u/a/./b/..", "a"},
        {"/home/u/!!!", L10n::text("Destination")}, {"/", L10n::text("Destination")},
    };
    for (const auto& [folder, name] : folderNames) {
        Destination wanted = destination(firstID, "/v", M::newNote, "Inbox", "img", "in");
        const Destination named = DestinationSettings::namingFolder(wanted, folder);
        wanted.name = name;
        EXPECT_EQ(named, wanted) << folder.toStdString();
    }
}
