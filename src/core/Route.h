#pragma once

#include "core/Destination.h"

#include <QString>

#include <optional>
#include <variant>

namespace quillor {

// The destination picked by a route prefix and what remains of the text.
struct Route {
    Destination destination;
    QString body;

    bool operator==(const Route&) const = default;
};

// A route, or the localised reason why the text routes nowhere.
class RouteResolution {
public:
    static RouteResolution resolved(const Route& route) { return RouteResolution(route); }
    static RouteResolution unresolved(const QString& reason) { return RouteResolution(reason); }
    // Routing::resolve, with its error turned into the localised reason; never throws.
    static RouteResolution evaluate(const QString& text, const QString& prefix,
                                    const QList<Destination>& destinations, const Destination& fallback);

    std::optional<Route> route() const;
    std::optional<QString> error() const;

    bool operator==(const RouteResolution&) const = default;

private:
    explicit RouteResolution(std::variant<Route, QString> value) : m_value(std::move(value)) {}
    std::variant<Route, QString> m_value;
};

} // namespace quillor
