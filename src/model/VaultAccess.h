#pragma once

#include "core/Destination.h"
#include "core/Error.h"
#include "platform/BuildInfo.h"

#include <QByteArray>
#include <QMap>
#include <QString>

namespace quillor {

// Reaches the notes folders of destinations through their bookmarks. One
// instance lives for the whole run; it keeps every folder whose access it
// started, keyed by the bookmark bytes that led to it, and gives them back when
// it goes. Main thread only.
//
// With `requiresAuthorization` (the store flavour) a folder is reached only
// through its bookmark; otherwise a destination without a bookmark uses its
// stored path as it is.
class VaultAccess {
public:
    explicit VaultAccess(bool requiresAuthorization = BuildInfo::sandboxed());
    ~VaultAccess();
    VaultAccess(const VaultAccess&) = delete;
    VaultAccess& operator=(const VaultAccess&) = delete;

    bool requiresAuthorization() const { return m_requiresAuthorization; }

    // The one refusal every failure below throws: domain "Quillor.VaultAccess",
    // code 1.
    static PlatformError accessError();

    // Restores access to the destination's folder; may update its vaultPath and
    // vaultBookmark in place (a moved folder, a refreshed stale bookmark).
    // Returns whether the destination changed. Throws accessError(), leaving
    // the destination exactly as it was.
    bool restore(Destination& destination);

    // restore() on a copy of a destination as the settings store it, which is
    // returned. Use it rather than restoring a delivery form: re-rooting at an
    // Obsidian vault drops the bookmark, so with authorisation required the
    // delivery form can never be restored. Derive the delivery form from the
    // returned destination.
    Destination restored(const Destination& stored);

    // A new bookmark of a folder the user chose. Throws FileSystemError.
    static QByteArray bookmark(const QString& folder);

    // The destination bound to a folder the user chose: a new bookmark, then
    // restore(). Throws FileSystemError (bookmark) or accessError() (restore).
    Destination bound(const Destination& destination, const QString& folder);

    // The folders whose access this instance started, by the bookmark bytes
    // that were resolved to reach them.
    const QMap<QByteArray, QString>& scopes() const { return m_scopes; }

private:
    bool m_requiresAuthorization;
    QMap<QByteArray, QString> m_scopes;
};

} // namespace quillor
