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

// The system's own text, for the causes we have no French sentence for; Linux
// gives it in English only, so it is quoted rather than passed off as ours.
QString systemDescription(int errnoValue)
{
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
    default:
        return L10n::format(QStringLiteral("Opération impossible sur « %@ » (%@)."),
                            {m_path, systemDescription(m_errno)});
    }
}

} // namespace quillor
