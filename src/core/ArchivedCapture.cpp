#include "core/ArchivedCapture.h"

#include "core/L10n.h"

#include <QFile>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace quillor {

ArchivedCapture::FileState ArchivedCapture::fileState() const
{
    if (!receipt)
        return FileState::unconfirmed;
    // A NUL would cut the path short and ask about another file.
    if (receipt->path.contains(QChar(0)))
        return FileState::unavailable;
    const QByteArray path = QFile::encodeName(receipt->path);
    struct stat status {};
    if (::stat(path.constData(), &status) != 0)
        return errno == ENOENT ? FileState::missing : FileState::unavailable;
    if (S_ISREG(status.st_mode) && ::access(path.constData(), R_OK) == 0)
        return FileState::available;
    return FileState::unavailable;
}

QString ArchivedCapture::deliveryStatus() const
{
    switch (fileState()) {
    case FileState::unconfirmed:
        return L10n::text(QStringLiteral("Livraison non confirmée"));
    case FileState::available:
        return L10n::text(QStringLiteral("Livraison confirmée"));
    case FileState::missing:
        return L10n::text(QStringLiteral("Livrée · fichier absent"));
    case FileState::unavailable:
        break;
    }
    return L10n::text(QStringLiteral("Livrée · accès au fichier indisponible"));
}

} // namespace quillor
