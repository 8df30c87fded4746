#include "inbox/DraftRecords.h"

#include "core/Json.h"

#include <QJsonArray>

namespace quillor {

namespace {

const QString revisionKey = QStringLiteral("draftRevision");
const QString attachmentIDsKey = QStringLiteral("attachmentIDs");

QJsonArray uuidArray(const QList<QUuid>& ids)
{
    QJsonArray array;
    for (const QUuid& id : ids)
        array.append(Json::uuidText(id));
    return array;
}

QList<QUuid> uuidList(const QJsonArray& array)
{
    QList<QUuid> ids;
    ids.reserve(array.size());
    for (const QJsonValue& value : array) {
        const auto id = value.isString() ? Json::parseUuid(value.toString()) : std::nullopt;
        if (!id)
            throw JsonDecodingError(attachmentIDsKey + QStringLiteral(": expected an array of UUID texts"));
        ids.append(*id);
    }
    return ids;
}

} // namespace

QJsonObject DraftSnapshot::toJson() const
{
    QJsonObject object = capture.toJson();
    object.insert(revisionKey, Json::uuidText(draftRevision));
    return object;
}

std::optional<QUuid> DraftSnapshot::revisionOf(const QJsonObject& object)
{
    const QJsonValue value = object.value(revisionKey);
    return value.isString() ? Json::parseUuid(value.toString()) : std::nullopt;
}

QJsonObject Revision::toJson() const
{
    Json::Writer writer;
    writer.set(revisionKey, draftRevision);
    if (attachmentIDs)
        writer.set(attachmentIDsKey, uuidArray(*attachmentIDs));
    return writer.object();
}

Revision Revision::fromJson(const QJsonObject& object)
{
    const Json::Reader reader(object);
    const auto ids = reader.optionalArray(attachmentIDsKey);
    return Revision{reader.uuid(revisionKey), ids ? std::optional(uuidList(*ids)) : std::nullopt};
}

DraftEdit DraftEdit::of(const Capture& capture, const QUuid& revision)
{
    DraftEdit edit{capture, revision, quillor::attachmentIDs(capture)};
    edit.capture.attachments.clear();
    return edit;
}

Capture DraftEdit::appliedTo(const Capture& snapshot) const
{
    Capture merged = capture;
    merged.attachments = snapshot.attachments;
    return merged;
}

CaptureSummary DraftEdit::appliedTo(CaptureSummary summary) const
{
    summary.createdAt = capture.createdAt;
    summary.body = capture.body;
    return summary;
}

QJsonObject DraftEdit::toJson() const
{
    return Json::Writer()
        .set(QStringLiteral("capture"), capture.toJson())
        .set(revisionKey, draftRevision)
        .set(attachmentIDsKey, uuidArray(attachmentIDs))
        .object();
}

DraftEdit DraftEdit::fromJson(const QJsonObject& object)
{
    const Json::Reader reader(object);
    return DraftEdit{Capture::fromJson(reader.object(QStringLiteral("capture"))), reader.uuid(revisionKey),
                     uuidList(reader.array(attachmentIDsKey))};
}

QList<QUuid> attachmentIDs(const Capture& capture)
{
    QList<QUuid> ids;
    ids.reserve(capture.attachments.size());
    for (const CaptureAttachment& attachment : capture.attachments)
        ids.append(attachment.id);
    return ids;
}

} // namespace quillor
