#include "core/CaptureFileWriter.h"

#include "core/ByteSearch.h"
#include "core/CaptureError.h"
#include "core/DateFormats.h"
#include "core/DestinationValidation.h"
#include "core/FileSystem.h"
#include "core/FileSystemError.h"
#include "core/ImageReferences.h"
#include "core/Json.h"
#include "core/SafePath.h"
#include "core/StaleTemporaryFiles.h"
#include "core/Utf8Validation.h"

#include <QByteArrayView>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
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

// One line of a note as note tidiers and sync tools leave it alone: without
// its line end ("\n", "\r\n" or "\r") and the spaces and tabs after it. Two
// spaces at the end are a hard break in Markdown, which the writer's own
// change of layout is; a tool that strips them changed the text.
struct TidiedLine {
    QByteArrayView text;
    bool hardBreak = false;

    bool isBlank() const { return text.isEmpty(); }
    friend bool operator==(const TidiedLine&, const TidiedLine&) = default;
};

// The lines of `text`, a byte-order mark dropped and every run of blank lines
// made one blank line (a tidier collapses them; one blank line or none is the
// user's). The bytes are valid UTF-8, in which these ASCII bytes only ever
// stand for themselves.
QList<TidiedLine> tidiedLines(QByteArrayView text)
{
    if (text.startsWith("\xEF\xBB\xBF"))
        text = text.sliced(3);
    QList<TidiedLine> lines;
    qsizetype lineStart = 0;
    for (qsizetype index = 0; index <= text.size(); ++index) {
        if (index < text.size() && text[index] != '\n' && text[index] != '\r')
            continue;
        qsizetype lineEnd = index;
        while (lineEnd > lineStart && (text[lineEnd - 1] == ' ' || text[lineEnd - 1] == '\t'))
            --lineEnd;
        const TidiedLine line{text.sliced(lineStart, lineEnd - lineStart),
                              lineEnd > lineStart && index - lineStart >= 2 && text[index - 1] == ' '
                                  && text[index - 2] == ' '};
        if (!line.isBlank() || lines.isEmpty() || !lines.last().isBlank())
            lines.append(line);
        if (index + 1 < text.size() && text[index] == '\r' && text[index + 1] == '\n')
            ++index;
        lineStart = index + 1;
    }
    return lines;
}

// The index of the first line of `lines` that is not blank, going back from
// `at`; -1 when there is none.
qsizetype lastFilledLine(const QList<TidiedLine>& lines, qsizetype at)
{
    while (at >= 0 && lines[at].isBlank())
        --at;
    return at;
}

