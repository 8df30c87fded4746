#include "inbox/DeliveryFailure.h"

#include "core/Json.h"

namespace quillor {

QJsonObject DeliveryFailure::toJson() const
{
    return Json::Writer()
        .set(QStringLiteral("id"), id)
        .set(QStringLiteral("date"), date)
        .set(QStringLiteral("message"), message)
        .object();
}

DeliveryFailure DeliveryFailure::fromJson(const QJsonObject& object)
{
    const Json::Reader reader(object);
    return DeliveryFailure{reader.uuid(QStringLiteral("id")), reader.date(QStringLiteral("date")),
                           reader.string(QStringLiteral("message"))};
}

} // namespace quillor
