#pragma once

#include "core/Capture.h"
#include "core/DeliveryReceipt.h"
#include "core/Destination.h"

#include <QFuture>
#include <QList>
#include <QString>
#include <QThreadPool>
#include <QUuid>

#include <functional>

namespace quillor {

// Records a delivered capture in the data directory on a worker thread: its
// history copy, then its receipt. The copy holds the capture's images in
// Base64, seconds of work for large photos, which the user interface must not
// wait for. The receipt is what marks a capture as delivered, so it is written
// only once the copy is on disk, and a failure of either is the future's
// exception (read it with Delivery::result's rule: QtConcurrent wraps it).
class DeliveryRecorder {
public:
    // A send of the same capture under another id that reached the note
    // unconfirmed before its text changed, the capture then being sent under
    // an id of its own. Its text is in the note: it gets its receipt (its
    // history copy, if any, stays as it was written).
    struct EarlierSend {
        QUuid id;
        // Where that send's text is; asked on the worker thread, as finding it
        // reads the vault's folders.
        std::function<QString()> note;
    };

    explicit DeliveryRecorder(QString dataDirectory);
    // Waits for the record being written: a capture the note holds keeps its
    // history and receipt however the program ends. (A quit waits for it
    // anyway: the model is saving until the record is written.)
    ~DeliveryRecorder();

    DeliveryRecorder(const DeliveryRecorder&) = delete;
    DeliveryRecorder& operator=(const DeliveryRecorder&) = delete;

    // `date` is the receipt's, as ISO 8601 text; gives the receipt written.
    // The history copy is encoded as draft.json is (DraftEncoder). The
    // earlier sends' receipts are written first, dated `earlierDate`: the
    // capture's own stays the last file of the record and, dated after them,
    // the latest receipt a later start-up finds.
    QFuture<DeliveryReceipt> record(const Capture& capture, const Destination& destination, const QString& note,
                                    const QString& date, const QList<EarlierSend>& earlier = {},
                                    const QString& earlierDate = {});

private:
    const QString m_dataDirectory;
    QThreadPool m_thread;
};

} // namespace quillor
