#pragma once

#include "vault/ScanCancellation.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace quillor {

// One Markdown note of a vault.
struct IndexedNote {
    // The file name without its extension ("Idées" for Projets/Idées.md).
    QString title;
    // Vault-relative, "/" separated, without ".md" ("Projets/Idées").
    QString path;
    // Vault-relative with the extension ("Projets/Idées.md"); the scan always
    // fills it.
    std::optional<QString> filePath;

    QString id() const { return path; }

    bool operator==(const IndexedNote&) const = default;
};

// The notes and tags of one vault, read from disk; never written.
struct VaultIndex {
    // Sorted by title (locale-aware, case-insensitive, stable).
    QList<IndexedNote> notes;
    // Tag names without "#", each once, in code-point order.
    QStringList tags;

    // Notes of this many bytes or more are listed but not searched for tags.
    static constexpr qint64 tagSizeLimit = 1000000;

    // Walks the vault folder (an absolute path), skipping hidden entries and
    // symbolic links, and indexes every ".md" file (extension in any case).
    // Throws CaptureError::missingVault() for a path that is not a readable
    // folder, FileSystemError for any folder or note it cannot read (there is
    // no partial index), and ScanCancelled as soon as the check says so.
    // Blocking; meant for a worker thread.
    //
    // `previous`, an earlier scan of the same vault, lends each note whose file
    // is the same file with the same size, modification and change times its
    // title and tags, so that only new or changed notes are read; the result is
    // the one a scan without it gives.
    static VaultIndex scan(const QString& vault, const CancellationCheck& isCancelled = {},
                           const VaultIndex& previous = {});

    // What the next scan may reuse: each note's file as it was read and what
    // its text held. Not part of the index's value.
    struct Memo;
    std::shared_ptr<const Memo> memo;

    bool operator==(const VaultIndex& other) const { return notes == other.notes && tags == other.tags; }
};

} // namespace quillor
