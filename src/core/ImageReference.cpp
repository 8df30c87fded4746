#include "core/ImageReference.h"

#include "core/Json.h"

#include <QHash>

namespace quillor {

QString ImageReference::source() const
{
    const QString link = QStringLiteral("[[") + path + QStringLiteral("]]");
    return isFile.value_or(false) ? link : QStringLiteral("!") + link;
}

QJsonObject ImageReference::toJson() const
{
    return Json::Writer()
        .set(QStringLiteral("attachmentID"), attachmentID)
        .set(QStringLiteral("path"), path)
        .setOptional(QStringLiteral("isFile"), isFile)
        .object();
}

ImageReference ImageReference::fromJson(const QJsonObject& object)
{
    const Json::Reader reader(object);
    return ImageReference{reader.uuid(QStringLiteral("attachmentID")), reader.string(QStringLiteral("path")),
                          reader.optionalBoolean(QStringLiteral("isFile"))};
}

size_t qHash(const ImageReference& reference, size_t seed) noexcept
{
    return qHashMulti(seed, reference.attachmentID, reference.path, reference.isFile.has_value(),
                      reference.isFile.value_or(false));
}

} // namespace quillor
