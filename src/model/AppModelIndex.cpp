#include "model/AppModel.h"

#include "model/VaultAccess.h"
#include "vault/ScanCancellation.h"

#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

namespace quillor {

// What a scan hands back to the UI thread: never an exception, which could
// not cross the thread boundary cleanly.
struct AppModel::ScanOutcome {
    std::optional<VaultIndex> index;
    QString failure;
    bool cancelled = false;
};

void AppModel::refreshIndex(bool force)
{
    const std::optional<Route> route = routeResolution().route();
    const QString vault = route ? route->destination.vaultPath : QString();
    followRoutedFolders(route);
    // Reached on every keystroke: an unchanged vault costs only the routing.
    if (!force && vault == m_indexedVault)
        return;
    if (vault != m_indexedVault) {
        m_indexedVault = vault;
        m_index = {};
        m_notes.clear();
        m_tags.clear();
        setIndexCount(0);
    }

    cancelIndexing();
    // Renewed even for an empty vault, so a scan still running for the
    // previous vault can no longer publish.
    m_indexGeneration = QUuid::createUuid();
    const QUuid generation = m_indexGeneration;

    if (vault.isEmpty()) {
        setIndexState(IndexState::idle());
        if (onIndexChanged)
            onIndexChanged();
        return;
    }

    try {
        restoreRouteAccess(route->destination);
    } catch (const Error& error) {
        setIndexState(IndexState::failed(error.localizedDescription()));
        if (onIndexChanged)
            onIndexChanged();
        return;
    }

    setIndexState(IndexState::loading());
    startScan(generation, vault);
}

void AppModel::restoreRouteAccess(const Destination& routeDestination)
{
    // The route carries the delivery form, which loses its bookmark when the
    // attachment policy re-roots it; access goes through the destination as
    // the settings store it. Only the access matters here, not the result.
    const QList<Destination>& stored = m_preferences.destinations;
    const auto found = std::find_if(stored.cbegin(), stored.cend(), [&](const Destination& destination) {
        return destination.id == routeDestination.id;
    });
    m_vaultAccess.restored(found != stored.cend() ? *found : routeDestination);
}

void AppModel::startScan(const QUuid& generation, const QString& vault)
{
    const auto cancelled = std::make_shared<std::atomic_bool>(false);
    const IndexingTask task{cancelled, new QFutureWatcher<ScanOutcome>(this)};
    m_indexingTask = task;
    connect(task.watcher, &QFutureWatcherBase::finished, this,
            [this, generation, task] { finishScan(generation, task); });

    const VaultScanner scan = m_environment.scanVault;
    // A copy shares the notes and the memo; nothing of it is written.
    const VaultIndex previous = m_index;
    task.watcher->setFuture(QtConcurrent::run(QThreadPool::globalInstance(), [scan, vault, previous, cancelled] {
        return capturedOnWorker<ScanOutcome>([&](ScanOutcome& outcome) {
            outcome.index = scan(vault, previous, [cancelled] { return cancelled->load(); });
        });
    }));
}

void AppModel::finishScan(const QUuid& generation, const IndexingTask& task)
{
    task.watcher->deleteLater();
    if (m_indexingTask && m_indexingTask->watcher == task.watcher)
        m_indexingTask.reset();

    if (!task.watcher->future().isResultReadyAt(0))
        return;
    const ScanOutcome outcome = task.watcher->result();
    // A newer refresh has begun: this result describes a superseded vault.
    if (outcome.cancelled || task.cancelled->load() || generation != m_indexGeneration)
        return;

    if (outcome.index) {
        QList<NoteSuggestion> notes;
        notes.reserve(outcome.index->notes.size());
        for (const IndexedNote& note : outcome.index->notes)
            notes.append(NoteSuggestion{note.title, note.path});
        m_notes = notes;
        m_tags = outcome.index->tags;
        m_index = *outcome.index;
        setIndexCount(int(m_notes.size()));
        setIndexState(IndexState::ready(int(m_notes.size())));
    } else {
        setIndexState(IndexState::failed(outcome.failure));
    }
    if (onIndexChanged)
        onIndexChanged();
}

void AppModel::cancelIndexing()
{
    if (m_indexingTask) {
        m_indexingTask->cancelled->store(true);
        m_indexingTask.reset();
    }
}

} // namespace quillor
