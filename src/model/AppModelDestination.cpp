#include "model/AppModel.h"

#include "core/L10n.h"

#include <QDir>
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
// How often the folders are looked at while the notice shows and some of them
// cannot be watched: slow, as each look reads the destinations' settings.
constexpr std::chrono::seconds pollInterval{2};

// Where a change of the destination's validity or delivery form shows: every
// folder above the vault (a directory watch does not see itself renamed, only
// its parent does, and the nearest one left standing sees the vault's road
// made again), the vault itself (a ".obsidian" folder appears), its Obsidian
// settings (app.json rewritten) and the folder the notes go to. Only the
// texts: which exist is found off the UI thread.
QStringList watchedPathsOf(const QString& vaultPath, const QString& folderPath)
{
    if (vaultPath.isEmpty())
        return {};
    const QString vault = QDir::cleanPath(vaultPath);
    QStringList paths;
    for (QString above = vault;;) {
        const qsizetype slash = above.lastIndexOf(u'/');
        if (slash < 0 || above == QStringLiteral("/"))
            break;
        above = slash == 0 ? QStringLiteral("/") : above.left(slash);
        paths.prepend(above);
    }
    const QString settings = vault + QStringLiteral("/.obsidian");
    paths << vault << settings << settings + QStringLiteral("/app.json") << QDir::cleanPath(folderPath);
    paths.removeDuplicates();
    return paths;
}

} // namespace

struct AppModel::DestinationLook {
    DestinationCheck check;
    // The folders it was asked to find, and those of them that exist.
    QStringList wanted, existing;
};

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
    ++m_destinationLooksRunning;
    auto* watcher = new QFutureWatcher<std::optional<DestinationLook>>(this);
    connect(watcher, &QFutureWatcherBase::finished, this, [this, watcher, generation] {
        watcher->deleteLater();
        --m_destinationLooksRunning;
        const std::optional<DestinationLook> look = watcher->result();
        // One started later may already have told more recent news. Only
        // those are dropped: with a folder that keeps changing, each look
        // would otherwise be overtaken by the next before it came back.
        if (!look || generation < m_publishedCheckGeneration)
            return;
        m_publishedCheckGeneration = generation;
        publishDestinationLook(*look);
    });
    // No exception may reach the slot that takes the result.
    watcher->setFuture(QtConcurrent::run(
        QThreadPool::globalInstance(),
        [preferences = m_preferences, wanted = m_wantedPaths]() -> std::optional<DestinationLook> {
            try {
                DestinationLook look{DestinationCheck::of(preferences), wanted, {}};
                for (const QString& path : wanted) {
                    if (QFileInfo::exists(path))
                        look.existing.append(path);
                }
                return look;
            } catch (...) {
                return std::nullopt;
            }
        }));
}

void AppModel::publishDestinationLook(const DestinationLook& look)
{
    // Folders found for another route are not this one's; the look started
    // for the new route tells of them.
    if (look.wanted == m_wantedPaths)
        watchFolders(look.existing);
    const DestinationCheck& check = look.check;
    // Settings applied meanwhile were looked at when they came. The folder
    // holding the vault may be a busy one (the home folder): an unchanged
    // look costs the UI thread nothing more.
    if (check.stored != m_preferences.destinations || check == m_destinationCheck)
        return;
    m_destinationCheck = check;
    Q_EMIT modelChanged();
    // The routed vault may now be an Obsidian vault above the folder.
    refreshIndex(false);
}

void AppModel::followRoutedFolders(const std::optional<Route>& route)
{
    // Reached at each key: an unchanged route costs two comparisons.
    const QString vault = route ? route->destination.vaultPath : QString();
    const QString folder = route ? route->destination.folderPath() : QString();
    if (vault == m_followedVault && folder == m_followedFolder)
        return;
    m_followedVault = vault;
    m_followedFolder = folder;
    const QStringList paths = watchedPathsOf(vault, folder);
    if (paths == m_wantedPaths)
        return;
    m_wantedPaths = paths;
    // The folders of the other route no longer matter; the new ones are
    // watched when a look has found them. What was last seen of them may be
    // old: they were not watched.
    if (m_folderWatcher) {
        QStringList unwanted = m_folderWatcher->directories() + m_folderWatcher->files();
        unwanted.removeIf([&](const QString& path) { return m_wantedPaths.contains(path); });
        if (!unwanted.isEmpty())
            m_folderWatcher->removePaths(unwanted);
    }
    recheckDestinations();
}

void AppModel::watchFolders(const QStringList& existing)
{
    if (!m_folderWatcher) {
        m_folderWatcher = new QFileSystemWatcher(this);
        connect(m_folderWatcher, &QFileSystemWatcher::directoryChanged, this, &AppModel::scheduleDestinationRecheck);
        connect(m_folderWatcher, &QFileSystemWatcher::fileChanged, this, &AppModel::scheduleDestinationRecheck);
        m_destinationPoll.setInterval(pollInterval);
        connect(&m_destinationPoll, &QTimer::timeout, this, [this] {
            // A slow disk is not asked again before it has answered.
            if (m_destinationLooksRunning == 0)
                recheckDestinations();
        });
    }
    // The watcher lets go of a folder removed or renamed; one still listed
    // may be gone since.
    const QStringList watched = m_folderWatcher->directories() + m_folderWatcher->files();
    QStringList gone, fresh;
    for (const QString& path : watched) {
        if (!existing.contains(path))
            gone.append(path);
    }
    for (const QString& path : existing) {
        if (!watched.contains(path))
            fresh.append(path);
    }
    if (!gone.isEmpty())
        m_folderWatcher->removePaths(gone);
    // The system had no watch left for the same folders at the last try: each
    // refusal is written to the error output, so the next try waits for
    // other folders or the panel shown again; the timer looks meanwhile.
    if (m_watchesIncomplete && existing == m_refusedFolders)
        return;
    const QStringList failed = fresh.isEmpty() ? QStringList() : m_folderWatcher->addPaths(fresh);
    // Those the system has no watch left for (or gone again already) are
    // looked at on the timer instead.
    m_watchesIncomplete = !failed.isEmpty();
    m_refusedFolders = m_watchesIncomplete ? existing : QStringList();
    updateDestinationPoll();
    // What changed in a folder before its watch was set went unseen: a vault
    // made just after its parent came back.
    if (failed.size() < fresh.size())
        scheduleDestinationRecheck();
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

void AppModel::setPanelShown(bool shown)
{
    m_panelShown = shown;
    // Watches may have been freed meanwhile.
    m_refusedFolders.clear();
    updateDestinationPoll();
    // The panel was away for a while: a network folder, which tells nothing
    // when another machine changes it, is looked at again.
    if (shown)
        recheckDestinations();
}

QStringList AppModel::watchedFolders() const
{
    return m_folderWatcher ? m_folderWatcher->directories() + m_folderWatcher->files() : QStringList();
}

void AppModel::updateDestinationPoll()
{
    if (m_panelShown && m_watchesIncomplete) {
        if (!m_destinationPoll.isActive())
            m_destinationPoll.start();
    } else {
        m_destinationPoll.stop();
    }
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
