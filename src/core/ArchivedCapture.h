#pragma once

#include "core/Capture.h"
#include "core/DeliveryReceipt.h"

#include <QString>
#include <QUuid>

#include <optional>

namespace quillor {

// One entry of the capture history: a stored copy of a capture with what is
// known about its delivery. Built by CaptureArchive::entries(); a history copy
// and a recovered copy of one capture are two entries with the same id.
struct ArchivedCapture {
    enum class FileState { unconfirmed, available, missing, unavailable };

    Capture capture;
    std::optional<DeliveryReceipt> receipt;
    std::optional<QString> backup;   // the note's bytes before an append
    QString source;                  // the JSON file the capture was read from
    // Listed from a summary whose text was too long to read: `capture.body`
    // is empty, and only the whole record holds it.
    bool textLeftOut = false;

    QUuid id() const { return capture.id; }

    // Where the delivered note stands now; asks the file system afresh on
    // every call and never throws.
    FileState fileState() const;
    bool deliveredFileExists() const { return fileState() == FileState::available; }
    // The localised text of fileState() shown in the history list.
    QString deliveryStatus() const;

    bool operator==(const ArchivedCapture&) const = default;
};

} // namespace quillor
