#pragma once

#include "core/FileSystem.h"
#include "core/Json.h"
#include "inbox/InboxError.h"

#include <QJsonObject>
#include <QList>
#include <QString>
#include <QUuid>

#include <algorithm>
#include <optional>

namespace quillor {

// The record files of one inbox: <directory>/<folder>/<UUID>.json. Records are
// written under the upper-case UUID; a record written by another tool under
// the lower-case one is still found, and the next write or removal of that id
// takes it away. Where both exist, the upper-case file is the record.
class InboxDirectory {
public:
    // A record holds at most the images of one capture, each at most 50 MB
    // and a third more in Base64: this leaves room for well over a dozen. A
    // larger file is no record of ours, and is never read.
    static constexpr qsizetype maximumRecordSize = qsizetype(1) << 30;

    explicit InboxDirectory(QString root) : m_root(std::move(root)) {}

    const QString& root() const { return m_root; }
    QString folderPath(const QString& folder) const;
    // The upper-case path, the one every write uses.
    QString recordPath(const QString& folder, const QUuid& id) const;

    // The file holding the record of `id`, when one exists (links followed).
    std::optional<QString> existingRecord(const QString& folder, const QUuid& id) const;

    struct StoredRecord {
        QString path;
        QByteArray bytes;
    };
    // The record of `id` read whole from the file existingRecord() names;
    // nullopt when there is none. Throws as readRecordFile() does.
    std::optional<StoredRecord> readExisting(const QString& folder, const QUuid& id) const;
    // The same, decoded by `decode`; throws as readRecord() does.
    template <typename Decode>
    auto read(const QString& folder, const QUuid& id, Decode&& decode) const
        -> std::optional<decltype(decode(QJsonObject()))>;

    // Stores the record as compact JSON, atomically and durably, creating the
    // folders it needs. A symbolic link in the record's place is replaced, never
    // written through. Throws FileSystemError.
    void write(const QString& folder, const QUuid& id, const QJsonObject& record) const;
    // Removes the record under either name; a missing record is no error.
    // Throws FileSystemError.
    void remove(const QString& folder, const QUuid& id) const;
    // The same, ignoring every failure.
    void removeQuietly(const QString& folder, const QUuid& id) const noexcept;

    struct RecordFile {
        QString name;   // "<UUID>.json"
        QString path;
    };
    // The record files of a folder, in listing order: names ending in ".json"
    // (case-sensitive), hidden names left out, and a lower-case name left out
    // when its upper-case twin is there. A missing folder has none; a folder
    // that cannot be listed, or cannot even be told to be there, throws
    // FileSystemError.
    QList<RecordFile> list(const QString& folder) const;

private:
    QString lowerCasePath(const QString& folder, const QUuid& id) const;

    QString m_root;
};

// How errors name the record file at `path`: "<folder>/<name>".
QString recordFileName(const QString& folder, const QString& path);

// The record file at `path` read whole; nullopt when it does not exist. A FIFO
// or folder in its place is refused at once, never waited on. Throws
// FileSystemError, or InboxRecordError::tooLarge past maximumRecordSize.
std::optional<QByteArray> readRecordFile(const QString& folder, const QString& path);

// Decodes the bytes of the record file at `path`; throws
// InboxRecordError::undecodable naming the file.
template <typename Decode>
auto decodeRecord(const QString& folder, const QString& path, const QByteArray& bytes, Decode&& decode)
    -> decltype(decode(QJsonObject()))
{
    try {
        return decode(Json::parseObject(bytes));
    } catch (const JsonDecodingError&) {
        throw InboxRecordError::undecodable(recordFileName(folder, path));
    }
}

// Reads one listed record file and decodes it. Throws as readRecordFile() and
// decodeRecord() do, and FileSystemError ENOENT when the file is gone.
QByteArray readListedRecord(const QString& folder, const QString& path);
template <typename Decode>
auto readRecord(const QString& folder, const QString& path, Decode&& decode) -> decltype(decode(QJsonObject()))
{
    return decodeRecord(folder, path, readListedRecord(folder, path), decode);
}

template <typename Decode>
auto InboxDirectory::read(const QString& folder, const QUuid& id, Decode&& decode) const
    -> std::optional<decltype(decode(QJsonObject()))>
{
    const auto stored = readExisting(folder, id);
    if (!stored)
        return std::nullopt;
    return decodeRecord(folder, stored->path, stored->bytes, decode);
}

// Oldest createdAt first; equal times keep their order.
template <typename T>
void sortByCreatedAt(QList<T>& records)
{
    std::stable_sort(records.begin(), records.end(), [](const T& a, const T& b) { return a.createdAt < b.createdAt; });
}

// The folders of an inbox and the record each holds.
namespace InboxFolder {
inline QString drafts() { return QStringLiteral("Drafts"); }                   // DraftSnapshot
inline QString draftRevisions() { return QStringLiteral("DraftRevisions"); }   // Revision
inline QString draftEdits() { return QStringLiteral("DraftEdits"); }           // DraftEdit
inline QString captures() { return QStringLiteral("Captures"); }               // Capture
inline QString receipts() { return QStringLiteral("Receipts"); }               // DeliveryReceipt
inline QString failures() { return QStringLiteral("Failures"); }               // DeliveryFailure
} // namespace InboxFolder

} // namespace quillor
