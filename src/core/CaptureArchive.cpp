#include "core/CaptureArchive.h"

#include "core/CaptureSummary.h"
#include "core/FileSystem.h"
#include "core/Json.h"

#include <QFile>
#include <QUuid>

#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <system_error>

namespace quillor {

namespace {

QString childPath(const QString& folder, const QString& name)
{
    return folder + QLatin1Char('/') + name;
}

// The files of a folder named "*.json" (case-sensitive), in listing order; a
// missing folder is empty. QDir would hide a folder it cannot read behind an
// empty list, which must not pass for "no history".
QStringList jsonFiles(const QString& folder)
{
    namespace fs = std::filesystem;
    QStringList files;
    std::error_code error;
    fs::directory_iterator it(fs::path(QFile::encodeName(folder).toStdString()), error);
    if (error) {
        if (error.value() == ENOENT)
            return files;
        throw FileSystemError(FileSystemError::Operation::list, folder, error.value());
    }
    // A failed step leaves the iterator at the end with the error set.
    for (; it != fs::directory_iterator(); it.increment(error)) {
        if (it->path().extension() == ".json")
            files.append(QFile::decodeName(it->path().c_str()));
    }
    if (error)
        throw FileSystemError(FileSystemError::Operation::list, folder, error.value());
    return files;
}

std::optional<Capture> readCapture(const QString& path)
{
    try {
        return CaptureArchive::record(path);
    } catch (const Error&) {
    } catch (const JsonDecodingError&) {
    }
    return std::nullopt;
}

// nullopt for a file that cannot be read or is no receipt; one too large to
// be a receipt is not read at all, and is added to `oversized` when given.
std::optional<DeliveryReceipt> readReceipt(const QString& path, QStringList* oversized = nullptr)
{
    try {
        if (const auto bytes = FileSystem::readIfExists(path, DeliveryReceipt::maximumFileSize))
            return DeliveryReceipt::fromJson(Json::parseObject(*bytes));
    } catch (const FileSystemError& error) {
        if (oversized && error.errnoValue() == EFBIG)
            oversized->append(path);
    } catch (const Error&) {
    } catch (const JsonDecodingError&) {
    }
    return std::nullopt;
}

} // namespace

QString CaptureArchive::preserve(const Capture& capture) const
{
    const QString folder = childPath(directory, QStringLiteral("Recovered"));
    FileSystem::createDirectories(folder);
    const QString name = Json::uuidText(capture.id) + QLatin1Char('-')
        + Json::uuidText(QUuid::createUuid()) + QStringLiteral(".json");
    const QString path = childPath(folder, name);
    FileSystem::writeAtomically(path, Json::serialize(capture.toJson()));
    return path;
}

namespace {

using CaptureReader = std::function<std::optional<Capture>(const QString& file, bool& textLeftOut)>;

QList<ArchivedCapture> listed(const QString& directory, const CaptureReader& readCapture,
                              const std::function<bool()>& isCancelled)
{
    const QString receipts = childPath(directory, QStringLiteral("Receipts"));
    const QString backups = childPath(directory, QStringLiteral("Backups"));
    QList<ArchivedCapture> result;
    for (const QString& folderName : {QStringLiteral("History"), QStringLiteral("Recovered")}) {
        for (const QString& file : jsonFiles(childPath(directory, folderName))) {
            if (isCancelled && isCancelled())
                return {};
            bool textLeftOut = false;
            std::optional<Capture> capture = readCapture(file, textLeftOut);
            if (!capture)
                continue;
            const QString id = Json::uuidText(capture->id);
            const QString backup = childPath(backups, id + QStringLiteral(".md"));
            result.append(ArchivedCapture{
                std::move(*capture),
                readReceipt(childPath(receipts, id + QStringLiteral(".json"))),
                FileSystem::isRegularFile(backup) ? std::optional<QString>(backup) : std::nullopt,
                file,
                textLeftOut,
            });
        }
    }
    std::stable_sort(result.begin(), result.end(), [](const ArchivedCapture& a, const ArchivedCapture& b) {
        return a.capture.createdAt > b.capture.createdAt;
    });
    return result;
}

} // namespace

QList<ArchivedCapture> CaptureArchive::entries() const
{
    return listed(directory, [](const QString& file, bool&) { return readCapture(file); }, {});
}

QList<ArchivedCapture> CaptureArchive::summaries(const std::function<bool()>& isCancelled) const
{
    return listed(
        directory,
        [&](const QString& file, bool& textLeftOut) { return CaptureSummary::read(file, isCancelled, &textLeftOut); },
        isCancelled);
}

Capture CaptureArchive::record(const QString& source)
{
    const std::optional<QByteArray> bytes = FileSystem::readIfExists(source, Capture::maximumFileSize);
    if (!bytes)
        throw FileSystemError(FileSystemError::Operation::read, source, ENOENT);
    return Capture::fromJson(Json::parseObject(*bytes));
}

std::optional<DeliveryReceipt> CaptureArchive::latestReceipt(QStringList* oversized,
                                                            const std::function<bool()>& isCancelled) const
{
    std::optional<DeliveryReceipt> best;
    for (const QString& file : jsonFiles(childPath(directory, QStringLiteral("Receipts")))) {
        if (isCancelled && isCancelled())
            return std::nullopt;
        std::optional<DeliveryReceipt> receipt = readReceipt(file, oversized);
        if (receipt && (!best || best->date < receipt->date))
            best = std::move(receipt);
    }
    return best;
}

} // namespace quillor
