#include "model/AppModel.h"

#include "core/L10n.h"
#include "model/DestinationFolderWatch.h"

#include <QFutureWatcher>
#include <QThreadPool>
#include <QtConcurrent/QtConcurrentRun>

#include <algorithm>

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

} // namespace

struct AppModel::DestinationLook {
    DestinationCheck check;
    DestinationFolderWatch::Survey folders;
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
        [preferences = m_preferences, wanted = folderWatch().wanted()]() -> std::optional<DestinationLook> {
            try {
                return DestinationLook{DestinationCheck::of(preferences), DestinationFolderWatch::survey(wanted)};
            } catch (...) {
                return std::nullopt;
            }
        }));
}

void AppModel::publishDestinationLook(const DestinationLook& look)
{
    folderWatch().take(look.folders);
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
    const QString vault = route ? route->destination.vaultPath : QString();
    const QString folder = route ? route->destination.folderPath() : QString();
    if (folderWatch().follow(vault, folder))
        recheckDestinations();
}

DestinationFolderWatch& AppModel::folderWatch()
{
    if (!m_folderWatch) {
        m_folderWatch = std::make_unique<DestinationFolderWatch>();
        connect(m_folderWatch.get(), &DestinationFolderWatch::lookDue, this, &AppModel::recheckDestinations);
        connect(m_folderWatch.get(), &DestinationFolderWatch::pollDue, this, [this] {
            // A slow disk is not asked again before it has answered.
            if (m_destinationLooksRunning == 0)
                recheckDestinations();
        });
    }
    return *m_folderWatch;
}

void AppModel::setPanelShown(bool shown)
{
    folderWatch().setPanelShown(shown);
    // The panel was away for a while: a network folder, which tells nothing
    // when another machine changes it, is looked at again.
    if (shown)
        recheckDestinations();
}

QStringList AppModel::watchedFolders() const
{
    return m_folderWatch ? m_folderWatch->watched() : QStringList();
}

bool AppModel::lookingAtDestinations() const
{
    return (m_folderWatch && m_folderWatch->lookScheduled()) || m_destinationLooksRunning > 0;
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
