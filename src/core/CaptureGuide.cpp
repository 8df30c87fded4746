#include "core/CaptureGuide.h"

#include "core/L10n.h"

namespace quillor::CaptureGuide {

QString links()
{
    return L10n::text(QStringLiteral(
        "Les liens externes s’ouvrent via le système. Un wiki lien ouvre un aperçu natif avec ouverture et export ; "
        "choisis la note si plusieurs correspondent. Une cible absente ne crée aucun fichier. Le texte et la "
        "sélection restent conservés."));
}

QString recovery()
{
    return L10n::text(QStringLiteral(
        "Dans l’historique, consulte ou exporte la note disponible et sa sauvegarde d’ajout. La récupération "
        "préserve le brouillon courant et en crée un nouveau. Sur iPhone, elle relit la note et les images "
        "accessibles, sans inventer le contenu manquant ; autorise explicitement le dossier d’origine si son accès "
        "manque. Sur Mac, elle reprend la capture archivée et ses originaux."));
}

QString language()
{
    return L10n::text(QStringLiteral(
        "Choisis la langue dans Général, puis Appliquer ; Annuler conserve le choix précédent et le brouillon. Sur "
        "Mac, utilise le redémarrage proposé pour actualiser l’interface. L’extension iPhone reprend la préférence "
        "enregistrée à sa prochaine ouverture ; le widget suit la langue du système."));
}

} // namespace quillor::CaptureGuide
