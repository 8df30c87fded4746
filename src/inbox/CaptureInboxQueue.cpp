#include "inbox/CaptureInbox.h"

#include "core/CaptureError.h"
#include "core/DateFormats.h"
#include "vault/NoteFiles.h"

#include <cerrno>

namespace quillor {

void CaptureInbox::enqueue(const Capture& capture) const
{
    // Attachments do not count by themselves: an image stands in the body as
    // its token.
    if (capture.body.trimmed().isEmpty())
        throw CaptureError::empty();
    if (const auto queued = this->capture(capture.id)) {
        if (*queued != capture)
            throw InboxError::captureAlreadyQueued();
    } else {
        m_files.write(InboxFolder::captures(), capture.id, capture.toJson());
    }
    discardDraft(capture.id);
}

QList<Capture> CaptureInbox::captures() const
{
    return capturesIn(InboxFolder::captures());
}

QList<CaptureSummary> CaptureInbox::captureSummaries() const
{
    return summariesIn(InboxFolder::captures());
}

std::optional<Capture> CaptureInbox::capture(const QUuid& id) const
{
    return read(InboxFolder::captures(), id);
}

Capture CaptureInbox::bindDeliveryVault(const QUuid& id, const QUuid& vault) const
{
    auto queued = capture(id);
    if (!queued)
        throw FileSystemError(FileSystemError::Operation::read, m_files.recordPath(InboxFolder::captures(), id), ENOENT);
    if (!queued->deliveryVaultID) {
        queued->deliveryVaultID = vault;
        m_files.write(InboxFolder::captures(), id, queued->toJson());
        return *queued;
    }
    if (*queued->deliveryVaultID != vault)
        throw InboxError::captureAlreadyQueued();
    return *queued;
}

std::optional<DeliveryReceipt> CaptureInbox::receipt(const QUuid& id) const
{
    return m_files.read(InboxFolder::receipts(), id, &DeliveryReceipt::fromJson);
}

void CaptureInbox::recordDelivery(const Capture& capture, const QString& note, const std::optional<QString>& root) const
{
    const std::optional<QString> relativePath =
        root ? std::optional(NoteFiles::relativePath(note, *root)) : std::nullopt;
    const DeliveryReceipt receipt{
        Json::uuidText(capture.id),
        note,
        DateFormats::iso8601(m_clock()),
        capture.deliveryDestination ? std::optional(capture.deliveryDestination->displayName()) : std::nullopt,
        capture.destinationID,
        capture.deliveryVaultID,
        relativePath,
    };
    m_files.write(InboxFolder::receipts(), capture.id, receipt.toJson());
    m_files.removeQuietly(InboxFolder::failures(), capture.id);
}

void CaptureInbox::recordDeliveryFailure(const QUuid& id, const QString& message) const
{
    if (receipt(id))
        return;
    m_files.write(InboxFolder::failures(), id, DeliveryFailure{id, m_clock(), message}.toJson());
}

} // namespace quillor
