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

// A record with the name of the file it was read from.
template <typename T>
struct NamedRecord {
    QString name;
    T record;
};

// The records of one folder that can be read, decoded and whose file name is
// the id of the capture they hold, in listing order; every other file, and a
// folder that cannot be listed, becomes an issue, in file-name order.
template <typename Decode, typename Identity>
auto recoveryRecords(const InboxDirectory& files, const QString& folder, QList<InboxReadIssue>& issues,
                     Decode&& decode, Identity&& identity)
{
    QList<NamedRecord<decltype(decode(QJsonObject()))>> records;
    QList<InboxDirectory::RecordFile> entries;
    try {
        entries = files.list(folder);
    } catch (const std::exception& error) {
        issues.append(InboxReadIssue{folder, messageOf(error)});
        return records;
    }
    // Files are read in listing order, the one the file system serves
    // fastest; sorting a whole large folder by name would cost more than
    // sorting the few problems.
    QList<InboxReadIssue> problems;
    for (const InboxDirectory::RecordFile& entry : std::as_const(entries)) {
        const auto file = [&] { return folder + QLatin1Char('/') + entry.name; };
        try {
            auto record = readRecord(folder, entry.path, decode);
            const std::optional<QUuid> id = identity(record);
            const std::optional<QUuid> named = Json::parseUuid(stem(entry.name));
            if (!id || !named || *id != *named)
                throw InboxRecordError::misnamed(file());
            records.append({entry.name, std::move(record)});
        } catch (const std::exception& error) {
            problems.append(InboxReadIssue{file(), messageOf(error)});
        }
    }
    std::sort(problems.begin(), problems.end(),
              [](const InboxReadIssue& a, const InboxReadIssue& b) { return a.path < b.path; });
    issues.append(problems);
    return records;
}

// The records ordered by `before`; those it does not tell apart in file-name
// order (names in one folder are unique, so the order is total).
template <typename T, typename Before>
QList<T> ordered(QList<NamedRecord<T>> named, Before&& before)
{
    std::sort(named.begin(), named.end(), [&before](const NamedRecord<T>& a, const NamedRecord<T>& b) {
        if (before(a.record, b.record))
            return true;
        return !before(b.record, a.record) && a.name < b.name;
    });
    QList<T> records;
    records.reserve(named.size());
    for (NamedRecord<T>& entry : named)
        records.append(std::move(entry.record));
    return records;
}

// A record the lists would leave out must be an issue here: it is decoded
// whole as they decode it, attachments included, though only its summary is
// kept.
CaptureSummary queuedSummary(const QJsonObject& object)
{
    Capture::fromJson(object);
    return CaptureSummary::fromJson(object);
}

// A draft snapshot's summary, and the attachments its edit must keep.
struct DraftSummary {
    CaptureSummary summary;
    QList<QUuid> attachmentIDs;
};

DraftSummary draftSummary(const QJsonObject& object)
{
    QList<QUuid> ids = attachmentIDs(Capture::fromJson(object));
    return DraftSummary{CaptureSummary::fromJson(object), std::move(ids)};
}

std::optional<QUuid> summaryIdentity(const CaptureSummary& summary)
{
    return summary.id;
}

bool olderSummary(const CaptureSummary& a, const CaptureSummary& b)
{
    return a.createdAt < b.createdAt;
}

} // namespace

InboxRecoverySnapshot CaptureInbox::recoverySnapshot() const
{
    InboxRecoverySnapshot snapshot;
    QList<InboxReadIssue>& issues = snapshot.issues;

    const auto saved = recoveryRecords(m_files, InboxFolder::drafts(), issues, draftSummary,
                                       [](const DraftSummary& draft) { return std::optional(draft.summary.id); });
    // An edit that drafts() could not merge is an issue, and the draft is kept
    // as saved. Issues follow the drafts' file names.
    QList<NamedRecord<CaptureSummary>> drafts;
    QList<NamedRecord<InboxReadIssue>> editIssues;
    for (const NamedRecord<DraftSummary>& draft : saved) {
        const CaptureSummary& summary = draft.record.summary;
        const QUuid id = summary.id;
        drafts.append({draft.name, summary});
        try {
            if (const auto edit = draftEdit(id, summary.draftRevision)) {
                if (edit->attachmentIDs != draft.record.attachmentIDs)
                    throw InboxError::editImagesDiffer();
                drafts.last().record = edit->appliedTo(summary);
            }
        } catch (const std::exception& error) {
            const QString path = m_files.existingRecord(InboxFolder::draftEdits(), id)
                                     .value_or(m_files.recordPath(InboxFolder::draftEdits(), id));
            editIssues.append({draft.name, InboxReadIssue{QFileInfo(path).absoluteFilePath(), messageOf(error)}});
        }
    }
    issues.append(ordered(std::move(editIssues), [](const auto&, const auto&) { return false; }));   // by name alone
    snapshot.drafts = ordered(std::move(drafts), olderSummary);

    snapshot.captures = ordered(
        recoveryRecords(m_files, InboxFolder::captures(), issues, queuedSummary, summaryIdentity),
        olderSummary);

    snapshot.receipts = ordered(
        recoveryRecords(m_files, InboxFolder::receipts(), issues, &DeliveryReceipt::fromJson,
                        [](const DeliveryReceipt& receipt) { return Json::parseUuid(receipt.captureID); }),
        [](const DeliveryReceipt& a, const DeliveryReceipt& b) { return a.date > b.date; });

    QSet<QUuid> delivered;
    for (const DeliveryReceipt& receipt : std::as_const(snapshot.receipts)) {
        if (const auto id = Json::parseUuid(receipt.captureID))
            delivered.insert(*id);
    }
    auto failures = recoveryRecords(m_files, InboxFolder::failures(), issues, &DeliveryFailure::fromJson,
                                    [](const DeliveryFailure& failure) { return std::optional(failure.id); });
    failures.removeIf([&delivered](const auto& failure) { return delivered.contains(failure.record.id); });
    snapshot.failures = ordered(std::move(failures),
                                [](const DeliveryFailure& a, const DeliveryFailure& b) { return a.date > b.date; });
    return snapshot;
}

} // namespace quillor
