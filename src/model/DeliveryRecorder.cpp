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

DeliveryReceipt recordNow(const QString& dataDirectory, const Capture& capture, const Destination& destination,
                          const QString& note, const QString& date)
{
    const QString fileName = Json::uuidText(capture.id) + QStringLiteral(".json");
    const QString receipts = childPath(dataDirectory, DataDirectory::receiptsFolderName());
    FileSystem::createDirectories(receipts);
    const DeliveryReceipt receipt{Json::uuidText(capture.id),
                                  note,
                                  date,
                                  destination.displayName(),
                                  destination.id,
                                  std::nullopt,
                                  NoteFiles::relativePath(note, destination.vaultPath)};

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
                                                  const QString& note, const QString& date)
{
    return QtConcurrent::run(&m_thread, [directory = m_dataDirectory, capture, destination, note, date] {
        return recordNow(directory, capture, destination, note, date);
    });
}

} // namespace quillor
