#include "model/AppModel.h"

#include "model/VaultAccess.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>
#include <exception>

namespace quillor {

namespace {

QString describe(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Error*>(&error))
        return own->localizedDescription();
    return QString::fromUtf8(error.what());
}

QString lastComponent(const QString& path)
{
    return QFileInfo(QDir::cleanPath(path)).fileName();
}

// What the repair works on when the text names no destination: added to the
// settings once it has a folder.
Destination blankDestination()
{
    return Destination(QUuid::createUuid(), QString(), QString(), QString(), DeliveryMode::newNote, QString(),
                       QStringLiteral("Attachments/Quillor"));
}

} // namespace

bool AppModel::canRepairCaptureFolder() const
{
    return m_folderAccessFailed || captureDestinationError().has_value();
}

void AppModel::chooseCaptureFolder()
{
    if (m_saving || m_choosingVault)
        return;
    persistDraft();
    // The failed save already shows in the draft state.
    if (m_draftPersistenceError)
        return;

    setChoosingVault(true);
    const std::optional<Route> route = routeResolution().route();
    const Destination target = route ? route->destination : blankDestination();
    try {
        if (const std::optional<QString> folder = askForFolder(target))
            adoptChosenFolder(route ? storedForm(target) : target, *folder);
    } catch (const std::exception& error) {
        setError(describe(error));
    }
    setChoosingVault(false);
}

void AppModel::adoptChosenFolder(const Destination& stored, const QString& folder)
{
    Destination repaired = m_vaultAccess.bound(stored, folder);
    // Subfolders of the old folder need not exist in the new one: notes go to
    // the chosen folder itself, an appended note to its top.
    repaired.path = stored.mode == DeliveryMode::appendNote ? lastComponent(stored.path) : QString();
    if (repaired.name.isEmpty())
        repaired.name = lastComponent(folder);
    if (const std::optional<QString> issue = firstIssue(deliveryForm(repaired))) {
        setError(issue);
        return;
    }
    storeDestination(repaired);
    setFolderAccessFailed(false);
    setDestination(repaired.id);
}

void AppModel::repairMissingFolder(const Destination& destination)
{
    setChoosingVault(true);
    bool repaired = false;
    try {
        repaired = supplyMissingFolder(destination);
    } catch (const std::exception& error) {
        setError(describe(error));
    }
    // Cleared before sending again, which would otherwise stop at its guard.
    setChoosingVault(false);
    if (repaired) {
        submit();
        setChoosingVault(false);
    }
}

bool AppModel::supplyMissingFolder(const Destination& destination)
{
    const std::optional<QString> folder = askForFolder(destination);
    if (!folder)
        return false;
    const Destination repaired = m_vaultAccess.bound(storedForm(destination), *folder);
    if (const std::optional<QString> issue = firstIssue(deliveryForm(repaired))) {
        setError(issue);
        return false;
    }
    // Only the built-in inbox, which stands in for an empty list, is missing
    // from the settings; it joins them.
    const QList<Destination>& stored = m_preferences.destinations;
    const bool known = std::any_of(stored.cbegin(), stored.cend(),
                                   [&](const Destination& candidate) { return candidate.id == repaired.id; });
    if (!known && !stored.isEmpty())
        return false;
    storeDestination(repaired);
    refreshIndex(true);
    return true;
}

std::optional<QString> AppModel::askForFolder(const Destination& target)
{
    if (!onChooseVault)
        return std::nullopt;
    std::optional<QString> folder = onChooseVault(target);
    if (folder && folder->isEmpty())
        return std::nullopt;
    return folder;
}

Destination AppModel::storedForm(const Destination& deliveryForm) const
{
    // The delivery form carries a computed attachment folder, and possibly a
    // vault root instead of the chosen folder: written back, it would replace
    // what the user set.
    const QList<Destination>& stored = m_preferences.destinations;
    const auto found = std::find_if(stored.cbegin(), stored.cend(), [&](const Destination& destination) {
        return destination.id == deliveryForm.id;
    });
    if (found != stored.cend())
        return *found;
    Destination inbox = Preferences::builtInDestination();
    inbox.id = deliveryForm.id;
    return inbox;
}

void AppModel::storeDestination(const Destination& destination)
{
    Preferences updated = m_preferences;
    const auto found = std::find_if(updated.destinations.begin(), updated.destinations.end(),
                                    [&](const Destination& candidate) { return candidate.id == destination.id; });
    if (found != updated.destinations.end())
        *found = destination;
    else
        updated.destinations.append(destination);
    // A list that was empty had a made-up inbox as its default, with a new id
    // at every look: the destination that replaces it becomes the default.
    updated.ensureDefaultDestination();
    savePreferencesFile(updated);
    setPreferences(updated);
}

} // namespace quillor
