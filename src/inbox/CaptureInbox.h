#pragma once

#include "core/Capture.h"
#include "core/DeliveryReceipt.h"
#include "core/ReferenceDate.h"
#include "inbox/CaptureSummary.h"
#include "inbox/DeliveryFailure.h"
#include "inbox/DraftRecords.h"
#include "inbox/InboxDirectory.h"
#include "inbox/InboxRecoverySnapshot.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

namespace quillor {

// A store of captures on their way to delivery, all of it JSON files under one
// directory (see InboxDirectory and InboxFolder): drafts saved whole or as
// lighter edits against a revision, the queue of finished captures, and a
// receipt or a failure per delivery. Nothing is kept in memory; every call
// reads and writes the files it needs, and callers serialise their use of one
// directory. Errors: FileSystemError, CaptureError, InboxError and the
// PlatformErrors of InboxRecordError.
class CaptureInbox {
public:
    using Clock = std::function<ReferenceDate()>;

    // Neither creates nor checks the directory. `clock` dates receipts and
    // failures.
    explicit CaptureInbox(QString directory, Clock clock = &ReferenceDate::now);

    const QString& directory() const { return m_files.root(); }

    // MARK: Drafts

    // Stores the whole capture under a new random revision, which it returns,
    // and drops the edit of an earlier revision.
    QUuid saveDraft(const Capture& capture) const;
    // Stores the capture without its attachment bytes as the edit of the draft
    // at `revision`. InboxError when there is no such draft, it has moved on to
    // another revision, or the edit's attachments are not the draft's.
    void saveDraftEdit(const Capture& capture, const QUuid& revision) const;
    // The draft with the edit of its own revision applied; nullopt when there
    // is no draft. InboxError when that edit does not belong to it.
    std::optional<Capture> draft(const QUuid& id) const;
    // Every draft as draft() reads it, oldest createdAt first. A draft that
    // cannot be read or merged is left out rather than hiding the others
    // (recoverySnapshot() shows it); only a folder that cannot be listed
    // throws.
    QList<Capture> drafts() const;
    // The same as summaries, edits applied, attachments never decoded.
    QList<CaptureSummary> draftSummaries() const;
    // Removes the draft, its revision and its edit; no draft is no error.
    void discardDraft(const QUuid& id) const;

    // MARK: Queue and deliveries

    // Queues the capture and ends its draft. CaptureError::empty() for a blank
    // body; InboxError when another capture is queued under its id. Queueing
    // the same capture again changes nothing but the draft.
    void enqueue(const Capture& capture) const;
    // Queued captures, oldest createdAt first; unreadable ones left out, as in
    // drafts().
    QList<Capture> captures() const;
    QList<CaptureSummary> captureSummaries() const;
    std::optional<Capture> capture(const QUuid& id) const;
    // Records the vault a queued capture is delivered into, once; the same
    // vault again changes nothing, another is an InboxError. A capture that is
    // not queued is FileSystemError ENOENT on its record's path.
    Capture bindDeliveryVault(const QUuid& id, const QUuid& vault) const;
    std::optional<DeliveryReceipt> receipt(const QUuid& id) const;
    // Writes the receipt of the note written for `capture` and drops its
    // failure. With a root, the note must lie inside it (the relative path is
    // checked before anything is written).
    void recordDelivery(const Capture& capture, const QString& note, const std::optional<QString>& root) const;
    // Records why a delivery failed, unless the capture was delivered already.
    void recordDeliveryFailure(const QUuid& id, const QString& message) const;

    // MARK: Recovery

    // Everything the inbox holds, each folder read file by file; what cannot be
    // read becomes an issue instead. Never throws, never writes.
    InboxRecoverySnapshot recoverySnapshot() const;

private:
    std::optional<Revision> storedRevision(const QUuid& id) const;
    QList<QUuid> snapshotAttachmentIDs(const Revision& revision, const QUuid& id) const;
    // The edit of draft `id` made against `revision`; nullopt when there is
    // none, or it was made against another revision. InboxError when it holds
    // another capture.
    std::optional<DraftEdit> draftEdit(const QUuid& id, const std::optional<QUuid>& revision) const;
    Capture readDraft(const QString& path, const QByteArray& bytes) const;
    std::optional<Capture> read(const QString& folder, const QUuid& id) const;
    QList<Capture> capturesIn(const QString& folder) const;
    QList<CaptureSummary> summariesIn(const QString& folder) const;

    InboxDirectory m_files;
    Clock m_clock;
};

} // namespace quillor
