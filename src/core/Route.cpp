#include "core/Route.h"

namespace quillor {

std::optional<Route> RouteResolution::route() const
{
    if (const auto* route = std::get_if<Route>(&m_value))
        return *route;
    return std::nullopt;
}

std::optional<QString> RouteResolution::error() const
{
    if (const auto* reason = std::get_if<QString>(&m_value))
        return *reason;
    return std::nullopt;
}

} // namespace quillor
