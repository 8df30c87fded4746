#pragma once

#include "core/Capture.h"
#include "core/Destination.h"
#include "core/FileSystem.h"

#include <QByteArray>
#include <QString>
#include <QTimeZone>

#include <functional>
#include <optional>

namespace quillor {

// Writes one capture into a notes folder: a new note, or a section appended to
// an existing one (after a backup of its bytes), with the capture's attachments
// copied into the vault first. It is the only code that writes into a user's
// notes. The note is either left untouched or completely rewritten; an existing
// note's bytes are never altered, only followed by the new section.
//
// Every failure throws: CaptureError, SafePath's error, or FileSystemError,
// the last two passed on unchanged.
class CaptureFileWriter {
public:
    // How a finished temporary file becomes a new file without overwriting
    // anything: link(2) or a no-replace rename.
    enum class Publication { hardLink, move };

    // Without a time zone, names and headings use the capture's own zone (or
    // the system's when the capture names no known zone).
    explicit CaptureFileWriter(QString backupRoot, Publication publication = Publication::hardLink,
                               std::optional<QTimeZone> timeZone = std::nullopt);

    QString backupRoot() const { return m_backupRoot; }
    Publication publication() const { return m_publication; }
    std::optional<QTimeZone> timeZone() const { return m_timeZone; }

    // Delivers the capture; returns the absolute path of the note that holds
    // it. A capture whose marker the note already holds is not written again:
    // with the text it would be written with now, that note is returned; with
    // other text, CaptureError::deliveredWithOtherText is thrown and nothing
    // is written (the caller may send that text under a new id).
    QString save(const Capture& capture, const Destination& destination) const;
    // The absolute path of the note `save` writes the capture into; throws as
    // SafePath::resolve does. Reads the vault's folders.
    QString notePath(const Capture& capture, const Destination& destination) const;

    // Creates `target` holding exactly `bytes`, only if nothing exists there
    // (EEXIST otherwise). The bytes go to a hidden temporary file beside the
    // target, flushed to disk, which is then published; the temporary name is
    // always removed. On file systems without hard links (vfat, exFAT, some
    // FUSE and network mounts) the hard-link publication falls back to the
    // no-replace rename, which gives the same no-overwrite guarantee.
    void writeNew(const QByteArray& bytes, const QString& target) const;

    // Test-only: lets a test play another program that changes files while a
    // delivery runs. The first runs after the backup, just before the note is
    // read again; the second after an attachment's path is chosen, before its
    // file is written, with that file's absolute path.
    void setBeforeRecheckHookForTesting(std::function<void()> hook) { m_beforeRecheck = std::move(hook); }
    void setAttachmentResolvedHookForTesting(std::function<void(const QString&)> hook)
    {
        m_attachmentResolved = std::move(hook);
    }
    // Test-only: stands in for link(2), both for publishing new files and for
    // the backup of a note, so a test can play a file system that has no hard
    // links.
    void setHardLinkForTesting(std::function<void(const QString&, const QString&)> link) { m_hardLink = std::move(link); }

private:
    QTimeZone deliveryZone(const Capture& capture) const;
    QString relativeNotePath(const Capture& capture, const Destination& destination, const QTimeZone& zone) const;
    static ImageReference placement(const Capture& capture, const CaptureAttachment& attachment,
                                    const Destination& destination);
    static QString placedBody(const Capture& capture, const Destination& destination);
    QString placeAttachments(const Capture& capture, const Destination& destination,
                             FileSystem::FolderSyncs& syncs) const;
    std::optional<FileSystem::FileIdentity> linkBackup(const QString& note, const QString& backup) const;
    bool noteUnchanged(const QString& note, const std::optional<QByteArray>& existing, const QString& backup,
                       const std::optional<FileSystem::FileIdentity>& linkedBackup) const;
    void writeNew(const QByteArray& bytes, const QString& target, FileSystem::FolderSyncs& syncs) const;
    void publish(const QString& temporary, const QString& target, FileSystem::FolderSyncs& syncs) const;
    void link(const QString& existing, const QString& newPath, FileSystem::FolderSyncs& syncs) const;

    QString m_backupRoot;
    Publication m_publication = Publication::hardLink;
    std::optional<QTimeZone> m_timeZone;
    std::function<void()> m_beforeRecheck;
    std::function<void(const QString&)> m_attachmentResolved;
    // Empty: the real link(2).
    std::function<void(const QString&, const QString&)> m_hardLink;
};

} // namespace quillor
