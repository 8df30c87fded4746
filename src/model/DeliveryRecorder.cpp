#include "model/DeliveryRecorder.h"

#include "core/FileSystem.h"
#include "core/Json.h"
#include "model/DataDirectory.h"
#include "model/DraftEncoder.h"
#include "vault/NoteFiles.h"

#include <QtConcurrent/QtConcurrentRun>

namespace quillor {

namespace {

QString childPath(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

QString jsonFileName(const QUuid& id)
{
    return Json::uuidText(id) + QStringLiteral(".json");
}

DeliveryReceipt receiptFor(const QUuid& id, const Destination& destination, const QString& note, const QString& date)
{
    return {Json::uuidText(id),
            note,
            date,
            destination.displayName(),
            destination.id,
            std::nullopt,
            NoteFiles::relativePath(note, destination.vaultPath)};
}

DeliveryReceipt recordNow(const QString& dataDirectory, const Capture& capture, const Destination& destination,
                          const QString& note, const QString& date,
                          const QList<DeliveryRecorder::EarlierSend>& earlier, const QString& earlierDate)
{
    const QString fileName = jsonFileName(capture.id);
    const QString receipts = childPath(dataDirectory, DataDirectory::receiptsFolderName());
    FileSystem::createDirectories(receipts);
    const DeliveryReceipt receipt = receiptFor(capture.id, destination, note, date);
    for (const DeliveryRecorder::EarlierSend& send : earlier) {
        const DeliveryReceipt confirmed = receiptFor(send.id, destination, send.note(), earlierDate);
        FileSystem::writeAtomically(childPath(receipts, jsonFileName(send.id)), Json::serialize(confirmed.toJson()));
    }

    const QString history = childPath(dataDirectory, DataDirectory::historyFolderName());
    FileSystem::createDirectories(history);
    // Written in parts, the images' Base64 straight from their bytes: no
    // text copy of a large capture is ever made.
    const QList<QByteArray> parts = DraftEncoder().encode(capture);
    FileSystem::writeAtomically(childPath(history, fileName), QList<QByteArrayView>(parts.cbegin(), parts.cend()));
    FileSystem::writeAtomically(childPath(receipts, fileName), Json::serialize(receipt.toJson()));
    return receipt;
}

} // namespace

DeliveryRecorder::DeliveryRecorder(QString dataDirectory) : m_dataDirectory(std::move(dataDirectory))
{
    m_thread.setMaxThreadCount(1);
}

DeliveryRecorder::~DeliveryRecorder()
{
    m_thread.waitForDone();
}

QFuture<DeliveryReceipt> DeliveryRecorder::record(const Capture& capture, const Destination& destination,
                                                  const QString& note, const QString& date,
                                                  const QList<EarlierSend>& earlier, const QString& earlierDate)
{
    return QtConcurrent::run(&m_thread, [directory = m_dataDirectory, capture, destination, note, date, earlier,
                                         earlierDate] {
        return recordNow(directory, capture, destination, note, date, earlier, earlierDate);
    });
}

} // namespace quillor
