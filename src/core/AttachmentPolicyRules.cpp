// The rules that turn an attachment policy into a vault-relative folder. They
// never throw: a folder that cannot be produced comes back as one of the two
// marker folders, which the safe-path checks refuse wherever it is used.
#include "core/AttachmentPolicy.h"

#include "core/CaptureError.h"
#include "core/Destination.h"
#include "core/FileSystem.h"
#include "core/L10n.h"
#include "core/ObsidianSettings.h"
#include "core/PathWalk.h"
#include "core/SafePath.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>

#include <algorithm>

namespace quillor {
namespace {

QString joined(const QString& first, const QString& second)
{
    if (first.isEmpty())
        return second;
    if (second.isEmpty())
        return first;
    return first + u'/' + second;
}

// Textual standardisation: "." and ".." resolved, trailing "/" dropped, links
// not followed.
QString standardized(const QString& path)
{
    return QDir::cleanPath(path);
}

// The path of `path` below `root`, "" when they are the same folder.
std::optional<QString> relativePath(const QString& path, const QString& root)
{
    if (root.isEmpty())
        return std::nullopt;
    const QString rootPath = standardized(root);
    const QString candidate = standardized(path);
    if (candidate == rootPath)
        return QString();
    const QString prefix = rootPath + u'/';
    if (candidate.startsWith(prefix))
        return candidate.mid(prefix.size());
    return std::nullopt;
}

bool isValidRelative(const QString& path)
{
    try {
        SafePath::validate(path);
        return true;
    } catch (const CaptureError&) {
        return false;
    }
}

std::optional<QString> parentPath(const QString& path)
{
    if (path == QStringLiteral("/"))
        return std::nullopt;
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return std::nullopt;
    return slash == 0 ? QStringLiteral("/") : path.left(slash);
}

QString obsidianFolder(const Destination& destination)
{
    const QString noteFolder = destination.noteFolder();
    const auto root = AttachmentPolicy::obsidianRoot(destination);
    if (!root)
        return noteFolder;
    const std::optional<QJsonValue> setting = ObsidianSettings::attachmentFolderPath(*root);
    if (!setting || !setting->isString())
        return AttachmentPolicy::invalidObsidianSettingsFolder();
    const QString value = setting->toString();
    if (value == QStringLiteral("."))
        return noteFolder;
    if (value.startsWith(QStringLiteral("./"))) {
        // Checked here so that an unusable value is reported as the vault's
        // setting rather than as a path of the destination.
        if (!isValidRelative(value.mid(2)))
            return AttachmentPolicy::invalidObsidianSettingsFolder();
        return joined(noteFolder, value.mid(2));
    }
    // Obsidian itself writes "/" for the vault's own folder, and a leading "/"
    // before a folder of the vault means the same root.
    const QString fromRoot = value.startsWith(u'/') ? value.mid(1) : value;
    if (!isValidRelative(fromRoot))
        return AttachmentPolicy::invalidObsidianSettingsFolder();
    return relativePath(*root + u'/' + fromRoot, destination.vaultPath)
        .value_or(AttachmentPolicy::invalidObsidianSettingsFolder());
}

// The rest of `path` after the folder `prefix`: "" when they are equal, none
// when `path` does not begin with it. Compared as text, as the destination
// stores them, so that nothing odd is resolved away.
std::optional<QString> textBelow(const QString& path, const QString& prefix)
{
    if (path == prefix)
        return QString();
    if (path.startsWith(prefix + u'/'))
        return path.mid(prefix.size() + 1);
    return std::nullopt;
}

// Whether `relative` names folders below `root` that a safe path may cross:
// the part of a destination's path that becomes the root of its delivery
// would otherwise escape the checks it was under. A link there could be
// pointed anywhere between this look and the write.
bool isWalkableWithoutLinks(const QString& root, const QString& relative)
{
    if (!isValidRelative(relative))
        return false;
    // The root's own links are followed, as a safe path follows them.
    const QList<PathWalk::Entry> entries =
        PathWalk::entries(FileSystem::resolveExistingPrefix(QDir::cleanPath(root)), relative);
    return std::all_of(entries.cbegin(), entries.cend(),
                       [](PathWalk::Entry entry) { return entry == PathWalk::Entry::directory; });
}

// Obsidian resolves a link from the folder that holds ".obsidian". When that
// folder lies below the destination's vault path (a folder chosen to hold
// several vaults), the links written relative to the vault path name nothing
// there: the destination is delivered relative to the Obsidian vault instead.
// Its notes and files stay where they go today, so a destination whose files
// go outside that vault cannot be expressed from it and is left as it is.
Destination rootedAtObsidianVaultBelow(const Destination& destination)
{
    const auto root = AttachmentPolicy::obsidianRoot(destination);
    if (!root)
        return destination;
    const auto depth = relativePath(*root, destination.vaultPath);
    if (!depth || depth->isEmpty() || !isWalkableWithoutLinks(destination.vaultPath, *depth))
        return destination;
    const auto path = textBelow(destination.path, *depth);
    const auto attachmentFolder = textBelow(destination.attachmentFolder, *depth);
    if (!path || !attachmentFolder)
        return destination;
    Destination rerooted = destination;
    rerooted.vaultPath = *root;
    rerooted.vaultBookmark.reset();
    rerooted.path = *path;
    rerooted.attachmentFolder = *attachmentFolder;
    return rerooted;
}

// The value as the user would recognise it in the file, cut short when it
// would not fit in a message.
QString shownValue(const QJsonValue& value)
{
    constexpr qsizetype maximumShown = 80;
    QString text = value.isString() ? value.toString()
                                    : QString::fromUtf8(QJsonDocument(QJsonArray{value}).toJson(QJsonDocument::Compact))
                                          .chopped(1)
                                          .mid(1);
    if (text.size() <= maximumShown)
        return text;
    const qsizetype kept = text.at(maximumShown - 1).isHighSurrogate() ? maximumShown - 1 : maximumShown;
    return text.left(kept) + u'…';
}

} // namespace

std::optional<QString> AttachmentPolicy::configurationIssue() const
{
    switch (location) {
    case Location::absoluteFolder:
        if (folder.startsWith(u'/') && QFileInfo(folder).isDir())
            return std::nullopt;
        return L10n::text(QStringLiteral("Choisis un dossier existant pour les pièces jointes."));
    case Location::subfolder:
        if (folder.isEmpty() || !isValidRelative(folder) || folder.contains(u'/'))
            return L10n::text(QStringLiteral("Saisis un nom de sous-dossier, sans chemin ni barre oblique."));
        return std::nullopt;
    case Location::specifiedFolder:
        if (folder.isEmpty() || !isValidRelative(folder))
            return L10n::text(QStringLiteral("Choisis un chemin relatif valide pour les pièces jointes."));
        return std::nullopt;
    case Location::obsidian:
    case Location::vaultRoot:
    case Location::sameFolder:
        return std::nullopt;
    }
    return std::nullopt;
}

std::optional<QString> AttachmentPolicy::obsidianRoot(const Destination& destination)
{
    if (destination.vaultPath.isEmpty())
        return std::nullopt;
    std::optional<QString> current = standardized(destination.folderPath());
    while (current) {
        const QString marker = *current == QStringLiteral("/") ? QStringLiteral("/.obsidian")
                                                               : *current + QStringLiteral("/.obsidian");
        if (QFileInfo(marker).isDir())
            return current;
        current = parentPath(*current);
    }
    return std::nullopt;
}

Destination AttachmentPolicy::resolvedDestination(const Destination& destination) const
{
    if (location != Location::obsidian && location != Location::absoluteFolder)
        return destination;
    const auto root = obsidianRoot(destination);
    if (!root)
        return destination;
    const auto offset = relativePath(destination.vaultPath, *root);
    if (!offset || offset->isEmpty())
        return destination;
    Destination rerooted = destination;
    rerooted.vaultPath = *root;
    rerooted.vaultBookmark.reset();
    rerooted.path = joined(*offset, destination.path);
    return rerooted;
}

QString AttachmentPolicy::relativeFolder(const Destination& destination) const
{
    const Destination rerooted = resolvedDestination(destination);
    const QString noteFolder = rerooted.noteFolder();
    switch (location) {
    case Location::vaultRoot:
        return QString();
    case Location::sameFolder:
        return noteFolder;
    case Location::subfolder:
        return joined(noteFolder, folder);
    case Location::specifiedFolder:
        return folder;
    case Location::absoluteFolder:
        return relativePath(folder, rerooted.vaultPath).value_or(outsideVaultFolder());
    case Location::obsidian:
        return obsidianFolder(rerooted);
    }
    return QString();
}

QString AttachmentPolicy::unusableObsidianSettingMessage(const Destination& destination)
{
    const auto root = obsidianRoot(destination);
    const std::optional<QJsonValue> setting = root ? ObsidianSettings::attachmentFolderPath(*root) : std::nullopt;
    if (!setting) {
        return L10n::text(QStringLiteral("Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas "
                                         "être utilisé : le fichier est illisible ou trop volumineux."));
    }
    return L10n::format(
        QStringLiteral("Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : « %@ »."),
        {shownValue(*setting)});
}

Destination AttachmentPolicy::applying(const Destination& destination) const
{
    Destination result = resolvedDestination(destination);
    result.attachmentFolder = relativeFolder(result);
    return rootedAtObsidianVaultBelow(result);
}

} // namespace quillor
