#include "model/AppModel.h"

#include <algorithm>

namespace quillor {

void AppModel::setDestination(const QUuid& id)
{
    if (m_saving || readingDraft())
        return;
    const QList<Destination>& stored = m_preferences.destinations;
    if (std::none_of(stored.cbegin(), stored.cend(), [&](const Destination& destination) { return destination.id == id; }))
        return;
    // The editor turns the choice into an undoable edit, which comes back
    // through applyDestinationSelection.
    if (onSelectDestination) {
        onSelectDestination(id);
        return;
    }
    applyDestinationSelection(DestinationSelection{id, true});
}

void AppModel::applyDestinationSelection(const DestinationSelection& selection)
{
    m_draft.destinationID = selection.id;
    m_draft.usesExplicitDestination = selection.isExplicit;
    m_restoredDestinationMissing = namesMissingDestination(selection.id);
    Q_EMIT modelChanged();

    setStatus(QString());
    setError(std::nullopt);
    setFolderAccessFailed(false);
    saveDraftInBackground();
    // The new destination may lie in another vault.
    refreshIndex(true);
}

} // namespace quillor
