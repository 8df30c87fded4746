// The rules that turn an attachment policy into a vault-relative folder. They
// never throw: a folder that cannot be produced comes back as one of the two
// marker folders, which the safe-path checks refuse wherever it is used.
#include "core/AttachmentPolicy.h"

#include "core/CaptureError.h"
#include "core/Destination.h"
#include "core/FileSystem.h"
#include "core/Json.h"
#include "core/L10n.h"
#include "core/SafePath.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonDocument>

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

// The attachmentFolderPath of the vault's own settings, or nullopt when the
// file exists but cannot be used. A missing file or key means the vault root.
std::optional<QString> obsidianAttachmentSetting(const QString& root)
{
    const QString settingsPath = root + QStringLiteral("/.obsidian/app.json");
    std::optional<QByteArray> bytes;
    try {
        bytes = FileSystem::readIfExists(settingsPath);
    } catch (const FileSystemError&) {
        return std::nullopt;
    }
    if (!bytes)
        return QString();
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(*bytes, &parseError);
    if (parseError.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject settings = document.object();
    const auto value = settings.constFind(QStringLiteral("attachmentFolderPath"));
    if (value == settings.constEnd())
        return QString();
    if (!value->isString())
        return std::nullopt;
    return value->toString();
}

QString obsidianFolder(const Destination& destination)
{
    const QString noteFolder = destination.noteFolder();
    const auto root = AttachmentPolicy::obsidianRoot(destination);
    if (!root)
        return noteFolder;
    const auto setting = obsidianAttachmentSetting(*root);
    if (!setting)
        return AttachmentPolicy::invalidObsidianSettingsFolder();
    if (*setting == QStringLiteral("."))
        return noteFolder;
    if (setting->startsWith(QStringLiteral("./")))
        return joined(noteFolder, setting->mid(2));
    if (!isValidRelative(*setting))
        return AttachmentPolicy::invalidObsidianSettingsFolder();
    return relativePath(*root + u'/' + *setting, destination.vaultPath)
        .value_or(AttachmentPolicy::invalidObsidianSettingsFolder());
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

Destination AttachmentPolicy::applying(const Destination& destination) const
{
    Destination result = resolvedDestination(destination);
    result.attachmentFolder = relativeFolder(result);
    return result;
}

} // namespace quillor
