#include "core/FileSystemError.h"

#include "core/L10n.h"

#include <cerrno>
#include <cstring>
#include <utility>

namespace quillor {

FileSystemError::FileSystemError(Operation operation, QString path, int errnoValue)
    : m_operation(operation), m_path(std::move(path)), m_errno(errnoValue)
{
}

namespace {

// The cause of the failures that have no sentence of their own: the usual
// ones in the interface language, others in the system's words, which Linux
// gives in English only.
QString causeDescription(int errnoValue)
{
    switch (errnoValue) {
    case EINVAL: return L10n::text(L10N_KEY("argument non valable"));
    case EBUSY: return L10n::text(L10N_KEY("ressource occupée"));
    case ETXTBSY: return L10n::text(L10N_KEY("fichier en cours d’utilisation"));
    case EMFILE: return L10n::text(L10N_KEY("trop de fichiers ouverts"));
    case ENFILE: return L10n::text(L10N_KEY("trop de fichiers ouverts dans le système"));
    case ENOMEM: return L10n::text(L10N_KEY("mémoire insuffisante"));
    case EFBIG: return L10n::text(L10N_KEY("fichier trop volumineux"));
    case EXDEV: return L10n::text(L10N_KEY("déplacement impossible d’un système de fichiers à un autre"));
    case ENOTEMPTY: return L10n::text(L10N_KEY("dossier non vide"));
    case EAGAIN: return L10n::text(L10N_KEY("ressource momentanément indisponible"));
    case EINTR: return L10n::text(L10N_KEY("opération interrompue"));
    case ESTALE: return L10n::text(L10N_KEY("référence de fichier périmée"));
    case ENXIO: return L10n::text(L10N_KEY("périphérique ou adresse introuvable"));
    case ENODEV: return L10n::text(L10N_KEY("périphérique introuvable"));
    case EMLINK: return L10n::text(L10N_KEY("trop de liens"));
    case ETIMEDOUT: return L10n::text(L10N_KEY("délai dépassé"));
    case EOPNOTSUPP: return L10n::text(L10N_KEY("opération non prise en charge"));
    case EOVERFLOW: return L10n::text(L10N_KEY("valeur trop grande"));
    case EBADF: return L10n::text(L10N_KEY("descripteur de fichier non valable"));
    case ESPIPE: return L10n::text(L10N_KEY("positionnement impossible"));
    case ENOTCONN: return L10n::text(L10N_KEY("connexion au système de fichiers perdue"));
    default: break;
    }
    char buffer[256] = {};
    // GNU strerror_r may return a static string instead of filling the buffer.
    const char* text = strerror_r(errnoValue, buffer, sizeof buffer);
    return QString::fromLocal8Bit(text ? text : buffer);
}

} // namespace

QString FileSystemError::localizedDescription() const
{
    switch (m_errno) {
    case ENOENT:
        return L10n::format(QStringLiteral("Le fichier ou le dossier « %@ » est introuvable."), {m_path});
    case EACCES:
    case EPERM:
        return L10n::format(QStringLiteral("Permission refusée : impossible d’accéder à « %@ »."), {m_path});
    case ENOSPC:
    case EDQUOT:
        return L10n::format(QStringLiteral("Le disque est plein : impossible d’écrire « %@ »."), {m_path});
    case EROFS:
        return L10n::format(QStringLiteral("Le système de fichiers est en lecture seule : impossible de modifier « %@ »."),
                            {m_path});
    case EEXIST:
        return L10n::format(QStringLiteral("Un fichier ou un dossier existe déjà à l’emplacement « %@ »."), {m_path});
    case ENOTDIR:
        return L10n::format(QStringLiteral("Un élément du chemin « %@ » n’est pas un dossier."), {m_path});
    case EISDIR:
        return L10n::format(QStringLiteral("« %@ » est un dossier et non un fichier."), {m_path});
    case ENAMETOOLONG:
        return L10n::format(QStringLiteral("Le nom ou le chemin « %@ » est trop long."), {m_path});
    case ELOOP:
        return L10n::format(QStringLiteral("Trop de liens symboliques dans le chemin « %@ »."), {m_path});
    case EIO:
        return L10n::format(QStringLiteral("Erreur de lecture ou d’écriture du disque sur « %@ »."), {m_path});
    case EINVAL:
        // What a read refuses: a FIFO, a device, anything but a plain file.
        if (m_operation == Operation::read)
            return L10n::format(QStringLiteral("« %@ » n’est pas un fichier ordinaire."), {m_path});
        break;
    default:
        break;
    }
    return L10n::format(QStringLiteral("Opération impossible sur « %@ » (%@)."), {m_path, causeDescription(m_errno)});
}

} // namespace quillor
