#include "settings/SettingsValidation.h"

#include "core/DestinationValidation.h"
#include "core/FileSystem.h"
#include "core/L10n.h"
#include "core/Routing.h"

#include <QDir>

namespace quillor {

QString SettingsBlocker::id() const
{
    const QString owner = destinationID ? SettingsValidation::idText(*destinationID) : QStringLiteral("settings");
    return owner + u':' + field + u':' + message;
}

QString SettingsBlocker::target() const
{
    return destinationID ? QStringLiteral("destination-") + focusValue() : field;
}

QString SettingsBlocker::focusValue() const
{
    return destinationID ? SettingsValidation::idText(*destinationID) + u'-' + field : field;
}

namespace SettingsValidation {

QString idText(const QUuid& id)
{
    return id.toString(QUuid::WithoutBraces).toUpper();
}

QList<SettingsBlocker> blockers(const Preferences& preferences, const QSet<QUuid>& confirmations,
                                bool allowUnconfiguredVaults)
{
    return blockers(preferences, confirmations,
                    DestinationValidation::issues(preferences.deliveryDestinations(), allowUnconfiguredVaults));
}

QList<SettingsBlocker> blockers(const Preferences& preferences, const QSet<QUuid>& confirmations,
                                const QList<DestinationIssue>& issues)
{
    QList<SettingsBlocker> result;
    for (const DestinationIssue& issue : issues)
        result.append({issue.destinationID, issue.field, issue.message});

    if (preferences.destinations.isEmpty())
        result.append({std::nullopt, QStringLiteral("destinations"), L10n::text(QStringLiteral("Ajoute une destination."))});

    for (const Destination& destination : preferences.destinations) {
        if (confirmations.contains(destination.id))
            result.append({destination.id, QStringLiteral("path"),
                           L10n::text(QStringLiteral("Mode modifié : vérifie et confirme le nouveau chemin."))});
    }

    if (!Routing::isUsablePrefix(preferences.routePrefix))
        result.append({std::nullopt, QStringLiteral("prefix"),
                       L10n::text(QStringLiteral("Choisis un seul caractère de ponctuation comme préfixe."))});

    for (const Destination& destination : preferences.destinations) {
        if (const std::optional<QString> issue = preferences.attachmentPolicy(destination).configurationIssue())
            result.append({destination.id, QStringLiteral("attachmentFolder"), *issue});
    }
    return result;
}

QString resolvedFolder(const QString& path)
{
    // A folder that is not (or no longer) there keeps its cleaned path, so
    // that two missing folders are not taken for the same one.
    return FileSystem::resolveExistingPrefix(path);
}

std::optional<QString> relativeFolder(const QString& folder, const QString& vaultPath)
{
    if (vaultPath.isEmpty())
        return std::nullopt;
    const QString vault = resolvedFolder(vaultPath);
    const QString inner = resolvedFolder(folder);
    if (inner == vault)
        return QString();
    // The root folder ends in "/" already.
    const QString prefix = vault.endsWith(u'/') ? vault : vault + u'/';
    if (inner.startsWith(prefix))
        return inner.mid(prefix.size());
    return std::nullopt;
}

QString fullPath(const QString& relativePath, const Destination& destination)
{
    if (destination.vaultPath.isEmpty())
        return relativePath;
    return QDir::cleanPath(QDir(destination.vaultPath).filePath(relativePath));
}

} // namespace SettingsValidation
} // namespace quillor
