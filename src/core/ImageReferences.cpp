#include "core/ImageReferences.h"

#include "core/CaptureError.h"
#include "core/FileSystem.h"
#include "core/Json.h"
#include "core/SafePath.h"
#include "core/TextLines.h"

#include <QCryptographicHash>

#include <algorithm>

namespace quillor {

namespace {

constexpr qsizetype maximumFileExtensionLength = 20;

bool isAlphanumeric(char32_t codePoint)
{
    return QChar::isLetterOrNumber(codePoint) || QChar::isMark(codePoint);
}

bool isAcceptedFileExtension(const QString& extension)
{
    const qsizetype length = Graphemes::count(extension);
    if (length < 1 || length > maximumFileExtensionLength)
        return false;
    // toUcs4 turns an unpaired surrogate into U+FFFD, which is refused.
    const QList<uint> codePoints = extension.toUcs4();
    return std::all_of(codePoints.begin(), codePoints.end(), [](uint cp) { return isAlphanumeric(char32_t(cp)); });
}

bool isAcceptedExtension(const CaptureAttachment& attachment, const QString& extension)
{
    if (attachment.isFile.value_or(false))
        return isAcceptedFileExtension(extension);
    return ImageReferences::imageExtensions().contains(extension);
}

QString hashText(const QByteArray& data)
{
    return QString::fromLatin1(QCryptographicHash::hash(data, QCryptographicHash::Sha256).left(8).toHex());
}

// Free, or already holding exactly these bytes (an earlier delivery of the
// same attachment); an unreadable file is treated as other bytes. Whatever
// file the name holds is compared by size first, then piece by piece, never
// read whole: it may be huge.
bool canTake(const QString& path, const QByteArray& data)
{
    if (!FileSystem::exists(path))
        return true;
    try {
        return FileSystem::holdsExactly(path, data).value_or(false);
    } catch (const FileSystemError&) {
        return false;
    }
}

} // namespace

namespace ImageReferences {

QStringList imageExtensions()
{
    return {QStringLiteral("png"),  QStringLiteral("jpg"),  QStringLiteral("jpeg"), QStringLiteral("gif"),
            QStringLiteral("webp"), QStringLiteral("heic"), QStringLiteral("tiff")};
}

ImageReference resolve(const CaptureAttachment& attachment, const QString& root, const QString& folder,
                       const std::optional<QString>& preferred)
{
    const QString extension = attachment.fileExtension.toLower();
    if (attachment.data.isEmpty() || !isAcceptedExtension(attachment, extension))
        throw CaptureError::invalidAttachment();

    const QString id = Json::uuidText(attachment.id);
    const QString base = folder.isEmpty() ? id : folder + QLatin1Char('/') + id;
    const QString dotExtension = QLatin1Char('.') + extension;

    QString candidate = preferred.value_or(base + dotExtension);
    // The digest is needed only once the first name holds other bytes, which is
    // rare: hashing megabytes of images up front would dominate a delivery.
    QString hashed;
    for (qint64 number = 0;; ++number) {
        if (canTake(SafePath::resolve(root, candidate), attachment.data))
            return ImageReference{attachment.id, candidate, attachment.isFile};
        if (hashed.isEmpty())
            hashed = base + QLatin1Char('-') + hashText(attachment.data);
        candidate = hashed + (number == 0 ? QString() : QLatin1Char('-') + QString::number(number)) + dotExtension;
    }
}

} // namespace ImageReferences
} // namespace quillor
