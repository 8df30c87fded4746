#pragma once

#include "core/ArchivedCapture.h"
#include "core/Capture.h"
#include "core/DeliveryReceipt.h"

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace quillor {

// The read side of the capture history in the data directory, plus the
// recovered copies of drafts set aside:
//   History/<capture UUID>.json              a delivered capture
//   Recovered/<capture UUID>-<UUID>.json     a capture set aside (preserve)
//   Receipts/<capture UUID>.json             its DeliveryReceipt
//   Backups/<capture UUID>.md                the note before an append
// Every call reads the folders afresh.
struct CaptureArchive {
    QString directory;

    // Writes a new recovered copy atomically and returns its path; never
    // overwrites an earlier copy of the same capture. Throws FileSystemError.
    QString preserve(const Capture& capture) const;

    // History copies then recovered copies, each joined with its receipt and
    // backup, newest createdAt first (equal dates keep reading order).
    // Unreadable or malformed files are skipped; throws FileSystemError only
    // when an existing folder cannot be listed.
    QList<ArchivedCapture> entries() const;
    // The same list with each capture's summary alone (CaptureSummary: no
    // attachment bytes), as a list of the history shows it; a capture whose
    // text is too long for a summary is listed without it (textLeftOut).
    // Gives up with an empty list once `isCancelled` says so.
    QList<ArchivedCapture> summaries(const std::function<bool()>& isCancelled = {}) const;
    // The whole capture stored in `source`, an entry's file; throws
    // FileSystemError, or JsonDecodingError for a file that is not a capture.
    static Capture record(const QString& source);

    // The receipt with the greatest date text; the first listed on ties.
    // Thousands of receipts are read: callers keep it off the UI thread. A
    // file larger than DeliveryReceipt::maximumFileSize is skipped unread,
    // and its path added to `oversized` when given. Gives up with nothing
    // once `isCancelled` says so.
    std::optional<DeliveryReceipt> latestReceipt(QStringList* oversized = nullptr,
                                                 const std::function<bool()>& isCancelled = {}) const;

    bool operator==(const CaptureArchive&) const = default;
};

} // namespace quillor
