#include "model/VaultAccess.h"

#include "core/L10n.h"
#include "platform/FolderBookmark.h"

namespace quillor {

VaultAccess::VaultAccess(bool requiresAuthorization) : m_requiresAuthorization(requiresAuthorization)
{
}

VaultAccess::~VaultAccess()
{
    for (const QString& folder : std::as_const(m_scopes))
        FolderBookmark::stopAccess(folder);
}

PlatformError VaultAccess::accessError()
{
    return PlatformError(QStringLiteral("Quillor.VaultAccess"), 1,
                         L10n::text(QStringLiteral("L’accès au dossier de notes doit être autorisé à nouveau. "
                                                   "Choisis ce dossier dans les réglages. Le brouillon est conservé.")));
}

bool VaultAccess::restore(Destination& destination)
{
    if (destination.vaultPath.isEmpty())
        return false;
    if (!destination.vaultBookmark) {
        if (m_requiresAuthorization)
            throw accessError();
        return false;
    }

    const QByteArray original = *destination.vaultBookmark;
    if (const auto open = m_scopes.constFind(original); open != m_scopes.cend()) {
        const bool changed = destination.vaultPath != *open;
        destination.vaultPath = *open;
        return changed;
    }

    // The platform's own reason is not shown: whatever went wrong, the user's
    // remedy is the same, choosing the folder again.
    const auto resolution = FolderBookmark::resolve(original);
    if (!resolution)
        throw accessError();

    const bool started = FolderBookmark::startAccess(resolution->path);
    if (!started && m_requiresAuthorization)
        throw accessError();

    QByteArray current = original;
    if (resolution->isStale) {
        try {
            current = FolderBookmark::create(resolution->path);
        } catch (const Error&) {
            if (started)
                FolderBookmark::stopAccess(resolution->path);
            throw accessError();
        }
    }

    // Kept under the bytes that were passed in, so every other destination
    // still holding them is served without resolving again.
    if (started)
        m_scopes.insert(original, resolution->path);

    const bool changed = destination.vaultPath != resolution->path || current != original;
    destination.vaultPath = resolution->path;
    destination.vaultBookmark = current;
    return changed;
}

Destination VaultAccess::restored(const Destination& stored)
{
    Destination copy = stored;
    restore(copy);
    return copy;
}

QByteArray VaultAccess::bookmark(const QString& folder)
{
    return FolderBookmark::create(folder);
}

Destination VaultAccess::bound(const Destination& destination, const QString& folder)
{
    Destination copy = destination;
    copy.vaultBookmark = bookmark(folder);
    copy.vaultPath = folder;
    restore(copy);
    return copy;
}

} // namespace quillor
