#include "model/AppModel.h"

#include "core/L10n.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QFutureWatcher>
#include <QThreadPool>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>
#include <chrono>
#include <utility>

namespace quillor {

namespace {

std::optional<Destination> withID(const QList<Destination>& destinations, const std::optional<QUuid>& id)
{
    if (!id)
        return std::nullopt;
    const auto found = std::find_if(destinations.cbegin(), destinations.cend(),
                                    [&](const Destination& destination) { return destination.id == *id; });
    if (found == destinations.cend())
        return std::nullopt;
    return *found;
}

// A burst of changes in a folder (a sync tool writing many files) makes one look.
constexpr std::chrono::milliseconds recheckDelay{150};

// Where a change of the destination's validity or delivery form shows: the
// folder holding the vault (renamed, removed, made again), the vault itself
// (a ".obsidian" folder appears), its Obsidian settings (app.json rewritten)
// and the folder the notes go to. Only the texts: watching reads whether they
// exist.
QStringList watchedPathsOf(const Destination& destination)
{
    if (destination.vaultPath.isEmpty())
        return {};
    const QString settings = destination.vaultPath + QStringLiteral("/.obsidian");
    QStringList paths{QFileInfo(destination.vaultPath).path(), destination.vaultPath, settings,
                      settings + QStringLiteral("/app.json"), destination.folderPath()};
    paths.removeDuplicates();
    return paths;
}

} // namespace

const DestinationCheck& AppModel::destinationCheck() const
{
    // New settings come from the settings window, a folder repair or the
    // launch, never from an edit; they are looked at once, as they are
    // validated.
    if (m_destinationCheck.stored != m_preferences.destinations)
        m_destinationCheck = DestinationCheck::of(m_preferences);
    return m_destinationCheck;
}

void AppModel::recheckDestinations()
{
    const quint64 generation = ++m_destinationCheckGeneration;
    auto* watcher = new QFutureWatcher<std::optional<DestinationCheck>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        const std::optional<DestinationCheck> check = watcher->result();
        // One started later may already have told more recent news. Only
        // those are dropped: with a folder that keeps changing, each look
        // would otherwise be overtaken by the next before it came back.
        if (!check || generation < m_publishedCheckGeneration)
            return;
        m_publishedCheckGeneration = generation;
        publishDestinationCheck(*check);
    });
    // No exception may reach the slot that takes the result.
    watcher->setFuture(QtConcurrent::run(QThreadPool::globalInstance(),
                                         [preferences = m_preferences]() -> std::optional<DestinationCheck> {
                                             try {
                                                 return DestinationCheck::of(preferences);
                                             } catch (...) {
                                                 return std::nullopt;
                                             }
                                         }));
}

void AppModel::publishDestinationCheck(const DestinationCheck& check)
{
    // Settings applied meanwhile were looked at when they came.
    if (check.stored != m_preferences.destinations)
        return;
    // The folder holding the vault may be a busy one (the home folder): what
    // is watched is looked at again only when something changed in it.
    const bool lostPath = m_folderWatcher
        && m_folderWatcher->directories().size() + m_folderWatcher->files().size() < m_watchedCount;
    if (check == m_destinationCheck) {
        if (lostPath)
            watchPaths(m_watchedPaths);
        return;
    }
    // A folder made again, or one that appeared, is watched too.
    watchPaths(m_watchedPaths);
    m_destinationCheck = check;
    Q_EMIT modelChanged();
    // The routed vault may now be an Obsidian vault above the folder.
    refreshIndex(false);
}

void AppModel::followRoutedFolders(const std::optional<Route>& route)
{
    const QStringList paths = route ? watchedPathsOf(route->destination) : QStringList();
    if (paths == m_watchedPaths)
        return;
    watchPaths(paths);
    // What was last seen of these folders may be old: they were not watched.
    recheckDestinations();
}

void AppModel::watchPaths(const QStringList& paths)
{
    m_watchedPaths = paths;
    if (!m_folderWatcher) {
        m_folderWatcher = new QFileSystemWatcher(this);
        connect(m_folderWatcher, &QFileSystemWatcher::directoryChanged, this, &AppModel::scheduleDestinationRecheck);
        connect(m_folderWatcher, &QFileSystemWatcher::fileChanged, this, &AppModel::scheduleDestinationRecheck);
    }
    const QStringList watched = m_folderWatcher->directories() + m_folderWatcher->files();
    if (!watched.isEmpty())
        m_folderWatcher->removePaths(watched);
    QStringList existing;
    for (const QString& path : paths) {
        if (QFileInfo::exists(path))
            existing.append(path);
    }
    if (!existing.isEmpty())
        m_folderWatcher->addPaths(existing);
    m_watchedCount = m_folderWatcher->directories().size() + m_folderWatcher->files().size();
}

void AppModel::scheduleDestinationRecheck()
{
    if (std::exchange(m_destinationRecheckScheduled, true))
        return;
    QTimer::singleShot(recheckDelay, this, [this] {
        m_destinationRecheckScheduled = false;
        recheckDestinations();
    });
}

Destination AppModel::defaultDestination() const
{
    return defaultDestination(destinationCheck().delivered);
}

Destination AppModel::defaultDestination(const QList<Destination>& deliveryDestinations) const
{
    if (auto chosen = withID(deliveryDestinations, m_preferences.defaultDestinationID))
        return *chosen;
    if (!deliveryDestinations.isEmpty())
        return deliveryDestinations.first();
    return Preferences::builtInDestination();
}

Destination AppModel::selectedDestination() const
{
    return selectedDestination(destinationCheck().delivered);
}

Destination AppModel::selectedDestination(const QList<Destination>& deliveryDestinations) const
{
    if (auto own = withID(deliveryDestinations, m_draft.destinationID))
        return *own;
    return defaultDestination(deliveryDestinations);
}

RouteResolution AppModel::routeResolution() const
{
    if (m_restoredDestinationMissing)
        return RouteResolution::unresolved(
            L10n::text(QStringLiteral("La destination d’origine n’existe plus. Choisis une destination.")));

    const QString body = serializedBody();
    const QList<Destination>& deliveryDestinations = destinationCheck().delivered;
    const Destination selected = selectedDestination(deliveryDestinations);
    // An explicit choice wins over a prefix, which then stays in the text.
    if (m_draft.usesExplicitDestination == true)
        return RouteResolution::resolved(Route{selected, body});
    return RouteResolution::evaluate(body, m_preferences.routePrefix, deliveryDestinations, selected);
}

Destination AppModel::effectiveDestination() const
{
    if (const auto route = routeResolution().route())
        return route->destination;
    return selectedDestination();
}

std::optional<QString> AppModel::captureDestinationError() const
{
    const RouteResolution resolution = routeResolution();
    if (const std::optional<Route> route = resolution.route())
        return destinationCheck().firstIssue(route->destination);
    return resolution.error();
}

std::optional<QString> AppModel::firstIssue(const Destination& deliveryForm)
{
    return DestinationCheck::validationMessage(deliveryForm);
}

QString AppModel::destinationLabel() const
{
    if (const auto route = routeResolution().route())
        return route->destination.displayName();
    return L10n::text(QStringLiteral("Destination non résolue"));
}

} // namespace quillor
