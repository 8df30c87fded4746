#include "core/DestinationValidation.h"

#include "core/AttachmentPolicy.h"
#include "core/CaptureError.h"
#include "core/FileSystem.h"
#include "core/L10n.h"
#include "core/PathWalk.h"
#include "core/SafePath.h"
#include "core/TextFolding.h"
#include "core/TextLines.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTimeZone>

#include <algorithm>

namespace quillor {

namespace {

const QString aliasField = QStringLiteral("alias");
const QString pathField = QStringLiteral("path");
const QString vaultPathField = QStringLiteral("vaultPath");
const QString attachmentFolderField = QStringLiteral("attachmentFolder");

QString joinedPath(const QString& folder, const QString& name)
{
    return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
}

// The path without its last component; empty for a single component.
QString parentPath(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash < 0 ? QString() : path.left(slash);
}

bool isAliasCharacter(char32_t codePoint)
{
    return QChar::isLetterOrNumber(codePoint) || codePoint == U'-' || codePoint == U'_';
}

bool hasValidAliasCharacters(const QString& alias)
{
    const auto graphemes = Graphemes::split(alias);
    return std::all_of(graphemes.begin(), graphemes.end(),
                       [](const Graphemes::Grapheme& g) { return isAliasCharacter(g.firstCodePoint); });
}

int aliasCount(const QList<Destination>& destinations, const QString& alias)
{
    return int(std::count_if(destinations.begin(), destinations.end(), [&](const Destination& d) {
        return TextFolding::equalsIgnoringCase(d.alias, alias);
    }));
}

bool isSafeRelativePath(const QString& relative)
{
    try {
        SafePath::validate(relative);
        return true;
    } catch (const CaptureError&) {
        return false;
    }
}

QString unsafePathMessage()
{
    return L10n::text(QStringLiteral("Le chemin doit rester dans le dossier de notes, sans lien symbolique ni dossier caché."));
}

// One vault-relative entry of a configured destination and the kind it must have.
struct PathEntry {
    QString field;
    QString relative;
    bool expectsDirectory = true;
    bool mustNotBeEmpty = false;
};

std::optional<QString> pathEntryMessage(const PathEntry& entry, const QString& vaultPath)
{
    if (entry.mustNotBeEmpty && entry.relative.isEmpty())
        return unsafePathMessage();
    try {
        SafePath::resolve(vaultPath, entry.relative);
    } catch (const CaptureError&) {
        return unsafePathMessage();
    }
    const QString resolvedVault = FileSystem::resolveExistingPrefix(QDir::cleanPath(vaultPath));
    const QList<PathWalk::Entry> parts = PathWalk::entries(resolvedVault, entry.relative);
    // No part: the vault itself, an existing folder.
    const PathWalk::Entry last = parts.isEmpty() ? PathWalk::Entry::directory : parts.last();
    if (last != PathWalk::Entry::missing && (last == PathWalk::Entry::directory) != entry.expectsDirectory) {
        return entry.expectsDirectory ? L10n::text(QStringLiteral("Ce chemin désigne un fichier, pas un dossier."))
                                      : L10n::text(QStringLiteral("Ce chemin désigne un dossier, pas une note."));
    }
    // A missing parent will be created later, but one that exists as a file
    // can never hold the entry.
    if (parts.size() > 1 && parts.first(parts.size() - 1).contains(PathWalk::Entry::other))
        return L10n::text(QStringLiteral("Un dossier parent est en réalité un fichier."));
    return std::nullopt;
}

void addAliasIssues(const Destination& destination, const QList<Destination>& all, QList<DestinationIssue>& issues)
{
    if (destination.alias.isEmpty())
        return;
    if (!hasValidAliasCharacters(destination.alias)) {
        issues.append({destination.id, aliasField,
                       L10n::text(QStringLiteral("Utilise un alias composé de lettres, chiffres, tirets ou traits de soulignement."))});
    }
    if (aliasCount(all, destination.alias) > 1) {
        issues.append({destination.id, aliasField,
                       L10n::text(QStringLiteral("Cet alias est déjà utilisé (sans distinction de casse)."))});
    }
}

// Without a vault only the texts of the relative paths can be checked.
void addUnconfiguredIssues(const Destination& destination, QList<DestinationIssue>& issues)
{
    const bool missingNote = destination.mode == DeliveryMode::appendNote && destination.path.isEmpty();
    if (missingNote || !isSafeRelativePath(destination.path))
        issues.append({destination.id, pathField, unsafePathMessage()});
    if (!isSafeRelativePath(destination.attachmentFolder))
        issues.append({destination.id, attachmentFolderField, unsafePathMessage()});
}

bool isExistingFolder(const QString& path)
{
    if (path.isEmpty())
        return false;
    const QFileInfo info(path);
    return info.exists() && info.isDir();
}

// The marker of an unusable Obsidian setting stands for a setting of the
// vault's own, which the user must be able to find: the general message names
// neither the file nor the value.
std::optional<QString> entryMessage(const PathEntry& entry, const Destination& destination)
{
    if (entry.field == attachmentFolderField
        && destination.attachmentFolder == AttachmentPolicy::invalidObsidianSettingsFolder())
        return AttachmentPolicy::unusableObsidianSettingMessage(destination);
    return pathEntryMessage(entry, destination.vaultPath);
}

void addConfiguredIssues(const Destination& destination, QList<DestinationIssue>& issues)
{
    const bool appends = destination.mode == DeliveryMode::appendNote;
    const PathEntry entries[] = {
        {pathField,
         appends ? DestinationValidation::notePath(destination, QDateTime::currentDateTime()) : destination.path,
         !appends, appends && destination.path.isEmpty()},
        {attachmentFolderField, destination.attachmentFolder, true, false},
    };
    for (const PathEntry& entry : entries) {
        if (const auto message = entryMessage(entry, destination))
            issues.append({destination.id, entry.field, *message});
    }
}

} // namespace

namespace DestinationValidation {

QList<DestinationIssue> issues(const QList<Destination>& destinations, bool allowUnconfiguredVaults)
{
    QList<DestinationIssue> result;
    for (const Destination& destination : destinations) {
        addAliasIssues(destination, destinations, result);
        if (allowUnconfiguredVaults && destination.vaultPath.isEmpty()) {
            addUnconfiguredIssues(destination, result);
            continue;
        }
        if (!isExistingFolder(destination.vaultPath)) {
            result.append({destination.id, vaultPathField, L10n::text(QStringLiteral("Choisis un dossier de notes existant."))});
            continue;
        }
        addConfiguredIssues(destination, result);
    }
    return result;
}

QString notePath(const Destination& destination, const QDateTime& date)
{
    switch (destination.mode) {
    case DeliveryMode::newNote:
        return joinedPath(destination.path, L10n::text(QStringLiteral("date-identifiant.md")));
    case DeliveryMode::dailyNote: {
        const QDateTime local = date.toTimeZone(QTimeZone::systemTimeZone());
        return joinedPath(destination.path, QLocale::c().toString(local, QStringLiteral("yyyy-MM-dd")) + QStringLiteral(".md"));
    }
    case DeliveryMode::appendNote:
        break;
    }
    return destination.path.endsWith(QStringLiteral(".md")) ? destination.path
                                                             : destination.path + QStringLiteral(".md");
}

} // namespace DestinationValidation

namespace DestinationSettings {

Destination changingMode(const Destination& destination, DeliveryMode mode)
{
    if (destination.mode == mode)
        return destination;
    const QString folder =
        destination.mode == DeliveryMode::appendNote ? parentPath(destination.path) : destination.path;
    Destination result = destination;
    result.mode = mode;
    result.path = mode == DeliveryMode::appendNote ? joinedPath(folder, QStringLiteral("Captures.md")) : folder;
    return result;
}

Destination namingFolder(const Destination& destination, const QString& selectedFolder)
{
    // The folder's own name turned into a slug, as destinations are routed.
    const QString folderName = QFileInfo(QDir::cleanPath(selectedFolder)).fileName();
    const QString slug = Destination::routingName(folderName);
    Destination result = destination;
    result.name = slug.isEmpty() ? L10n::text(QStringLiteral("Destination")) : slug;
    return result;
}

} // namespace DestinationSettings
} // namespace quillor
