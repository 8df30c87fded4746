#include "settings/DestinationFolders.h"

#include "core/DestinationValidation.h"
#include "model/VaultAccess.h"
#include "settings/SettingsValidation.h"

#include <algorithm>

namespace quillor::DestinationFolders {

namespace {

// With nested notes folders the innermost one that holds the folder wins.
QList<Destination> candidateVaults(const QList<Destination>& known)
{
    QList<Destination> vaults;
    std::copy_if(known.begin(), known.end(), std::back_inserter(vaults),
                 [](const Destination& destination) { return !destination.vaultPath.isEmpty(); });
    std::stable_sort(vaults.begin(), vaults.end(), [](const Destination& a, const Destination& b) {
        return a.vaultPath.size() > b.vaultPath.size();
    });
    return vaults;
}

} // namespace

QString joined(const QString& folder, const QString& name)
{
    if (folder.isEmpty())
        return name;
    if (name.isEmpty())
        return folder;
    return folder + u'/' + name;
}

QString lastComponent(const QString& path)
{
    return path.section(u'/', -1);
}

Destination configure(const QString& folder, const Destination& destination, const QList<Destination>& known,
                      VaultAccess& vaultAccess)
{
    const QString resolved = SettingsValidation::resolvedFolder(folder);
    std::optional<Destination> result;
    for (const Destination& vault : candidateVaults(known)) {
        if (const std::optional<QString> relative = SettingsValidation::relativeFolder(resolved, vault.vaultPath)) {
            result = destination;
            result->vaultPath = vault.vaultPath;
            result->vaultBookmark = vault.vaultBookmark;
            result->path = *relative;
            break;
        }
    }
    if (!result) {
        result = vaultAccess.bound(destination, folder);
        result->path.clear();
    }
    Destination named = DestinationSettings::namingFolder(*result, folder);
    if (destination.mode == DeliveryMode::appendNote) {
        QString file = lastComponent(destination.path);
        if (file.isEmpty())
            file = QStringLiteral("Captures.md");
        named.path = joined(named.path, file);
    }
    return named;
}

} // namespace quillor::DestinationFolders
