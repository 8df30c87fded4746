#include "inbox/CaptureInbox.h"

#include <QFileInfo>
#include <QSet>

#include <algorithm>
#include <exception>

namespace quillor {

namespace {

QString messageOf(const std::exception& error)
{
    // quillor::Error gives its French text here too.
    return QString::fromUtf8(error.what());
}

QString stem(const QString& fileName)
{
    return fileName.left(fileName.lastIndexOf(QLatin1Char('.')));
}

// The records of one folder that can be read, decoded and whose file name is
// the id of the capture they hold, in file-name order; every other file, and a
// folder that cannot be listed, becomes an issue.
template <typename Decode, typename Identity>
auto recoveryRecords(const InboxDirectory& files, const QString& folder, QList<InboxReadIssue>& issues,
                     Decode&& decode, Identity&& identity)
{
    QList<decltype(decode(QJsonObject()))> records;
    QList<InboxDirectory::RecordFile> entries;
    try {
        entries = files.list(folder);
    } catch (const std::exception& error) {
        issues.append(InboxReadIssue{folder, messageOf(error)});
        return records;
    }
    // Names in one folder are unique: no need for a stable sort.
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
    for (const InboxDirectory::RecordFile& entry : std::as_const(entries)) {
        const auto file = [&] { return folder + QLatin1Char('/') + entry.name; };
        try {
            auto record = readRecord(folder, entry.path, decode);
            const std::optional<QUuid> id = identity(record);
            const std::optional<QUuid> named = Json::parseUuid(stem(entry.name));
            if (!id || !named || *id != *named)
                throw InboxRecordError::misnamed(file());
            records.append(std::move(record));
        } catch (const std::exception& error) {
            issues.append(InboxReadIssue{file(), messageOf(error)});
        }
    }
    return records;
}

std::optional<QUuid> summaryIdentity(const CaptureSummary& summary)
{
    return summary.id;
}

} // namespace

InboxRecoverySnapshot CaptureInbox::recoverySnapshot() const
{
    InboxRecoverySnapshot snapshot;
    QList<InboxReadIssue>& issues = snapshot.issues;

    snapshot.drafts = recoveryRecords(m_files, InboxFolder::drafts(), issues, &CaptureSummary::fromJson, summaryIdentity);
    // The attachment check of a merged read is not made: a summary carries no
    // attachments.
    for (CaptureSummary& draft : snapshot.drafts) {
        try {
            if (const auto edit = draftEdit(draft.id, draft.draftRevision))
                draft = edit->appliedTo(draft);
        } catch (const std::exception& error) {
            const QString path = m_files.existingRecord(InboxFolder::draftEdits(), draft.id)
                                     .value_or(m_files.recordPath(InboxFolder::draftEdits(), draft.id));
            issues.append(InboxReadIssue{QFileInfo(path).absoluteFilePath(), messageOf(error)});
        }
    }
    sortByCreatedAt(snapshot.drafts);

    snapshot.captures =
        recoveryRecords(m_files, InboxFolder::captures(), issues, &CaptureSummary::fromJson, summaryIdentity);
    sortByCreatedAt(snapshot.captures);

    snapshot.receipts = recoveryRecords(m_files, InboxFolder::receipts(), issues, &DeliveryReceipt::fromJson,
                                        [](const DeliveryReceipt& receipt) { return Json::parseUuid(receipt.captureID); });
    std::stable_sort(snapshot.receipts.begin(), snapshot.receipts.end(),
                     [](const DeliveryReceipt& a, const DeliveryReceipt& b) { return a.date > b.date; });

    QSet<QUuid> delivered;
    for (const DeliveryReceipt& receipt : std::as_const(snapshot.receipts)) {
        if (const auto id = Json::parseUuid(receipt.captureID))
            delivered.insert(*id);
    }
    snapshot.failures = recoveryRecords(m_files, InboxFolder::failures(), issues, &DeliveryFailure::fromJson,
                                        [](const DeliveryFailure& failure) { return std::optional(failure.id); });
    snapshot.failures.removeIf([&delivered](const DeliveryFailure& failure) { return delivered.contains(failure.id); });
    std::stable_sort(snapshot.failures.begin(), snapshot.failures.end(),
                     [](const DeliveryFailure& a, const DeliveryFailure& b) { return a.date > b.date; });
    return snapshot;
}

} // namespace quillor
