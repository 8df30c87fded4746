#pragma once

#include "core/Capture.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QUuid>

namespace quillor {

// Turns drafts into the bytes of draft.json (the Capture JSON form), keeping
// each attachment's Base64 text from one draft to the next: a save then costs
// the draft's text, not its images, which a draft keeps until it is replaced.
// Not thread-safe; one writer at a time uses it.
class DraftEncoder {
public:
    // The file's bytes in order, to be written one after the other; equal,
    // once joined, to Json::serialize(draft.toJson()).
    QList<QByteArray> encode(const Capture& draft);

private:
    struct Encoded {
        QByteArray data;     // held, so the same bytes are known by their address
        QByteArray base64;
    };
    const QByteArray& base64Of(const CaptureAttachment& attachment);

    QHash<QUuid, Encoded> m_encoded;
};

} // namespace quillor
