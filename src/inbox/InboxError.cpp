#include "inbox/InboxError.h"

#include "core/L10n.h"

namespace quillor {

namespace {

const QString domain = QStringLiteral("Quillor.Inbox");

// The usual numbering of file errors: a corrupt file, a file too large to
// read, undecodable data.
constexpr int corruptFileCode = 259;
constexpr int tooLargeCode = 263;
constexpr int undecodableCode = 4864;

} // namespace

QString InboxError::errorDescription() const
{
    if (m_kind == Kind::editImagesDiffer)
        return L10n::text(QStringLiteral("Les images de cette modification du brouillon ne correspondent pas à celles "
                                         "de son dernier enregistrement : elle ne peut pas lui être appliquée."));
    return QStringLiteral("Cette capture est déjà en attente ou livrée. Le brouillon modifié est conservé ; "
                          "récupère-le comme nouvelle capture.");
}

namespace InboxRecordError {

PlatformError undecodable(const QString& file)
{
    return PlatformError(domain, undecodableCode,
                         L10n::format(QStringLiteral("Le fichier « %@ » de la boîte de réception est illisible : "
                                                     "son contenu n’est pas un enregistrement valide."),
                                      {file}));
}

PlatformError tooLarge(const QString& file)
{
    return PlatformError(domain, tooLargeCode,
                         L10n::format(QStringLiteral("Le fichier « %@ » de la boîte de réception est illisible : "
                                                     "il est bien plus volumineux qu’un enregistrement."),
                                      {file}));
}

PlatformError misnamed(const QString& file)
{
    return PlatformError(domain, corruptFileCode,
                         L10n::format(QStringLiteral("Le fichier « %@ » de la boîte de réception est endommagé : "
                                                     "son nom ne correspond pas à la capture qu’il contient."),
                                      {file}));
}

} // namespace InboxRecordError
} // namespace quillor
