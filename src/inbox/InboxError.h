#pragma once

#include "core/Error.h"

#include <QHashFunctions>
#include <QString>

namespace quillor {

// The conflicts the inbox reports. captureAlreadyQueued: a draft that is gone
// or has moved on, an edit that does not belong to its draft, a queued capture
// that differs, a vault binding that differs; its text is fixed French, not
// looked up. editImagesDiffer: an edit of a draft that names other images than
// the draft's saved snapshot holds, which could never be merged with them.
class InboxError : public Error {
public:
    enum class Kind { captureAlreadyQueued, editImagesDiffer };

    static InboxError captureAlreadyQueued() { return InboxError(Kind::captureAlreadyQueued); }
    static InboxError editImagesDiffer() { return InboxError(Kind::editImagesDiffer); }

    Kind kind() const { return m_kind; }
    QString errorDescription() const;
    QString localizedDescription() const override { return errorDescription(); }

    bool operator==(const InboxError& other) const { return m_kind == other.m_kind; }
    friend size_t qHash(const InboxError& error, size_t seed = 0) { return ::qHash(int(error.m_kind), seed); }

private:
    explicit InboxError(Kind kind) : m_kind(kind) {}
    Kind m_kind;
};

// The errors of one record file that exists but cannot be used. `file` names it
// inside the inbox ("Captures/<UUID>.json").
namespace InboxRecordError {

// Not JSON, or not the record the folder holds.
PlatformError undecodable(const QString& file);
// Its name is not the id of the capture it holds.
PlatformError misnamed(const QString& file);
// Larger than any record the inbox writes (InboxDirectory::maximumRecordSize).
PlatformError tooLarge(const QString& file);

} // namespace InboxRecordError
} // namespace quillor