// Whether the note holds the capture's text, as the writer frames it, up to
// and with its marker line. The blank lines around the framing (the heading
// or front matter, the marker) are the note's layout, which a notes app or a
// sync tool may tidy; those between the lines of the body are the user's and
// must be there, a run of them made one. Only the places of the marker are
// compared, so the search stays linear in a note of megabytes.
bool holdsTextBeforeItsMarker(QByteArrayView note, QByteArrayView framing, QByteArrayView body, QByteArrayView marker)
{
    const QList<TidiedLine> noteLines = tidiedLines(note);
    const QList<TidiedLine> bodyLines = tidiedLines(body);
    QList<TidiedLine> framingLines = tidiedLines(framing);
    framingLines.removeIf([](const TidiedLine& line) { return line.isBlank(); });
    const TidiedLine markerLine{marker};
    for (qsizetype found = noteLines.indexOf(markerLine); found >= 0;
         found = noteLines.indexOf(markerLine, found + 1)) {
        qsizetype at = lastFilledLine(noteLines, found - 1);
        bool holds = at + 1 >= bodyLines.size();
        for (qsizetype line = bodyLines.size() - 1; holds && line >= 0; --line, --at)
            holds = noteLines[at] == bodyLines[line];
        for (qsizetype line = framingLines.size() - 1; holds && line >= 0; --line, --at) {
            at = lastFilledLine(noteLines, at);
            holds = at >= 0 && noteLines[at] == framingLines[line];
        }
        if (holds)
            return true;
    }
    return false;
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

// Puts a copy of the bytes first read in place of a backup that was a link to
// the note's file, once that file can no longer be trusted to hold them. The
// link goes first: replacing it in place would take on the note's mode, and
// fail on a read-only note.
void replaceLinkedBackup(const QString& backup, const QByteArray& bytes)
{
    FileSystem::removeFile(backup);
    FileSystem::writeAtomically(backup, bytes, FileSystem::Durability::cached);
}

// The same while another failure is on its way to the caller, which is the
// one to hear about.
void replaceLinkedBackupQuietly(const QString& backup, const QByteArray& bytes)
{
    try {
        replaceLinkedBackup(backup, bytes);
    } catch (const FileSystemError&) {
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

// Where an attachment's file goes; it must keep the place it was given before.
ImageReference CaptureFileWriter::placement(const Capture& capture, const CaptureAttachment& attachment,
                                            const Destination& destination)
{
    const std::optional<ImageReference> earlier = earlierReference(capture, attachment.id);
    const ImageReference reference =
        ImageReferences::resolve(attachment, destination.vaultPath, destination.attachmentFolder,
                                 earlier ? std::optional<QString>(earlier->path) : std::nullopt);
    if (earlier && reference.path != earlier->path)
        throw CaptureError::modifiedDuringWrite();
    return reference;
}

// The body as a delivery would write it now, found without writing anything:
// only tokens change, and each gets the link of the file its attachment would
// be given.
QString CaptureFileWriter::placedBody(const Capture& capture, const Destination& destination)
{
    QString body = capture.body;
    for (const CaptureAttachment& attachment : capture.attachments) {
        const QString token = attachment.token();
        if (body.contains(token))
            body.replace(token, placement(capture, attachment, destination).source());
    }
    return body;
}

// Writes the files of the attachments the body refers to and returns the body
// with their tokens replaced by links to those files.
QString CaptureFileWriter::placeAttachments(const Capture& capture, const Destination& destination,
                                            FileSystem::FolderSyncs& syncs) const
{
    QString body = capture.body;
    for (const CaptureAttachment& attachment : capture.attachments) {
        const std::optional<ImageReference> earlier = earlierReference(capture, attachment.id);
        const QString token = attachment.token();
        const bool referenced = body.contains(token) || (earlier && body.contains(earlier->source()));
        if (!referenced)
            continue;

        const ImageReference reference = placement(capture, attachment, destination);
        const QString file = SafePath::resolve(destination.vaultPath, reference.path);
        FileSystem::createDirectories(parentFolder(file), &syncs);
        if (m_attachmentResolved)
            m_attachmentResolved(file);
        // A file this delivery has just published holds the bytes it wrote
        // and flushed: reading them back could only catch another program
        // writing in the instant between the link and the read, which it
        // could as well do just after. A file found in place is compared.
        if (!FileSystem::exists(file)) {
            writeNew(attachment.data, file, syncs);
        } else {
            const std::optional<bool> same = FileSystem::holdsExactly(file, attachment.data);
            if (!same)
                throw FileSystemError(FileSystemError::Operation::read, file, ENOENT);
            if (!*same)
                throw CaptureError::modifiedDuringWrite();
        }

        body.replace(token, reference.source());
    }
    return body;
}

QString CaptureFileWriter::notePath(const Capture& capture, const Destination& destination) const
{
    return SafePath::resolve(destination.vaultPath, relativeNotePath(capture, destination, deliveryZone(capture)));
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
    const bool isNewNote = destination.mode == DeliveryMode::newNote;
    const QString framing = isNewNote ? frontMatter(capture) : sectionHeading(capture, zone);

    // The note stays bytes from here on: decoding and re-encoding it would
    // drop a byte-order mark, and its existing bytes are never to change.
    const std::optional<QByteArray> existing = FileSystem::readIfExists(target);
    if (existing) {
        if (!Utf8Validation::isValid(*existing))
            throw CaptureError::invalidUTF8();
        // The marker is ASCII, and in valid UTF-8 ASCII bytes only ever stand
        // for themselves: searching the bytes finds what searching the
        // decoded text would, without decoding a large note.
        if (ByteSearch::contains(*existing, captureMarker.toUtf8())) {
            // Sent before, and the sender never heard. The same text is not
            // written twice; other text must not be called delivered when the
            // note lacks it. What a notes app or a sync tool may have tidied
            // since is not a change; a changed word, or a blank line the user
            // added or took away, is.
            if (holdsTextBeforeItsMarker(*existing, framing.toUtf8(),
                                         placedBody(capture, destination).trimmed().toUtf8(), captureMarker.toUtf8()))
                return target;
            throw CaptureError::deliveredWithOtherText();
        }
    }
    if (isNewNote && existing)
        throw CaptureError::modifiedDuringWrite();

    // The folders whose entries change are flushed once, at the end.
    FileSystem::FolderSyncs syncs;
    const QString body = placeAttachments(capture, destination, syncs);
    if (body.contains(CaptureAttachment::tokenPrefix()))
        throw CaptureError::invalidAttachment();

    FileSystem::createDirectories(parentFolder(target), &syncs);
    QString backup;
    std::optional<FileSystem::FileIdentity> linkedBackup;
    if (existing) {
        FileSystem::createDirectories(m_backupRoot);
        backup = m_backupRoot + QLatin1Char('/') + Json::uuidText(capture.id) + QStringLiteral(".md");
        linkedBackup = linkBackup(target, backup);
        if (!linkedBackup)
            FileSystem::writeAtomically(backup, *existing, FileSystem::Durability::cached);
    }

    if (m_beforeRecheck)
        m_beforeRecheck();
    if (!noteUnchanged(target, existing, backup, linkedBackup))
        throw CaptureError::modifiedDuringWrite();

    const QByteArray captureBytes =
        (framing + body.trimmed() + QStringLiteral("\n\n") + captureMarker + QLatin1Char('\n')).toUtf8();
    if (existing) {
        removeStaleTemporaryFiles(parentFolder(target));
        try {
            FileSystem::writeAtomically(target, {*existing, captureBytes}, FileSystem::Durability::flushed, &syncs);
        } catch (const FileSystemError&) {
            // The note keeps its file, so a linked backup would follow its
            // next edit; what is left behind must hold the bytes read.
            if (linkedBackup)
                replaceLinkedBackupQuietly(backup, *existing);
            throw;
        }
    } else {
        writeNew(captureBytes, target, syncs);
    }
    // Nothing counts as delivered before every new entry is on the disk.
    syncs.syncAll();
    return target;
}

// The backup is, where it can be, a second name for the note's current file
// instead of a copy of its bytes. The note is then replaced by a rename, never
// written in place, so that file goes on holding exactly the old bytes under
// the backup's name, and a large note is not copied. This holds only while
// the backup is that file's one other name and the file read again before the
// write is this very file:
// - a note with other hard links gets the copy: a later write through one of
//   its other names would change the backup;
// - the link takes whatever file is at the note's path when it is made, which
//   another program may have put there since the first read; so the re-read
//   checks that it read the linked file as well as comparing its bytes with
//   the first read's, and the copy replaces the link when either fails;
// - a program that writes into the note's file in place between the re-read
//   and the rename (or later, through a descriptor it opened before) writes
//   into the backup: its bytes are then kept there rather than lost with the
//   replaced file. That is the one way the backup can differ from the bytes
//   first read.
// Returns nothing when the backup has to be a copy: no hard links on this file
// system (EPERM, EOPNOTSUPP, ENOTSUP), a backup folder on another one (EXDEV),
// a file at its link limit (EMLINK), any other refusal (the copy then gives
// the error it always gave), or a backup of this capture already there, which
// the copy replaces.
std::optional<FileSystem::FileIdentity> CaptureFileWriter::linkBackup(const QString& note,
                                                                      const QString& backup) const
{
    if (FileSystem::exists(backup))
        return std::nullopt;
    // Like the copy it stands for, the backup is not flushed: it guards
    // against a failure of this delivery, not against a power cut.
    FileSystem::FolderSyncs unflushed;
    try {
        link(note, backup, unflushed);
    } catch (const FileSystemError&) {
        return std::nullopt;
    }
    const std::optional<FileSystem::FileIdentity> linked = FileSystem::identify(backup);
    if (linked && linked->linkCount == 2)
        return linked;
    FileSystem::removeFile(backup);
    return std::nullopt;
}

// Reads the note again: whether it is still absent, or still holds exactly
// the bytes first read. A backup linked to the note's file must moreover be
// the file read now; otherwise it is replaced by a copy of the first read,
// whatever the answer.
bool CaptureFileWriter::noteUnchanged(const QString& note, const std::optional<QByteArray>& existing,
                                      const QString& backup,
                                      const std::optional<FileSystem::FileIdentity>& linkedBackup) const
{
    FileSystem::FileIdentity read;
    bool unchanged = false;
    try {
        const std::optional<bool> same =
            FileSystem::holdsExactly(note, existing ? QByteArrayView(*existing) : QByteArrayView(), &read);
        unchanged = existing ? same.value_or(false) : !same;
    } catch (const FileSystemError&) {
        if (linkedBackup)
            replaceLinkedBackupQuietly(backup, *existing);
        throw;
    }
    if (linkedBackup && !(unchanged && read.isSameFile(*linkedBackup)))
        replaceLinkedBackup(backup, *existing);
    return unchanged;
}

void CaptureFileWriter::writeNew(const QByteArray& bytes, const QString& target) const
{
    FileSystem::FolderSyncs syncs;
    writeNew(bytes, target, syncs);
    syncs.syncAll();
}

void CaptureFileWriter::writeNew(const QByteArray& bytes, const QString& target, FileSystem::FolderSyncs& syncs) const
{
    const QString folder = parentFolder(target);
    removeStaleTemporaryFiles(folder);
    const QString temporary = folder + QStringLiteral("/.quillor-") + Json::uuidText(QUuid::createUuid())
        + QStringLiteral(".tmp");
    const OwnTemporaryFile own(temporary);
    try {
        try {
            FileSystem::writeExclusive(temporary, bytes);
        } catch (const FileSystemError& error) {
            // The user knows the note or image, not our hidden temporary name.
            throw FileSystemError(error.operation(), target, error.errnoValue());
        }
        publish(temporary, target, syncs);
    } catch (...) {
        removeQuietly(temporary);
        throw;
    }
    removeQuietly(temporary);
}

// Both ways refuse an existing target; the folder of the new entry is left
// in `syncs` to be flushed.
void CaptureFileWriter::publish(const QString& temporary, const QString& target, FileSystem::FolderSyncs& syncs) const
{
    if (m_publication == Publication::move) {
        FileSystem::renameNoReplace(temporary, target, &syncs);
        return;
    }
    try {
        link(temporary, target, syncs);
    } catch (const FileSystemError& error) {
        if (error.operation() != FileSystemError::Operation::link || !isLinkUnsupported(error.errnoValue()))
            throw;
        FileSystem::renameNoReplace(temporary, target, &syncs);
    }
}

void CaptureFileWriter::link(const QString& existing, const QString& newPath, FileSystem::FolderSyncs& syncs) const
{
    if (!m_hardLink) {
        FileSystem::hardLink(existing, newPath, &syncs);
        return;
    }
    m_hardLink(existing, newPath);
    syncs.add(parentFolder(newPath));
}

} // namespace quillor
