#include "core/Capture.h"

#include "core/Json.h"

#include <QTimeZone>

namespace quillor {

// MARK: CaptureAttachment

CaptureAttachment::CaptureAttachment(const QUuid& id, const QByteArray& data, const QString& fileExtension,
                                     std::optional<bool> isFile, std::optional<QString> originalFilename)
    : id(id), data(data), fileExtension(fileExtension), isFile(isFile), originalFilename(std::move(originalFilename))
{
}

QString CaptureAttachment::token() const
{
    return tokenPrefix() + Json::uuidText(id) + QStringLiteral("}}");
}

QJsonObject CaptureAttachment::toJson() const
{
    return Json::Writer()
        .set(QStringLiteral("id"), id)
        .set(QStringLiteral("data"), data)
        .set(QStringLiteral("fileExtension"), fileExtension)
        .setOptional(QStringLiteral("isFile"), isFile)
        .setOptional(QStringLiteral("originalFilename"), originalFilename)
        .object();
}

CaptureAttachment CaptureAttachment::fromJson(const QJsonObject& object)
{
    const Json::Reader reader(object);
    return CaptureAttachment(reader.uuid(QStringLiteral("id")), reader.bytes(QStringLiteral("data")),
                             reader.string(QStringLiteral("fileExtension")),
                             reader.optionalBoolean(QStringLiteral("isFile")),
                             reader.optionalString(QStringLiteral("originalFilename")));
}

// MARK: Capture

namespace {

QString systemTimeZoneIdentifier()
{
    // Without tzdata (a bare container) the system zone may have no name; the
    // field is documented as always set by this constructor.
    const QString identifier = QString::fromUtf8(QTimeZone::systemTimeZoneId());
    return identifier.isEmpty() ? QStringLiteral("UTC") : identifier;
}

template <typename T>
QJsonArray toJsonArray(const QList<T>& values)
{
    QJsonArray array;
    for (const T& value : values)
        array.append(value.toJson());
    return array;
}

} // namespace

Capture::Capture(const QUuid& id, const ReferenceDate& createdAt, const QString& body,
                 const QList<CaptureAttachment>& attachments, const std::optional<QUuid>& destinationID)
    : id(id), createdAt(createdAt), timeZoneIdentifier(systemTimeZoneIdentifier()), body(body),
      attachments(attachments), destinationID(destinationID), usesExplicitDestination(true)
{
}

QJsonObject Capture::toJson() const
{
    return Json::Writer()
        .set(QStringLiteral("id"), id)
        .set(QStringLiteral("createdAt"), createdAt)
        .setOptional(QStringLiteral("timeZoneIdentifier"), timeZoneIdentifier)
        .set(QStringLiteral("body"), body)
        .set(QStringLiteral("attachments"), toJsonArray(attachments))
        .setOptional(QStringLiteral("imageReferences"),
                     imageReferences ? std::optional(toJsonArray(*imageReferences)) : std::nullopt)
        .setOptional(QStringLiteral("destinationID"), destinationID)
        .setOptional(QStringLiteral("deliveryDestination"),
                     deliveryDestination ? std::optional(deliveryDestination->toJson()) : std::nullopt)
        .setOptional(QStringLiteral("deliveryVaultID"), deliveryVaultID)
        .setOptional(QStringLiteral("usesExplicitDestination"), usesExplicitDestination)
        .object();
}

Capture Capture::fromJson(const QJsonObject& object)
{
    const Json::Reader reader(object);
    Capture capture;
    capture.id = reader.uuid(QStringLiteral("id"));
    capture.createdAt = reader.date(QStringLiteral("createdAt"));
    capture.timeZoneIdentifier = reader.optionalString(QStringLiteral("timeZoneIdentifier"));
    capture.body = reader.string(QStringLiteral("body"));
    capture.attachments = reader.list<CaptureAttachment>(QStringLiteral("attachments"), &CaptureAttachment::fromJson);
    capture.imageReferences =
        reader.optionalList<ImageReference>(QStringLiteral("imageReferences"), &ImageReference::fromJson);
    capture.destinationID = reader.optionalUuid(QStringLiteral("destinationID"));
    if (const auto destination = reader.optionalObject(QStringLiteral("deliveryDestination")))
        capture.deliveryDestination = Destination::fromJson(*destination);
    capture.deliveryVaultID = reader.optionalUuid(QStringLiteral("deliveryVaultID"));
    capture.usesExplicitDestination = reader.optionalBoolean(QStringLiteral("usesExplicitDestination"));
    return capture;
}

} // namespace quillor
