#pragma once

#include "core/ReferenceDate.h"

#include <QJsonObject>
#include <QString>
#include <QUuid>

#include <optional>

namespace quillor {

// A light view of a draft snapshot or a queued capture: what a list shows,
// read from the same file without decoding the attachments. Never written.
struct CaptureSummary {
    QUuid id;
    ReferenceDate createdAt;
    QString body;
    std::optional<QUuid> draftRevision;   // draft snapshots only

    // Throws JsonDecodingError; a "draftRevision" that is not a UUID text fails.
    static CaptureSummary fromJson(const QJsonObject& object);

    bool operator==(const CaptureSummary&) const = default;
};

} // namespace quillor
