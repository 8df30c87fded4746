#include "core/PrivacyPolicy.h"

#include "core/L10n.h"

namespace quillor::PrivacyPolicy {

QStringList paragraphs()
{
    return {
        L10n::text(QStringLiteral("Quillor est édité par l’équipe Quillor. Contact : bonjour@quillor.app")),
        L10n::text(QStringLiteral("Quillor ne collecte ni ne transmet à son éditeur vos notes, images, liens, "
                                  "identifiants ou données d’utilisation. Sans compte, publicité, analyse ni suivi.")),
        L10n::text(QStringLiteral("Captures, brouillons, réglages, historique et sauvegardes restent sur votre appareil "
                                  "et dans les dossiers que vous autorisez. Les notes Markdown et les images restent "
                                  "lisibles indépendamment de Quillor.")),
        L10n::text(QStringLiteral("Photos, caméra, collage et partage sont utilisés uniquement à votre demande. Les "
                                  "originaux importés peuvent rester dans le brouillon pour l’annulation et la "
                                  "récupération.")),
        L10n::text(QStringLiteral("La version Mac du site peut consulter le catalogue public des mises à jour. Aucun "
                                  "contenu de capture n’est envoyé ; l’hébergeur reçoit les informations habituelles "
                                  "de connexion. Les versions App Store sont mises à jour par Apple.")),
        L10n::text(QStringLiteral("Votre fournisseur de stockage ou de sauvegarde peut synchroniser vos fichiers selon "
                                  "ses propres règles. Quillor ne fournit pas de service de synchronisation.")),
        L10n::text(QStringLiteral("Vous pouvez retirer les destinations et leurs autorisations. Avant de supprimer les "
                                  "données locales, exportez les brouillons et sauvegardes à conserver. Désinstaller "
                                  "Quillor ne supprime pas les notes déjà enregistrées dans vos dossiers.")),
    };
}

} // namespace quillor::PrivacyPolicy
