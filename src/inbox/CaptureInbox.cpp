#include "inbox/CaptureInbox.h"

namespace quillor {

CaptureInbox::CaptureInbox(QString directory, Clock clock) : m_files(std::move(directory)), m_clock(std::move(clock))
{
}

std::optional<Capture> CaptureInbox::read(const QString& folder, const QUuid& id) const
{
    const auto path = m_files.existingRecord(folder, id);
    if (!path)
        return std::nullopt;
    if (folder == InboxFolder::drafts())
        return readDraft(*path);
    return readRecord(folder, *path, &Capture::fromJson);
}

// One record that cannot be read must not hide the others: it is left out
// here and shown as an issue by recoverySnapshot().
QList<Capture> CaptureInbox::capturesIn(const QString& folder) const
{
    const bool drafts = folder == InboxFolder::drafts();
    QList<Capture> result;
    for (const InboxDirectory::RecordFile& file : m_files.list(folder)) {
        try {
            result.append(drafts ? readDraft(file.path) : readRecord(folder, file.path, &Capture::fromJson));
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
