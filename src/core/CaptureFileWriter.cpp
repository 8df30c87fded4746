#include "core/CaptureFileWriter.h"

#include "core/CaptureError.h"
#include "core/DateFormats.h"
#include "core/DestinationValidation.h"
#include "core/FileSystem.h"
#include "core/FileSystemError.h"
#include "core/ImageReferences.h"
#include "core/Json.h"
#include "core/SafePath.h"

#include <QByteArrayView>
#include <QUuid>

#include <cerrno>

namespace quillor {

namespace {

QString parentFolder(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return slash <= 0 ? QStringLiteral("/") : path.left(slash);
}

QString joined(const QString& folder, const QString& name)
{
    return folder.isEmpty() ? name : folder + QLatin1Char('/') + name;
}

QString marker(const Capture& capture)
{
    return QStringLiteral("<!-- quillor:") + Json::uuidText(capture.id) + QStringLiteral(" -->");
}

QString frontMatter(const Capture& capture)
{
    return QStringLiteral("---\nquillor_id: ") + Json::uuidText(capture.id) + QStringLiteral("\ncreated: ")
        + DateFormats::iso8601(capture.createdAt) + QStringLiteral("\n---\n\n");
}

QString sectionHeading(const Capture& capture, const QTimeZone& zone)
{
    return QStringLiteral("\n\n## ") + DateFormats::time(capture.createdAt, zone) + QStringLiteral("\n\n");
}

std::optional<ImageReference> earlierReference(const Capture& capture, const QUuid& attachmentID)
{
    if (!capture.imageReferences)
        return std::nullopt;
    for (const ImageReference& reference : *capture.imageReferences) {
        if (reference.attachmentID == attachmentID)
            return reference;
    }
    return std::nullopt;
}

// Link failures that mean "this file system has no hard links", not "this
// link may not be made": vfat and exFAT give EPERM, FUSE and network mounts
// EOPNOTSUPP.
bool isLinkUnsupported(int errnoValue)
{
    return errnoValue == EPERM || errnoValue == EOPNOTSUPP || errnoValue == ENOTSUP;
}

void removeQuietly(const QString& path)
{
    try {
        FileSystem::removeFile(path);
    } catch (const FileSystemError&) {
        // A stray hidden temporary file is harmless; the delivery's own
        // outcome is what the caller must hear about.
    }
}

} // namespace

CaptureFileWriter::CaptureFileWriter(QString backupRoot, Publication publication, std::optional<QTimeZone> timeZone)
    : m_backupRoot(std::move(backupRoot)), m_publication(publication), m_timeZone(std::move(timeZone))
{
}

QTimeZone CaptureFileWriter::deliveryZone(const Capture& capture) const
{
    if (m_timeZone)
        return *m_timeZone;
    if (capture.timeZoneIdentifier) {
        const QTimeZone named(capture.timeZoneIdentifier->toUtf8());
        if (named.isValid())
            return named;
    }
    return QTimeZone::systemTimeZone();
}

QString CaptureFileWriter::relativeNotePath(const Capture& capture, const Destination& destination,
                                            const QTimeZone& zone) const
{
    switch (destination.mode) {
    case DeliveryMode::newNote:
        return joined(destination.path, DateFormats::dayAndTime(capture.createdAt, zone) + QLatin1Char('-')
                                            + Json::uuidText(capture.id).left(8) + QStringLiteral(".md"));
    case DeliveryMode::appendNote:
        if (destination.path.isEmpty())
            throw CaptureError::invalidPath();
        return destination.path.endsWith(QStringLiteral(".md"), Qt::CaseSensitive)
            ? destination.path
            : destination.path + QStringLiteral(".md");
    case DeliveryMode::dailyNote:
        return joined(destination.path, DateFormats::day(capture.createdAt, zone) + QStringLiteral(".md"));
    }
    throw CaptureError::invalidPath();
}

// Writes the files of the attachments the body refers to and returns the body
// with their tokens replaced by links to those files.
QString CaptureFileWriter::placeAttachments(const Capture& capture, const Destination& destination) const
{
    QString body = capture.body;
    for (const CaptureAttachment& attachment : capture.attachments) {
        const std::optional<ImageReference> earlier = earlierReference(capture, attachment.id);
        const QString token = attachment.token();
        const bool referenced = body.contains(token) || (earlier && body.contains(earlier->source()));
        if (!referenced)
            continue;

        const ImageReference reference = ImageReferences::resolve(
            attachment, destination.vaultPath, destination.attachmentFolder,
            earlier ? std::optional<QString>(earlier->path) : std::nullopt);
        if (earlier && reference.path != earlier->path)
            throw CaptureError::modifiedDuringWrite();

        const QString file = SafePath::resolve(destination.vaultPath, reference.path);
        FileSystem::createDirectories(parentFolder(file));
        if (m_attachmentResolved)
            m_attachmentResolved(file);
        if (!FileSystem::exists(file))
            writeNew(attachment.data, file);
        if (FileSystem::read(file) != attachment.data)
            throw CaptureError::modifiedDuringWrite();

        body.replace(token, reference.source());
    }
    return body;
}

QString CaptureFileWriter::save(const Capture& capture, const Destination& destination) const
{
    if (capture.body.trimmed().isEmpty())
        throw CaptureError::empty();
    if (destination.vaultPath.isEmpty() || !FileSystem::isDirectory(destination.vaultPath))
        throw CaptureError::missingVault();
    if (!DestinationValidation::issues({destination}, false).isEmpty())
        throw CaptureError::invalidPath();

    const QString captureMarker = marker(capture);
    const QTimeZone zone = deliveryZone(capture);
    const QString target =
        SafePath::resolve(destination.vaultPath, relativeNotePath(capture, destination, zone));

    // The note stays bytes from here on: decoding and re-encoding it would
    // drop a byte-order mark, and its existing bytes are never to change.
    const std::optional<QByteArray> existing = FileSystem::readIfExists(target);
    if (existing) {
        if (!QByteArrayView(*existing).isValidUtf8())
            throw CaptureError::invalidUTF8();
        // The marker is ASCII, and in valid UTF-8 ASCII bytes only ever stand
        // for themselves: searching the bytes finds what searching the
        // decoded text would, without decoding a large note.
        if (existing->contains(captureMarker.toUtf8()))
            return target;
    }
    const bool isNewNote = destination.mode == DeliveryMode::newNote;
    if (isNewNote && existing)
        throw CaptureError::modifiedDuringWrite();

    const QString body = placeAttachments(capture, destination);
    if (body.contains(CaptureAttachment::tokenPrefix()))
        throw CaptureError::invalidAttachment();

    const QString captureText = (isNewNote ? frontMatter(capture) : sectionHeading(capture, zone)) + body.trimmed()
        + QStringLiteral("\n\n") + captureMarker + QLatin1Char('\n');

    FileSystem::createDirectories(parentFolder(target));
    if (existing) {
        FileSystem::createDirectories(m_backupRoot);
        const QString backup = m_backupRoot + QLatin1Char('/') + Json::uuidText(capture.id) + QStringLiteral(".md");
        FileSystem::writeAtomically(backup, *existing, FileSystem::Durability::cached);
    }

    if (m_beforeRecheck)
        m_beforeRecheck();
    const std::optional<QByteArray> current = FileSystem::readIfExists(target);
    if (current != existing)
        throw CaptureError::modifiedDuringWrite();

    const QByteArray content = existing.value_or(QByteArray()) + captureText.toUtf8();
    if (existing)
        FileSystem::writeAtomically(target, content);
    else
        writeNew(content, target);
    return target;
}

void CaptureFileWriter::writeNew(const QByteArray& bytes, const QString& target) const
{
    const QString temporary = parentFolder(target) + QStringLiteral("/.quillor-")
        + Json::uuidText(QUuid::createUuid()) + QStringLiteral(".tmp");
    try {
        try {
            FileSystem::writeExclusive(temporary, bytes);
        } catch (const FileSystemError& error) {
            // The user knows the note or image, not our hidden temporary name.
            throw FileSystemError(error.operation(), target, error.errnoValue());
        }
        publish(temporary, target);
    } catch (...) {
        removeQuietly(temporary);
        throw;
    }
    removeQuietly(temporary);
}

// Both ways refuse an existing target and flush the folder after the new
// entry appears.
void CaptureFileWriter::publish(const QString& temporary, const QString& target) const
{
    if (m_publication == Publication::move) {
        FileSystem::renameNoReplace(temporary, target);
        return;
    }
    try {
        m_hardLink(temporary, target);
    } catch (const FileSystemError& error) {
        if (error.operation() != FileSystemError::Operation::link || !isLinkUnsupported(error.errnoValue()))
            throw;
        FileSystem::renameNoReplace(temporary, target);
    }
}

} // namespace quillor
