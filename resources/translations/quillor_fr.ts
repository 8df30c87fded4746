<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr" sourcelanguage="fr">
<!-- French is the source language: each text is its own key and is shown as it is, so most entries carry no translation. The few that do reword a text of the product for Linux (the store and the installer). -->
<context>
    <name>Quillor</name>
    <message>
        <source>Destination inconnue : %@. Choisis une destination ou retire le préfixe.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le chemin doit rester à l’intérieur du vault.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisis un dossier de vault existant dans les réglages.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ajoute du texte ou une image avant d’enregistrer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Une image est introuvable. Le brouillon est conservé.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La note a été modifiée pendant l’enregistrement. Réessaie ; le brouillon est conservé.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La note existante n’est pas encodée en UTF-8. Elle n’a pas été modifiée.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La note contient déjà une version antérieure de cette capture. Elle n’a pas été modifiée ; le brouillon est conservé.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nouvelle note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ajouter à une note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note du jour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Suivre les réglages d’Obsidian</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Racine du dossier de notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Même dossier que la note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dans un sous-dossier du dossier de la note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dans le dossier spécifié</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dossier fixe (chemin absolu)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisis un dossier de notes existant.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le chemin doit rester dans le dossier de notes, sans lien symbolique ni dossier caché.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : « %@ ».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : le fichier est illisible ou trop volumineux.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ce chemin désigne un fichier, pas un dossier.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ce chemin désigne un dossier, pas une note.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Un dossier parent est en réalité un fichier.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Utilise un alias composé de lettres, chiffres, tirets ou traits de soulignement.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cet alias est déjà utilisé (sans distinction de casse).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Livraison confirmée</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Livraison non confirmée</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Livrée · fichier absent</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Livrée · accès au fichier indisponible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Général</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destinations</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Raccourcis clavier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Guide d’utilisation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Historique des captures</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>À propos</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Les liens externes s’ouvrent via le système. Un wiki lien ouvre un aperçu natif avec ouverture et export ; choisis la note si plusieurs correspondent. Une cible absente ne crée aucun fichier. Le texte et la sélection restent conservés.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dans l’historique, consulte ou exporte la note disponible et sa sauvegarde d’ajout. La récupération préserve le brouillon courant et en crée un nouveau. Sur iPhone, elle relit la note et les images accessibles, sans inventer le contenu manquant ; autorise explicitement le dossier d’origine si son accès manque. Sur Mac, elle reprend la capture archivée et ses originaux.</source>
        <translation>Dans l’historique, consulte ou exporte la note disponible et sa sauvegarde d’ajout. La récupération préserve le brouillon courant et en crée un nouveau : elle reprend la capture archivée et ses originaux.</translation>
    </message>
    <message>
        <source>Choisis la langue dans Général, puis Appliquer ; Annuler conserve le choix précédent et le brouillon. Sur Mac, utilise le redémarrage proposé pour actualiser l’interface. L’extension iPhone reprend la préférence enregistrée à sa prochaine ouverture ; le widget suit la langue du système.</source>
        <translation>Choisis la langue dans Général, puis Appliquer ; Annuler conserve le choix précédent et le brouillon. Utilise le redémarrage proposé pour actualiser l’interface.</translation>
    </message>
    <message>
        <source>Quillor est édité par l’équipe Quillor. Contact : bonjour@quillor.app</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillor ne collecte ni ne transmet à son éditeur vos notes, images, liens, identifiants ou données d’utilisation. Sans compte, publicité, analyse ni suivi.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Captures, brouillons, réglages, historique et sauvegardes restent sur votre appareil et dans les dossiers que vous autorisez. Les notes Markdown et les images restent lisibles indépendamment de Quillor.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Photos, caméra, collage et partage sont utilisés uniquement à votre demande. Les originaux importés peuvent rester dans le brouillon pour l’annulation et la récupération.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La version Mac du site peut consulter le catalogue public des mises à jour. Aucun contenu de capture n’est envoyé ; l’hébergeur reçoit les informations habituelles de connexion. Les versions App Store sont mises à jour par Apple.</source>
        <translation>Quillor peut consulter le catalogue public des mises à jour. Aucun contenu de capture n’est envoyé ; l’hébergeur reçoit les informations habituelles de connexion.</translation>
    </message>
    <message>
        <source>Votre fournisseur de stockage ou de sauvegarde peut synchroniser vos fichiers selon ses propres règles. Quillor ne fournit pas de service de synchronisation.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Vous pouvez retirer les destinations et leurs autorisations. Avant de supprimer les données locales, exportez les brouillons et sauvegardes à conserver. Désinstaller Quillor ne supprime pas les notes déjà enregistrées dans vos dossiers.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le fichier ou le dossier « %@ » est introuvable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Permission refusée : impossible d’accéder à « %@ ».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le disque est plein : impossible d’écrire « %@ ».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le système de fichiers est en lecture seule : impossible de modifier « %@ ».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Un fichier ou un dossier existe déjà à l’emplacement « %@ ».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Un élément du chemin « %@ » n’est pas un dossier.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>« %@ » est un dossier et non un fichier.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le nom ou le chemin « %@ » est trop long.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Trop de liens symboliques dans le chemin « %@ ».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Erreur de lecture ou d’écriture du disque sur « %@ ».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>« %@ » n’est pas un fichier ordinaire.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Opération impossible sur « %@ » (%@).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>argument non valable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ressource occupée</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fichier en cours d’utilisation</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>trop de fichiers ouverts</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>trop de fichiers ouverts dans le système</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>mémoire insuffisante</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>fichier trop volumineux</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>déplacement impossible d’un système de fichiers à un autre</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>dossier non vide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ressource momentanément indisponible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>opération interrompue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>référence de fichier périmée</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>périphérique ou adresse introuvable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>périphérique introuvable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>trop de liens</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>délai dépassé</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>opération non prise en charge</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>valeur trop grande</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>descripteur de fichier non valable</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>positionnement impossible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>connexion au système de fichiers perdue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisis un dossier existant pour les pièces jointes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saisis un nom de sous-dossier, sans chemin ni barre oblique.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisis un chemin relatif valide pour les pièces jointes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L’indexation du dossier a été annulée.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>⌃Espace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L’accès au dossier de notes doit être autorisé à nouveau. Choisis ce dossier dans les réglages. Le brouillon est conservé.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brouillon vide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sauvegarde en cours…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sauvegardé localement</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brouillon restauré</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisis un dossier de notes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indexation…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dossier sans note Markdown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aucun résultat</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dossier inaccessible : %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La destination d’origine n’existe plus. Choisis une destination.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination non résolue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le brouillon n’a pas pu être sauvegardé : %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le catalogue des versions publiées est inutilisable.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le serveur des mises à jour a renvoyé une réponse invalide.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Recherche des mises à jour…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillor %@ est disponible.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillor est à jour.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Impossible de rechercher les mises à jour. Vérifie ta connexion et réessaie.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nouveautés de Quillor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version installée : %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Les mises à jour de cette application sont gérées par le Mac App Store.</source>
        <translation>Les mises à jour de cette application sont gérées par la logithèque.</translation>
    </message>
    <message>
        <source>Télécharge l’installateur, puis quitte Quillor et ouvre le fichier .pkg. Tes réglages et brouillons seront conservés.</source>
        <translation>Télécharge l’installateur, puis quitte Quillor et lance le fichier .AppImage. Tes réglages et brouillons seront conservés.</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ouvrir le Mac App Store</source>
        <translation>Ouvrir la logithèque</translation>
    </message>
    <message>
        <source>Mettre à jour Quillor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ajoute une destination.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisis un seul caractère de ponctuation comme préfixe.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tag du vault</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Compléter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisir la destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cette image dépasse 50 Mo.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cette image rendrait le brouillon trop volumineux pour être rouvert : les images déjà ajoutées, même retirées, y restent jusqu’à l’envoi. Le brouillon est conservé.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Une image n’a pas été ajoutée : le brouillon a été remplacé pendant sa lecture.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Une image n’a pas été ajoutée : son fichier a été supprimé ou déplacé pendant sa lecture.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%@ images n’ont pas été ajoutées : leurs fichiers ont été supprimés ou déplacés pendant leur lecture.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cette image est illisible.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enregistré dans %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saisir</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supprimer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Glisser pour déplacer · %@ / %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Espace</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ce raccourci est déjà réservé. Ferme l’application qui l’utilise ou choisis une autre combinaison.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ce raccourci est indisponible (%@).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Le raccourci actif est conservé.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Ouvre les réglages depuis le menu Quillor.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indenter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Désindenter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Créer une tâche</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Déplacer la ligne</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Insérer un lien vers une note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sélectionne du texte sans image pour créer un lien.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Contenu de la capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisir le dossier…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Destination : %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> · par défaut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Gérer les destinations…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Voir l’image en grand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Agrandir l’image %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supprimer l’image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supprimer l’image %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enregistrement…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capturer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Réessayer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisir le dossier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Joindre des images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Fermer et conserver le brouillon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indisponible</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Raccourci mémorisé : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> Utilise le menu Quillor pour capturer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisis un dossier Obsidian ou Markdown.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Réglages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aide</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillor n’a pas pu redémarrer (%@).</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Test</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sandbox</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Application</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Raccourci indisponible ; tu peux toujours ouvrir la capture depuis ce menu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aucune capture livrée</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dernière capture : </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nouvelle capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Réglages…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Historique des captures…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dernière capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Afficher la dernière capture dans le Finder</source>
        <translation>Afficher la dernière capture dans le gestionnaire de fichiers</translation>
    </message>
    <message>
        <source>Ouvrir la dernière note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Afficher les données locales</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quitter Quillor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Les réglages n’ont pas pu être lus : Quillor utilise les réglages par défaut. Le fichier illisible est gardé dans « %@ ».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Les réglages n’ont pas pu être lus ni mis de côté (%@) : Quillor utilise les réglages par défaut et n’enregistrera aucun réglage avant le prochain lancement.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le brouillon est trop volumineux pour être ouvert : Quillor commence un nouveau brouillon. Le fichier est gardé dans « %@ ».</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le brouillon est trop volumineux pour être ouvert et n’a pas pu être mis de côté (%@) : Quillor commence un nouveau brouillon.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le reçu « %@ » est trop volumineux pour être lu : il est ignoré.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Les réglages ne peuvent pas être enregistrés : « %@ » n’a pas pu être lu ni mis de côté au lancement. Déplace ou corrige ce fichier, puis relance Quillor.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>⌘↵</source>
        <translation>Ctrl+↵</translation>
    </message>
    <message>
        <source>Une idée, un lien, une image…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ouverture du brouillon…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Déplacer la capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L’ouverture à la connexion n’a pas pu être activée : %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L’ouverture à la connexion n’a pas pu être désactivée : %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tape le raccourci…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Langue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Langue du système</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>La langue choisie sera utilisée au prochain démarrage de Quillor.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redémarre Quillor pour appliquer la nouvelle langue.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Redémarrer Quillor</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Démarrage</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ouvrir à la connexion</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>L’ouverture à la connexion est immédiate et n’est pas annulée par Rétablir les modifications.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ouvrir la capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Raccourci souhaité</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Déclencheur de destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actif : %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Saisis %@ suivi du nom du dossier ou de son alias pour choisir une destination.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ajouter une destination…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Suggestions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actualiser les notes et tags</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>notes.indexed</source>
        <translation>Notes indexées : %d</translation>
    </message>
    <message>
        <source>Choisis le dossier dans lequel enregistrer tes captures.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rechercher dans les réglages</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Effacer la recherche</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rétablir les modifications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Appliquer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modifications non enregistrées</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Modifications enregistrées</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enregistrer les modifications des réglages ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Les modifications non enregistrées seront perdues. Le démarrage à la connexion reste inchangé.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ignorer les modifications</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mode modifié : vérifie et confirme le nouveau chemin.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chaque capture créera une nouvelle note dans ce dossier :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>date-identifiant.md</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chaque capture sera ajoutée à la fin de cette note :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Chaque capture sera ajoutée à la note de sa date de capture :</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Par défaut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>À vérifier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dossier de destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Alias (facultatif)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enregistrement</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nom de la note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confirmer ce chemin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Utiliser par défaut</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Supprimer la destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Retire uniquement la configuration ; les notes sont conservées.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Déplié</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Replié</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aucun dossier choisi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nom de commande : %@. L’alias offre une autre manière de choisir ce dossier.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Édition</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>action.undo</source>
        <translation>Annuler</translation>
    </message>
    <message>
        <source>action.redo</source>
        <translation>Rétablir</translation>
    </message>
    <message>
        <source>Couper</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Copier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coller</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tout sélectionner</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lien vers une note…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est illisible : son contenu n’est pas un enregistrement valide.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Les images de cette modification du brouillon ne correspondent pas à celles de son dernier enregistrement : elle ne peut pas lui être appliquée.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est illisible : il est bien plus volumineux qu’un enregistrement.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est endommagé : son nom ne correspond pas à la capture qu’il contient.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisir une destination</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dossier de notes (vault)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Restaurer comme nouveau brouillon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Brouillon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Archiver puis effacer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ouvrir la note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Version</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mises à jour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rechercher les mises à jour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tes notes restent à toi</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tes captures sont enregistrées sur ton Mac et dans les dossiers que tu choisis. Sans compte, sans publicité, sans suivi.</source>
        <translation>Tes captures sont enregistrées sur ton ordinateur et dans les dossiers que tu choisis. Sans compte, sans publicité, sans suivi.</translation>
    </message>
    <message>
        <source>Raccourci global configurable dans Général.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Enregistrer dans la destination choisie.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Masquer et conserver le brouillon</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ferme d’abord les suggestions.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Échap</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Édition du texte</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Annuler, couper, copier, coller et tout sélectionner.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Indenter / désindenter</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ajoute ou retire quatre espaces au début des lignes sélectionnées, même avec le curseur au milieu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sur une ligne contenant seulement - , un espace supplémentaire crée - [ ] . Cliquer sur la case coche ou décoche la tâche.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Retirer la case à cocher</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Au début du texte d’une tâche, Retour arrière retire sa case et conserve la puce.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Listes et tâches</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Entrée continue la liste ; sur une puce vide, Entrée termine la liste. Les tâches continuent avec une case vide.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Déplace la ligne vers le haut ou le bas. Les lignes de liste peuvent aussi être déplacées avec leur poignée.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le préfixe propose des destinations dans le texte. Entrée, Tab ou un clic change le sélecteur et retire le raccourci. Maj+Entrée insère une nouvelle ligne ; Échap ferme les suggestions.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Parcourir les suggestions</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Flèches pour choisir, Entrée, Tab ou un clic pour valider, Échap pour fermer. Maj+Entrée insère une nouvelle ligne.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lien vers une note</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rechercher une note ou écrire un wiki lien avec un libellé facultatif.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>[[note]] · [[note|libellé]]</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tag</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le caractère # propose les tags du dossier de notes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>#tag · #tag/enfant</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Mise en forme Markdown</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Titres de # à ######, gras, italique et code. La syntaxe reste visible et est conservée à l’enregistrement.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source># titre · **gras** · *italique* · `code` · ```</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Liens et URLs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ouvrir les liens</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Commande-clic ouvre un lien. Les liens Markdown et les URLs restent du texte modifiable.</source>
        <translation>Ctrl+clic ouvre un lien. Les liens Markdown et les URLs restent du texte modifiable.</translation>
    </message>
    <message>
        <source>[libellé](https://…) · https://… · ⌘+clic</source>
        <translation>[libellé](https://…) · https://… · Ctrl+clic</translation>
    </message>
    <message>
        <source>Images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coller, glisser une image ou utiliser le trombone. Cliquer sur une vignette ouvre son aperçu ; la croix permet de la supprimer.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le brouillon est conservé localement.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Suggestions et contenu</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>⌘+clic</source>
        <translation>Ctrl+clic</translation>
    </message>
    <message>
        <source>Configurer le raccourci…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Capture locale · destination historique inconnue</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Captures locales</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Actualiser</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lecture de l’historique…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cette capture n’a pas pu être lue en entier : elle ne peut pas être restaurée.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Texte trop long pour être affiché ici : restaure la capture pour le retrouver.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rien n’a pu ouvrir « %@ » : aucune application du bureau ne s’en charge.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rien n’a pu afficher « %@ » : aucun gestionnaire de fichiers ne répond.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Afficher dans le Finder</source>
        <translation>Afficher dans le gestionnaire de fichiers</translation>
    </message>
    <message>
        <source>Exporter la note…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sauvegarde de la note avant ajout</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Consulter la sauvegarde</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exporter la sauvegarde…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aucune capture dans l’historique</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Tes captures enregistrées et tes brouillons archivés apparaîtront ici.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sélectionne une capture pour consulter ou récupérer son contenu.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Conserver le brouillon actuel avant de restaurer ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Le brouillon actuel restera récupérable dans cet historique. Aucun fichier de notes ne sera remplacé.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Archiver puis remplacer</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Échap masque la capture et conserve la saisie. Le brouillon est sauvegardé localement.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Effacer le brouillon…</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Effacer ce brouillon ?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Son contenu restera récupérable dans l’historique local.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Diagnostic</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Confidentialité et mentions légales</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Rechercher automatiquement les mises à jour</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Une vérification par jour lorsque Quillor est ouvert.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Afficher les changelogs</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Dernière vérification</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Choisis un dossier de pièces jointes dans le dossier de notes.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Pièces jointes</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Utiliser les réglages Obsidian</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Emplacement</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Nom du sous-dossier</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Les pièces jointes existantes ne sont pas déplacées.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coffre Obsidian détecté : %@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cette option est disponible uniquement si la destination est contenue dans un coffre Obsidian avec un dossier .obsidian.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ctrl+↵</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ajouter des images</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Coller la capture</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Une pièce jointe du presse-papiers est illisible ou dépasse 50 Mo. Le brouillon est conservé.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Ajouter des images à cette capture.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aperçu de l’image</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Image en grand</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Aucune note correspondante. Actualise les suggestions ou vérifie le lien.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cocher la tâche</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Sélectionné, %1$@ sur %2$@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1$@ sur %2$@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>, %1$@ sur %2$@</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>suggestions.count</source>
        <translation>Suggestions : %@</translation>
    </message>
    <message>
        <source>Le module réseau de Quillor est introuvable : réinstalle Quillor.</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
