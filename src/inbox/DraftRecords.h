#pragma once

#include "core/Capture.h"
#include "inbox/CaptureSummary.h"

#include <QJsonObject>
#include <QList>
#include <QUuid>

#include <optional>

namespace quillor {

// The three records of a draft inside the inbox. Each decoder throws
// JsonDecodingError; keys they do not know are ignored.

// Drafts/<UUID>.json: the capture's own keys with "draftRevision" beside them,
// flat, so the same bytes read back as a Capture. Never decoded as a whole.
struct DraftSnapshot {
    Capture capture;
    QUuid draftRevision;

    QJsonObject toJson() const;
    // The snapshot's revision; nullopt when it is missing or not a UUID text.
    static std::optional<QUuid> revisionOf(const QJsonObject& object);
};

// DraftRevisions/<UUID>.json: the revision an edit must name. It also carries
// the snapshot's attachment ids, so an edit can be checked against them
// without reading the snapshot's image bytes; records written without them
// leave `attachmentIDs` absent.
struct Revision {
    QUuid draftRevision;
    std::optional<QList<QUuid>> attachmentIDs;

    QJsonObject toJson() const;
    static Revision fromJson(const QJsonObject& object);

    bool operator==(const Revision&) const = default;
};

// DraftEdits/<UUID>.json: a capture edited against one revision, without its
// attachment bytes; the attachments themselves stay in the snapshot.
struct DraftEdit {
    Capture capture;               // its attachments always empty
    QUuid draftRevision;
    QList<QUuid> attachmentIDs;    // the edited capture's, in its order

    // The edit of `capture` against `revision`, its attachments set aside.
    static DraftEdit of(const Capture& capture, const QUuid& revision);

    // The edited capture with the snapshot's attachments (their bytes).
    Capture appliedTo(const Capture& snapshot) const;
    // The summary with the edit's date and body; id and revision unchanged.
    CaptureSummary appliedTo(CaptureSummary summary) const;

    QJsonObject toJson() const;
    static DraftEdit fromJson(const QJsonObject& object);

    bool operator==(const DraftEdit&) const = default;
};

// The ids of the capture's attachments, in its order.
QList<QUuid> attachmentIDs(const Capture& capture);

} // namespace quillor
