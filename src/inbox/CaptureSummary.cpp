#include "inbox/CaptureSummary.h"

#include "core/Json.h"

namespace quillor {

CaptureSummary CaptureSummary::fromJson(const QJsonObject& object)
{
    const Json::Reader reader(object);
    return CaptureSummary{reader.uuid(QStringLiteral("id")), reader.date(QStringLiteral("createdAt")),
                          reader.string(QStringLiteral("body")), reader.optionalUuid(QStringLiteral("draftRevision"))};
}

} // namespace quillor
