#pragma once

#include "core/DeliveryReceipt.h"
#include "inbox/CaptureSummary.h"
#include "inbox/DeliveryFailure.h"

#include <QList>
#include <QString>

namespace quillor {

// One folder or file of the inbox that could not be read, and why.
struct InboxReadIssue {
    // "Receipts" for a folder that cannot be listed, "Receipts/<name>" for one
    // record file, the absolute path of a draft edit whose lookup failed.
    QString path;
    QString message;

    const QString& id() const { return path; }

    bool operator==(const InboxReadIssue&) const = default;
};

// Everything an inbox holds, as light records, with the files it could not use.
struct InboxRecoverySnapshot {
    QList<CaptureSummary> drafts;        // merged with their edits, oldest first
    QList<CaptureSummary> captures;      // queued, oldest first
    QList<DeliveryReceipt> receipts;     // latest date text first
    QList<DeliveryFailure> failures;     // undelivered captures only, newest first
    QList<InboxReadIssue> issues;        // Drafts, draft edits, Captures, Receipts, Failures

    bool operator==(const InboxRecoverySnapshot&) const = default;
};

} // namespace quillor
