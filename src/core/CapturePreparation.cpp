#include "core/CapturePreparation.h"

#include "core/CaptureError.h"
#include "core/DestinationValidation.h"
#include "core/Json.h"

#include <QTimeZone>

#include <algorithm>

namespace quillor::CapturePreparation {

Capture prepare(const Capture& capture, const QList<Destination>& destinations, const std::optional<QUuid>& defaultID)
{
    const std::optional<QUuid> target = capture.destinationID ? capture.destinationID : defaultID;
    const auto found = std::find_if(destinations.begin(), destinations.end(),
                                    [&](const Destination& d) { return target && d.id == *target; });
    if (found == destinations.end())
        throw CaptureError::unknownDestination(target ? Json::uuidText(*target) : QString());

    // Deliberately strict: any broken destination blocks the delivery.
    if (!DestinationValidation::issues(destinations, true).isEmpty())
        throw CaptureError::invalidPath();

    Capture result = capture;
    if (!result.timeZoneIdentifier)
        result.timeZoneIdentifier = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    result.destinationID = found->id;
    result.usesExplicitDestination = true;
    Destination delivery = *found;
    delivery.vaultPath.clear();
    delivery.vaultBookmark.reset();
    result.deliveryDestination = delivery;
    return result;
}

} // namespace quillor::CapturePreparation
