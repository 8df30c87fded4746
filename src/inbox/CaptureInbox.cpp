#include "inbox/CaptureInbox.h"

namespace quillor {

CaptureInbox::CaptureInbox(QString directory, Clock clock) : m_files(std::move(directory)), m_clock(std::move(clock))
{
}

std::optional<Capture> CaptureInbox::read(const QString& folder, const QUuid& id) const
{
    if (folder != InboxFolder::drafts())
        return m_files.read(folder, id, &Capture::fromJson);
    const auto stored = m_files.readExisting(folder, id);
    if (!stored)
        return std::nullopt;
    return readDraft(stored->path, stored->bytes);
}

// One record that cannot be read must not hide the others: it is left out
// here and shown as an issue by recoverySnapshot().
QList<Capture> CaptureInbox::capturesIn(const QString& folder) const
{
    const bool drafts = folder == InboxFolder::drafts();
    QList<Capture> result;
    for (const InboxDirectory::RecordFile& file : m_files.list(folder)) {
        try {
            result.append(drafts ? readDraft(file.path, readListedRecord(folder, file.path))
                                 : readRecord(folder, file.path, &Capture::fromJson));
        } catch (const Error&) {
        }
    }
    sortByCreatedAt(result);
    return result;
}

QList<CaptureSummary> CaptureInbox::summariesIn(const QString& folder) const
{
    const bool drafts = folder == InboxFolder::drafts();
    QList<CaptureSummary> result;
    for (const InboxDirectory::RecordFile& file : m_files.list(folder)) {
        try {
            CaptureSummary summary = readRecord(folder, file.path, &CaptureSummary::fromJson);
            if (drafts) {
                if (const auto edit = draftEdit(summary.id, summary.draftRevision))
                    summary = edit->appliedTo(summary);
            }
            result.append(std::move(summary));
        } catch (const Error&) {
        }
    }
    sortByCreatedAt(result);
    return result;
}

} // namespace quillor
