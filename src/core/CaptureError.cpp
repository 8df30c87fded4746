#include "core/CaptureError.h"

#include "core/L10n.h"

namespace quillor {

CaptureError CaptureError::unknownDestination(const QString& word)
{
    return CaptureError(Kind::unknownDestination, word);
}

CaptureError CaptureError::invalidPath() { return CaptureError(Kind::invalidPath); }
CaptureError CaptureError::missingVault() { return CaptureError(Kind::missingVault); }
CaptureError CaptureError::empty() { return CaptureError(Kind::empty); }
CaptureError CaptureError::invalidAttachment() { return CaptureError(Kind::invalidAttachment); }
CaptureError CaptureError::modifiedDuringWrite() { return CaptureError(Kind::modifiedDuringWrite); }
CaptureError CaptureError::invalidUTF8() { return CaptureError(Kind::invalidUTF8); }
CaptureError CaptureError::deliveredWithOtherText() { return CaptureError(Kind::deliveredWithOtherText); }

QString CaptureError::errorDescription() const
{
    switch (m_kind) {
    case Kind::unknownDestination:
        return L10n::format(
            QStringLiteral("Destination inconnue : %@. Choisis une destination ou retire le préfixe."), {m_payload});
    case Kind::invalidPath:
        return L10n::text(QStringLiteral("Le chemin doit rester à l’intérieur du vault."));
    case Kind::missingVault:
        return L10n::text(QStringLiteral("Choisis un dossier de vault existant dans les réglages."));
    case Kind::empty:
        return L10n::text(QStringLiteral("Ajoute du texte ou une image avant d’enregistrer."));
    case Kind::invalidAttachment:
        return L10n::text(QStringLiteral("Une image est introuvable. Le brouillon est conservé."));
    case Kind::modifiedDuringWrite:
        return L10n::text(
            QStringLiteral("La note a été modifiée pendant l’enregistrement. Réessaie ; le brouillon est conservé."));
    case Kind::invalidUTF8:
        return L10n::text(QStringLiteral("La note existante n’est pas encodée en UTF-8. Elle n’a pas été modifiée."));
    case Kind::deliveredWithOtherText:
        return L10n::text(QStringLiteral(
            "La note contient déjà une version antérieure de cette capture. Elle n’a pas été modifiée ; "
            "le brouillon est conservé."));
    }
    return QString();
}

} // namespace quillor
