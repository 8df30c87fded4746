#include "model/DraftEncoder.h"

#include "core/Json.h"

namespace quillor {

const QByteArray& DraftEncoder::base64Of(const CaptureAttachment& attachment)
{
    auto found = m_encoded.find(attachment.id);
    // The same id with other bytes (an attachment replaced in place) is
    // encoded afresh; copies of one attachment share their bytes.
    const bool current = found != m_encoded.end() && found->data.size() == attachment.data.size()
                         && (found->data.constData() == attachment.data.constData() || found->data == attachment.data);
    if (!current)
        found = m_encoded.insert(attachment.id, Encoded{attachment.data, attachment.data.toBase64()});
    return found->base64;
}

QList<QByteArray> DraftEncoder::encode(const Capture& draft)
{
    // The JSON is laid out with a random stand-in for each attachment's data,
    // then each stand-in is replaced by the Base64 text kept for it. A string
    // in the JSON text is a quote, its escaped content and a quote, so a
    // quoted stand-in can only be the value it stands in for.
    Capture outline = draft;
    QList<QByteArray> standIns;
    for (CaptureAttachment& attachment : outline.attachments) {
        attachment.data = QUuid::createUuid().toRfc4122();
        standIns.append('"' + attachment.data.toBase64() + '"');
    }
    const QByteArray text = Json::serialize(outline.toJson());

    QHash<QUuid, Encoded> used;
    QList<QByteArray> parts;
    qsizetype from = 0;
    for (qsizetype index = 0; index < standIns.size(); ++index) {
        const qsizetype at = text.indexOf(standIns.at(index), from);
        if (at < 0)
            return {Json::serialize(draft.toJson())};
        const CaptureAttachment& attachment = draft.attachments.at(index);
        parts.append(text.mid(from, at + 1 - from));
        parts.append(base64Of(attachment));
        used.insert(attachment.id, m_encoded.value(attachment.id));
        from = at + standIns.at(index).size() - 1;
    }
    parts.append(text.mid(from));
    // Only what this draft holds is kept: a replaced draft lets its images go.
    m_encoded = std::move(used);
    return parts;
}

} // namespace quillor
