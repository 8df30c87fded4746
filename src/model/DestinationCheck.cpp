#include "model/DestinationCheck.h"

#include "core/DestinationValidation.h"
#include "model/Preferences.h"

#include <algorithm>

namespace quillor {

DestinationCheck DestinationCheck::of(const Preferences& preferences)
{
    DestinationCheck check;
    check.stored = preferences.destinations;
    check.delivered = preferences.deliveryDestinations();
    check.firstIssues.reserve(check.delivered.size());
    for (const Destination& destination : check.delivered)
        check.firstIssues.append(validationMessage(destination));
    return check;
}

std::optional<QString> DestinationCheck::validationMessage(const Destination& delivered)
{
    const QList<DestinationIssue> issues = DestinationValidation::issues({delivered}, false);
    if (issues.isEmpty())
        return std::nullopt;
    return issues.first().message;
}

std::optional<QString> DestinationCheck::firstIssue(const Destination& destination) const
{
    const auto found = std::find(delivered.cbegin(), delivered.cend(), destination);
    if (found == delivered.cend())
        return validationMessage(destination);
    return firstIssues.at(found - delivered.cbegin());
}

} // namespace quillor
