#pragma once

#include "core/Capture.h"
#include "core/Destination.h"

#include <QList>
#include <QUuid>

#include <optional>

namespace quillor {

// Binds a capture to its destination before delivery.
namespace CapturePreparation {

// The capture bound to its destination (its own destinationID, else defaultID):
// time zone filled in when absent, destination marked explicit, and a copy of
// the destination without its vault path and bookmark. Throws
// CaptureError::unknownDestination(upper-case UUID text, or "" without a
// target) when no destination has that id, and CaptureError::invalidPath()
// when any destination of the list has a validation issue.
Capture prepare(const Capture& capture, const QList<Destination>& destinations, const std::optional<QUuid>& defaultID);

} // namespace CapturePreparation
} // namespace quillor
