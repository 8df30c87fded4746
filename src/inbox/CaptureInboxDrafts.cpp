#include "inbox/CaptureInbox.h"

namespace quillor {

QUuid CaptureInbox::saveDraft(const Capture& capture) const
{
    const QUuid revision = QUuid::createUuid();
    // The old revision goes first: should a later step fail, edits are refused
    // until a whole save succeeds, rather than accepted against a revision the
    // snapshot no longer carries and then silently dropped.
    m_files.remove(InboxFolder::draftRevisions(), capture.id);
    m_files.write(InboxFolder::drafts(), capture.id, DraftSnapshot{capture, revision}.toJson());
    m_files.write(InboxFolder::draftRevisions(), capture.id, Revision{revision, attachmentIDs(capture)}.toJson());
    m_files.removeQuietly(InboxFolder::draftEdits(), capture.id);
    return revision;
}

void CaptureInbox::saveDraftEdit(const Capture& capture, const QUuid& revision) const
{
    if (!m_files.existingRecord(InboxFolder::drafts(), capture.id))
        throw InboxError::captureAlreadyQueued();
    const auto stored = storedRevision(capture.id);
    if (!stored || stored->draftRevision != revision)
        throw InboxError::captureAlreadyQueued();
    // An edit that adds, drops or reorders attachments could never be merged
    // with the snapshot's bytes; once stored it would break every read of the
    // draft until the next whole save.
    const DraftEdit edit = DraftEdit::of(capture, revision);
    if (edit.attachmentIDs != snapshotAttachmentIDs(*stored, capture.id))
        throw InboxError::editImagesDiffer();
    m_files.write(InboxFolder::draftEdits(), capture.id, edit.toJson());
}

std::optional<Revision> CaptureInbox::storedRevision(const QUuid& id) const
{
    try {
        return m_files.read(InboxFolder::draftRevisions(), id, &Revision::fromJson);
    } catch (const Error&) {
        // An unreadable revision is no revision: the edit is refused.
    }
    return std::nullopt;
}

QList<QUuid> CaptureInbox::snapshotAttachmentIDs(const Revision& revision, const QUuid& id) const
{
    if (revision.attachmentIDs)
        return *revision.attachmentIDs;
    const auto ids = m_files.read(InboxFolder::drafts(), id,
                                  [](const QJsonObject& object) { return attachmentIDs(Capture::fromJson(object)); });
    if (!ids)
        throw InboxError::captureAlreadyQueued();
    return *ids;
}

std::optional<Capture> CaptureInbox::draft(const QUuid& id) const
{
    return read(InboxFolder::drafts(), id);
}

QList<Capture> CaptureInbox::drafts() const
{
    return capturesIn(InboxFolder::drafts());
}

QList<CaptureSummary> CaptureInbox::draftSummaries() const
{
    return summariesIn(InboxFolder::drafts());
}

void CaptureInbox::discardDraft(const QUuid& id) const
{
    m_files.remove(InboxFolder::drafts(), id);
    m_files.removeQuietly(InboxFolder::draftEdits(), id);
    m_files.removeQuietly(InboxFolder::draftRevisions(), id);
}

std::optional<DraftEdit> CaptureInbox::draftEdit(const QUuid& id, const std::optional<QUuid>& revision) const
{
    if (!revision)
        return std::nullopt;
    auto edit = m_files.read(InboxFolder::draftEdits(), id, &DraftEdit::fromJson);
    if (!edit || edit->draftRevision != *revision)
        return std::nullopt;
    if (edit->capture.id != id)
        throw InboxError::captureAlreadyQueued();
    return edit;
}

Capture CaptureInbox::readDraft(const QString& path, const QByteArray& bytes) const
{
    const auto [snapshot, revision] = decodeRecord(InboxFolder::drafts(), path, bytes, [](const QJsonObject& object) {
        return std::pair(Capture::fromJson(object), DraftSnapshot::revisionOf(object));
    });
    const auto edit = draftEdit(snapshot.id, revision);
    if (!edit)
        return snapshot;
    // Kept for edits written by other tools; saveDraftEdit refuses such edits.
    if (edit->attachmentIDs != attachmentIDs(snapshot))
        throw InboxError::editImagesDiffer();
    return edit->appliedTo(snapshot);
}

} // namespace quillor
