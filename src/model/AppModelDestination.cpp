#include "model/AppModel.h"

#include "core/L10n.h"

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

Destination AppModel::defaultDestination() const
{
    return defaultDestination(m_preferences.deliveryDestinations());
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
    return selectedDestination(m_preferences.deliveryDestinations());
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
    const QList<Destination> deliveryDestinations = m_preferences.deliveryDestinations();
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

QString AppModel::destinationLabel() const
{
    if (const auto route = routeResolution().route())
        return route->destination.displayName();
    return L10n::text(QStringLiteral("Destination non résolue"));
}

} // namespace quillor
