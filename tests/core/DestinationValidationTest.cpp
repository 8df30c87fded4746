#include "core/DestinationValidation.h"
#include "core/L10n.h"

#include "TestSupport.h"

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
        {{}, "vault", newNote, "Inbox/2026", {}, "Attachments/Quillor", "e\u0301t_e-1"},
        {{}, none, append, "", {{"vaultPath", noVault}}},
        {{}, none, newNote, "../x", {{"path", unsafe}, {"attachmentFolder", unsafe}}, ".hidden", "", true},
        {{}, none, daily, "Daily", {}, "Attachments/Quillor", "", true},
        {{"file"}, "vault/file", newNote, "../x", {{"vaultPath", noVault}}},
        {{"dir:Journal/Log.md"}, "vault", append, "Journal/Log", {{"path", folderNotNote}}},
        {{}, "vault", append, "", {{"path", unsafe}}},
        {{"file.txt"}, "vault", daily, "file.txt/a/b", {{"path", parentIsFile}}},
        {{"link:Linked"}, "vault", newNote, "Linked/Inbox", {{"path", unsafe}}},
        {{"link:Linked"}, "vault", newNote, "", {{"attachmentFolder", unsafe}}, "Linked"},
        {{"link:Alias"}, "vault/Alias", newNote, "a/b", {}, "c"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.vault + " " + c.path + " " + c.attachmentFolder + " " + c.alias).toStdString());
        const Vault vault(c.entries);
        const QString vaultPath = c.vault == none ? QString() : vault.dir.path() + '/' + c.vault;
        const Destination d = destination(firstID, vaultPath, c.mode, c.path, c.attachmentFolder, c.alias);
        EXPECT_EQ(DestinationValidation::issues({d}, c.allowUnconfigured), issues(firstID, c.findings));
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

TEST(DestinationValidationTest, NotePathAndModeChanges)
{
    // 00:30 in the system's zone, handed over in UTC: the date is the system zone's.
    const QDateTime date = QDateTime({2026, 3, 14}, {0, 30}, QTimeZone::systemTimeZone()).toTimeZone(QTimeZone::utc());
    using M = DeliveryMode;
    EXPECT_EQ(DestinationValidation::notePath(destination(firstID, "/v", M::dailyNote, "Daily"), date), "Daily/2026-03-14.md");

    const std::tuple<DeliveryMode, QString, DeliveryMode, QString> modeChanges[] = {   // from, path, to, new path
        {M::appendNote, "Journal/Log.md", M::dailyNote, "Journal"},
        {M::dailyNote, "Inbox/2026", M::appendNote, "Inbox/2026/Captures.md"},
    };
    for (const auto& [from, path, to, expected] : modeChanges) {
        const Destination original = destination(firstID, "/v", from, path, "img", "in");
        Destination wanted = original;
        wanted.mode = to;
        wanted.path = expected;
        EXPECT_EQ(DestinationSettings::changingMode(original, to), wanted) << path.toStdString();
    }
}

TEST(DestinationValidationTest, TheExampleNameOfANewNoteIsInTheInterfaceLanguage)
{
    const Destination inbox = destination(firstID, "/v", DeliveryMode::newNote, "Inbox");
    L10n::configure(QStringLiteral("en"));
    const QString english = DestinationValidation::notePath(inbox, QDateTime::currentDateTime());
    L10n::configure(QStringLiteral("fr"));
    EXPECT_EQ(english, "Inbox/date-id.md");
    EXPECT_EQ(DestinationValidation::notePath(inbox, QDateTime::currentDateTime()), "Inbox/date-identifiant.md");
}
