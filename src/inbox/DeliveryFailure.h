#pragma once

#include "core/ReferenceDate.h"

#include <QJsonObject>
#include <QString>
#include <QUuid>

namespace quillor {

// The last failed delivery of a capture, kept until a delivery succeeds.
struct DeliveryFailure {
    QUuid id;              // the capture
    ReferenceDate date;    // when the failure was recorded
    QString message;       // the caller's text

    QJsonObject toJson() const;
    // Throws JsonDecodingError.
    static DeliveryFailure fromJson(const QJsonObject& object);

    bool operator==(const DeliveryFailure&) const = default;
};

} // namespace quillor
