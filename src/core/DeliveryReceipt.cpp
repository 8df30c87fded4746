#include "core/DeliveryReceipt.h"

#include "core/Json.h"

namespace quillor {

QJsonObject DeliveryReceipt::toJson() const
{
    return Json::Writer()
        .set(QStringLiteral("captureID"), captureID)
        .set(QStringLiteral("path"), path)
        .set(QStringLiteral("date"), date)
        .setOptional(QStringLiteral("destinationName"), destinationName)
        .setOptional(QStringLiteral("destinationID"), destinationID)
        .setOptional(QStringLiteral("vaultID"), vaultID)
        .setOptional(QStringLiteral("relativePath"), relativePath)
        .object();
}

DeliveryReceipt DeliveryReceipt::fromJson(const QJsonObject& object)
{
    const Json::Reader reader(object);
    return DeliveryReceipt{
        reader.string(QStringLiteral("captureID")),
        reader.string(QStringLiteral("path")),
        reader.string(QStringLiteral("date")),
        reader.optionalString(QStringLiteral("destinationName")),
        reader.optionalUuid(QStringLiteral("destinationID")),
        reader.optionalUuid(QStringLiteral("vaultID")),
        reader.optionalString(QStringLiteral("relativePath")),
    };
}

} // namespace quillor
