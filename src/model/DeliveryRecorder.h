#pragma once

#include "core/Capture.h"
#include "core/DeliveryReceipt.h"
#include "core/Destination.h"

#include <QFuture>
#include <QString>
#include <QThreadPool>

namespace quillor {

// Records a delivered capture in the data directory on a worker thread: its
// history copy, then its receipt. The copy holds the capture's images in
// Base64, seconds of work for large photos, which the user interface must not
// wait for. The receipt is what marks a capture as delivered, so it is written
// only once the copy is on disk, and a failure of either is the future's
// exception (read it with Delivery::result's rule: QtConcurrent wraps it).
class DeliveryRecorder {
public:
    explicit DeliveryRecorder(QString dataDirectory);
    // Waits for the record being written: a capture the note holds keeps its
    // history and receipt however the program ends. (A quit waits for it
    // anyway: the model is saving until the record is written.)
    ~DeliveryRecorder();

    DeliveryRecorder(const DeliveryRecorder&) = delete;
    DeliveryRecorder& operator=(const DeliveryRecorder&) = delete;

    // `date` is the receipt's, as ISO 8601 text; gives the receipt written.
    // The history copy is encoded as draft.json is (DraftEncoder).
    QFuture<DeliveryReceipt> record(const Capture& capture, const Destination& destination, const QString& note,
                                    const QString& date);

private:
    const QString m_dataDirectory;
    QThreadPool m_thread;
};

} // namespace quillor
