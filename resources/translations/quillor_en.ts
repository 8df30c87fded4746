<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en" sourcelanguage="fr">
<context>
    <name>Quillor</name>
    <message>
        <source>Destination inconnue : %@. Choisis une destination ou retire le préfixe.</source>
        <translation>Unknown destination: %@. Choose a destination or remove the prefix.</translation>
    </message>
    <message>
        <source>Le chemin doit rester à l’intérieur du vault.</source>
        <translation>The path must stay inside the vault.</translation>
    </message>
    <message>
        <source>Choisis un dossier de vault existant dans les réglages.</source>
        <translation>Choose an existing vault folder in Settings.</translation>
    </message>
    <message>
        <source>Ajoute du texte ou une image avant d’enregistrer.</source>
        <translation>Add some text or an image before saving.</translation>
    </message>
    <message>
        <source>Une image est introuvable. Le brouillon est conservé.</source>
        <translation>An image cannot be found. The draft has been kept.</translation>
    </message>
    <message>
        <source>La note a été modifiée pendant l’enregistrement. Réessaie ; le brouillon est conservé.</source>
        <translation>The note was changed while it was being saved. Try again; the draft has been kept.</translation>
    </message>
    <message>
        <source>La note existante n’est pas encodée en UTF-8. Elle n’a pas été modifiée.</source>
        <translation>The existing note is not encoded in UTF-8. It has not been changed.</translation>
    </message>
    <message>
        <source>La note contient déjà une version antérieure de cette capture. Elle n’a pas été modifiée ; le brouillon est conservé.</source>
        <translation>The note already holds an earlier version of this capture. It has not been changed; the draft has been kept.</translation>
    </message>
    <message>
        <source>Nouvelle note</source>
        <translation>New note</translation>
    </message>
    <message>
        <source>Ajouter à une note</source>
        <translation>Append to a note</translation>
    </message>
    <message>
        <source>Note du jour</source>
        <translation>Daily note</translation>
    </message>
    <message>
        <source>Suivre les réglages d’Obsidian</source>
        <translation>Follow Obsidian’s settings</translation>
    </message>
    <message>
        <source>Racine du dossier de notes</source>
        <translation>Root of the notes folder</translation>
    </message>
    <message>
        <source>Même dossier que la note</source>
        <translation>Same folder as the note</translation>
    </message>
    <message>
        <source>Dans un sous-dossier du dossier de la note</source>
        <translation>In a subfolder of the note’s folder</translation>
    </message>
    <message>
        <source>Dans le dossier spécifié</source>
        <translation>In the specified folder</translation>
    </message>
    <message>
        <source>Dossier fixe (chemin absolu)</source>
        <translation>Fixed folder (absolute path)</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>Destination</translation>
    </message>
    <message>
        <source>Choisis un dossier de notes existant.</source>
        <translation>Choose an existing notes folder.</translation>
    </message>
    <message>
        <source>Le chemin doit rester dans le dossier de notes, sans lien symbolique ni dossier caché.</source>
        <translation>The path must stay inside the notes folder, with no symbolic link or hidden folder.</translation>
    </message>
    <message>
        <source>Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : « %@ ».</source>
        <translation>This vault’s attachment setting in .obsidian/app.json cannot be used: “%@”.</translation>
    </message>
    <message>
        <source>Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : le fichier est illisible ou trop volumineux.</source>
        <translation>This vault’s attachment setting in .obsidian/app.json cannot be used: the file is unreadable or too large.</translation>
    </message>
    <message>
        <source>Ce chemin désigne un fichier, pas un dossier.</source>
        <translation>This path points to a file, not a folder.</translation>
    </message>
    <message>
        <source>Ce chemin désigne un dossier, pas une note.</source>
        <translation>This path points to a folder, not a note.</translation>
    </message>
    <message>
        <source>Un dossier parent est en réalité un fichier.</source>
        <translation>A parent folder is actually a file.</translation>
    </message>
    <message>
        <source>Utilise un alias composé de lettres, chiffres, tirets ou traits de soulignement.</source>
        <translation>Use an alias made of letters, digits, hyphens or underscores.</translation>
    </message>
    <message>
        <source>Cet alias est déjà utilisé (sans distinction de casse).</source>
        <translation>This alias is already in use (case is ignored).</translation>
    </message>
    <message>
        <source>Livraison confirmée</source>
        <translation>Delivery confirmed</translation>
    </message>
    <message>
        <source>Livraison non confirmée</source>
        <translation>Delivery not confirmed</translation>
    </message>
    <message>
        <source>Livrée · fichier absent</source>
        <translation>Delivered · file missing</translation>
    </message>
    <message>
        <source>Livrée · accès au fichier indisponible</source>
        <translation>Delivered · file access unavailable</translation>
    </message>
    <message>
        <source>Général</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Destinations</source>
        <translation>Destinations</translation>
    </message>
    <message>
        <source>Raccourcis clavier</source>
        <translation>Keyboard shortcuts</translation>
    </message>
    <message>
        <source>Guide d’utilisation</source>
        <translation>User guide</translation>
    </message>
    <message>
        <source>Historique des captures</source>
        <translation>Capture history</translation>
    </message>
    <message>
        <source>À propos</source>
        <translation>About</translation>
    </message>
    <message>
        <source>Les liens externes s’ouvrent via le système. Un wiki lien ouvre un aperçu natif avec ouverture et export ; choisis la note si plusieurs correspondent. Une cible absente ne crée aucun fichier. Le texte et la sélection restent conservés.</source>
        <translation>External links open through the system. A wiki link opens a native preview with Open and Export; choose the note when several match. A missing target creates no file. The text and the selection are kept.</translation>
    </message>
    <message>
        <source>Dans l’historique, consulte ou exporte la note disponible et sa sauvegarde d’ajout. La récupération préserve le brouillon courant et en crée un nouveau. Sur iPhone, elle relit la note et les images accessibles, sans inventer le contenu manquant ; autorise explicitement le dossier d’origine si son accès manque. Sur Mac, elle reprend la capture archivée et ses originaux.</source>
        <translation>In the history, view or export the available note and its append backup. Recovery keeps the current draft and creates a new one: it restores the archived capture and its originals.</translation>
    </message>
    <message>
        <source>Choisis la langue dans Général, puis Appliquer ; Annuler conserve le choix précédent et le brouillon. Sur Mac, utilise le redémarrage proposé pour actualiser l’interface. L’extension iPhone reprend la préférence enregistrée à sa prochaine ouverture ; le widget suit la langue du système.</source>
        <translation>Choose the language in General, then Apply; Cancel keeps the previous choice and the draft. Use the offered restart to refresh the interface.</translation>
    </message>
    <message>
        <source>Quillor est édité par l’équipe Quillor. Contact : bonjour@quillor.app</source>
        <translation>Quillor is published by the Quillor team. Contact: bonjour@quillor.app</translation>
    </message>
    <message>
        <source>Quillor ne collecte ni ne transmet à son éditeur vos notes, images, liens, identifiants ou données d’utilisation. Sans compte, publicité, analyse ni suivi.</source>
        <translation>Quillor neither collects nor sends to its publisher your notes, images, links, credentials or usage data. No account, advertising, analytics or tracking.</translation>
    </message>
    <message>
        <source>Captures, brouillons, réglages, historique et sauvegardes restent sur votre appareil et dans les dossiers que vous autorisez. Les notes Markdown et les images restent lisibles indépendamment de Quillor.</source>
        <translation>Captures, drafts, settings, history and backups stay on your device and in the folders you allow. Markdown notes and images remain readable without Quillor.</translation>
    </message>
    <message>
        <source>Photos, caméra, collage et partage sont utilisés uniquement à votre demande. Les originaux importés peuvent rester dans le brouillon pour l’annulation et la récupération.</source>
        <translation>Photos, camera, pasting and sharing are used only when you ask. Imported originals may stay in the draft for undo and recovery.</translation>
    </message>
    <message>
        <source>La version Mac du site peut consulter le catalogue public des mises à jour. Aucun contenu de capture n’est envoyé ; l’hébergeur reçoit les informations habituelles de connexion. Les versions App Store sont mises à jour par Apple.</source>
        <translation>Quillor may check the public update catalog. No capture content is sent; the host receives the usual connection information.</translation>
    </message>
    <message>
        <source>Votre fournisseur de stockage ou de sauvegarde peut synchroniser vos fichiers selon ses propres règles. Quillor ne fournit pas de service de synchronisation.</source>
        <translation>Your storage or backup provider may sync your files according to its own rules. Quillor provides no sync service.</translation>
    </message>
    <message>
        <source>Vous pouvez retirer les destinations et leurs autorisations. Avant de supprimer les données locales, exportez les brouillons et sauvegardes à conserver. Désinstaller Quillor ne supprime pas les notes déjà enregistrées dans vos dossiers.</source>
        <translation>You can remove destinations and their permissions. Before deleting local data, export the drafts and backups you want to keep. Uninstalling Quillor does not delete notes already saved in your folders.</translation>
    </message>
    <message>
        <source>Le fichier ou le dossier « %@ » est introuvable.</source>
        <translation>The file or folder “%@” could not be found.</translation>
    </message>
    <message>
        <source>Permission refusée : impossible d’accéder à « %@ ».</source>
        <translation>Permission denied: cannot access “%@”.</translation>
    </message>
    <message>
        <source>Le disque est plein : impossible d’écrire « %@ ».</source>
        <translation>The disk is full: cannot write “%@”.</translation>
    </message>
    <message>
        <source>Le système de fichiers est en lecture seule : impossible de modifier « %@ ».</source>
        <translation>The file system is read-only: cannot change “%@”.</translation>
    </message>
    <message>
        <source>Un fichier ou un dossier existe déjà à l’emplacement « %@ ».</source>
        <translation>A file or folder already exists at “%@”.</translation>
    </message>
    <message>
        <source>Un élément du chemin « %@ » n’est pas un dossier.</source>
        <translation>Part of the path “%@” is not a folder.</translation>
    </message>
    <message>
        <source>« %@ » est un dossier et non un fichier.</source>
        <translation>“%@” is a folder, not a file.</translation>
    </message>
    <message>
        <source>Le nom ou le chemin « %@ » est trop long.</source>
        <translation>The name or path “%@” is too long.</translation>
    </message>
    <message>
        <source>Trop de liens symboliques dans le chemin « %@ ».</source>
        <translation>Too many symbolic links in the path “%@”.</translation>
    </message>
    <message>
        <source>Erreur de lecture ou d’écriture du disque sur « %@ ».</source>
        <translation>A disk read or write error occurred on “%@”.</translation>
    </message>
    <message>
        <source>« %@ » n’est pas un fichier ordinaire.</source>
        <translation>“%@” is not a regular file.</translation>
    </message>
    <message>
        <source>Opération impossible sur « %@ » (%@).</source>
        <translation>The operation failed on “%@” (%@).</translation>
    </message>
    <message>
        <source>argument non valable</source>
        <translation>invalid argument</translation>
    </message>
    <message>
        <source>ressource occupée</source>
        <translation>resource busy</translation>
    </message>
    <message>
        <source>fichier en cours d’utilisation</source>
        <translation>file in use</translation>
    </message>
    <message>
        <source>trop de fichiers ouverts</source>
        <translation>too many open files</translation>
    </message>
    <message>
        <source>trop de fichiers ouverts dans le système</source>
        <translation>too many open files in the system</translation>
    </message>
    <message>
        <source>mémoire insuffisante</source>
        <translation>not enough memory</translation>
    </message>
    <message>
        <source>fichier trop volumineux</source>
        <translation>file too large</translation>
    </message>
    <message>
        <source>déplacement impossible d’un système de fichiers à un autre</source>
        <translation>cannot move from one file system to another</translation>
    </message>
    <message>
        <source>dossier non vide</source>
        <translation>folder not empty</translation>
    </message>
    <message>
        <source>ressource momentanément indisponible</source>
        <translation>resource temporarily unavailable</translation>
    </message>
    <message>
        <source>opération interrompue</source>
        <translation>operation interrupted</translation>
    </message>
    <message>
        <source>référence de fichier périmée</source>
        <translation>stale file handle</translation>
    </message>
    <message>
        <source>périphérique ou adresse introuvable</source>
        <translation>no such device or address</translation>
    </message>
    <message>
        <source>périphérique introuvable</source>
        <translation>no such device</translation>
    </message>
    <message>
        <source>trop de liens</source>
        <translation>too many links</translation>
    </message>
    <message>
        <source>délai dépassé</source>
        <translation>timed out</translation>
    </message>
    <message>
        <source>opération non prise en charge</source>
        <translation>operation not supported</translation>
    </message>
    <message>
        <source>valeur trop grande</source>
        <translation>value too large</translation>
    </message>
    <message>
        <source>descripteur de fichier non valable</source>
        <translation>bad file descriptor</translation>
    </message>
    <message>
        <source>positionnement impossible</source>
        <translation>cannot seek</translation>
    </message>
    <message>
        <source>connexion au système de fichiers perdue</source>
        <translation>connection to the file system lost</translation>
    </message>
    <message>
        <source>Choisis un dossier existant pour les pièces jointes.</source>
        <translation>Choose an existing folder for attachments.</translation>
    </message>
    <message>
        <source>Saisis un nom de sous-dossier, sans chemin ni barre oblique.</source>
        <translation>Enter a subfolder name, without a path or slash.</translation>
    </message>
    <message>
        <source>Choisis un chemin relatif valide pour les pièces jointes.</source>
        <translation>Choose a valid relative path for attachments.</translation>
    </message>
    <message>
        <source>L’indexation du dossier a été annulée.</source>
        <translation>Folder indexing was cancelled.</translation>
    </message>
    <message>
        <source>⌃Espace</source>
        <translation>⌃Space</translation>
    </message>
    <message>
        <source>L’accès au dossier de notes doit être autorisé à nouveau. Choisis ce dossier dans les réglages. Le brouillon est conservé.</source>
        <translation>Access to the notes folder must be granted again. Choose this folder in Settings. Your draft has been kept.</translation>
    </message>
    <message>
        <source>Brouillon vide</source>
        <translation>Empty draft</translation>
    </message>
    <message>
        <source>Sauvegarde en cours…</source>
        <translation>Saving…</translation>
    </message>
    <message>
        <source>Sauvegardé localement</source>
        <translation>Saved locally</translation>
    </message>
    <message>
        <source>Brouillon restauré</source>
        <translation>Draft restored</translation>
    </message>
    <message>
        <source>Choisis un dossier de notes</source>
        <translation>Choose a notes folder</translation>
    </message>
    <message>
        <source>Indexation…</source>
        <translation>Indexing…</translation>
    </message>
    <message>
        <source>Dossier sans note Markdown</source>
        <translation>Folder has no Markdown notes</translation>
    </message>
    <message>
        <source>Aucun résultat</source>
        <translation>No results</translation>
    </message>
    <message>
        <source>Dossier inaccessible : %@</source>
        <translation>Folder inaccessible: %@</translation>
    </message>
    <message>
        <source>La destination d’origine n’existe plus. Choisis une destination.</source>
        <translation>The original destination no longer exists. Choose a destination.</translation>
    </message>
    <message>
        <source>Destination non résolue</source>
        <translation>Unresolved destination</translation>
    </message>
    <message>
        <source>Le brouillon n’a pas pu être sauvegardé : %@</source>
        <translation>The draft could not be saved: %@</translation>
    </message>
    <message>
        <source>Le catalogue des versions publiées est inutilisable.</source>
        <translation>The catalog of published versions cannot be used.</translation>
    </message>
    <message>
        <source>Le serveur des mises à jour a renvoyé une réponse invalide.</source>
        <translation>The update server sent an invalid response.</translation>
    </message>
    <message>
        <source>Recherche des mises à jour…</source>
        <translation>Checking for updates…</translation>
    </message>
    <message>
        <source>Quillor %@ est disponible.</source>
        <translation>Quillor %@ is available.</translation>
    </message>
    <message>
        <source>Quillor est à jour.</source>
        <translation>Quillor is up to date.</translation>
    </message>
    <message>
        <source>Impossible de rechercher les mises à jour. Vérifie ta connexion et réessaie.</source>
        <translation>Couldn’t check for updates. Check your connection and try again.</translation>
    </message>
    <message>
        <source>Nouveautés de Quillor</source>
        <translation>What’s New in Quillor</translation>
    </message>
    <message>
        <source>Version installée : %@</source>
        <translation>Installed version: %@</translation>
    </message>
    <message>
        <source>Les mises à jour de cette application sont gérées par le Mac App Store.</source>
        <translation>Updates for this app are managed by the software centre.</translation>
    </message>
    <message>
        <source>Télécharge l’installateur, puis quitte Quillor et ouvre le fichier .pkg. Tes réglages et brouillons seront conservés.</source>
        <translation>Download the installer, then quit Quillor and run the .AppImage file. Your settings and drafts will be kept.</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Close</translation>
    </message>
    <message>
        <source>Ouvrir le Mac App Store</source>
        <translation>Open the Software Centre</translation>
    </message>
    <message>
        <source>Mettre à jour Quillor</source>
        <translation>Update Quillor</translation>
    </message>
    <message>
        <source>Ajoute une destination.</source>
        <translation>Add a destination.</translation>
    </message>
    <message>
        <source>Choisis un seul caractère de ponctuation comme préfixe.</source>
        <translation>Choose a single punctuation character as the prefix.</translation>
    </message>
    <message>
        <source>Tag du vault</source>
        <translation>Vault tag</translation>
    </message>
    <message>
        <source>Compléter</source>
        <translation>Complete</translation>
    </message>
    <message>
        <source>Choisir la destination</source>
        <translation>Choose Destination</translation>
    </message>
    <message>
        <source>Cette image dépasse 50 Mo.</source>
        <translation>This image is larger than 50 MB.</translation>
    </message>
    <message>
        <source>Cette image rendrait le brouillon trop volumineux pour être rouvert : les images déjà ajoutées, même retirées, y restent jusqu’à l’envoi. Le brouillon est conservé.</source>
        <translation>This image would make the draft too large to be opened again: the images already added, even removed ones, stay in it until it is sent. The draft has been kept.</translation>
    </message>
    <message>
        <source>Une image n’a pas été ajoutée : le brouillon a été remplacé pendant sa lecture.</source>
        <translation>An image was not added: the draft was replaced while it was being read.</translation>
    </message>
    <message>
        <source>Une image n’a pas été ajoutée : son fichier a été supprimé ou déplacé pendant sa lecture.</source>
        <translation>An image was not added: its file was deleted or moved while it was being read.</translation>
    </message>
    <message>
        <source>%@ images n’ont pas été ajoutées : leurs fichiers ont été supprimés ou déplacés pendant leur lecture.</source>
        <translation>%@ images were not added: their files were deleted or moved while they were being read.</translation>
    </message>
    <message>
        <source>Cette image est illisible.</source>
        <translation>This image cannot be read.</translation>
    </message>
    <message>
        <source>Enregistré dans %@</source>
        <translation>Saved to %@</translation>
    </message>
    <message>
        <source>Espace</source>
        <translation>Space</translation>
    </message>
    <message>
        <source>Ce raccourci est déjà réservé. Ferme l’application qui l’utilise ou choisis une autre combinaison.</source>
        <translation>This shortcut is already taken. Quit the app that uses it or choose another combination.</translation>
    </message>
    <message>
        <source>Ce raccourci est indisponible (%@).</source>
        <translation>This shortcut is unavailable (%@).</translation>
    </message>
    <message>
        <source> Le raccourci actif est conservé.</source>
        <translation> The active shortcut is kept.</translation>
    </message>
    <message>
        <source> Ouvre les réglages depuis le menu Quillor.</source>
        <translation> Open the settings from the Quillor menu.</translation>
    </message>
    <message>
        <source>Saisir</source>
        <translation>Type</translation>
    </message>
    <message>
        <source>Supprimer</source>
        <translation>Delete</translation>
    </message>
    <message>
        <source>Glisser pour déplacer · %@ / %@</source>
        <translation>Drag to move · %@ / %@</translation>
    </message>
    <message>
        <source>Indenter</source>
        <translation>Indent</translation>
    </message>
    <message>
        <source>Désindenter</source>
        <translation>Outdent</translation>
    </message>
    <message>
        <source>Créer une tâche</source>
        <translation>Create Task</translation>
    </message>
    <message>
        <source>Déplacer la ligne</source>
        <translation>Move Line</translation>
    </message>
    <message>
        <source>Insérer un lien vers une note</source>
        <translation>Insert Note Link</translation>
    </message>
    <message>
        <source>Sélectionne du texte sans image pour créer un lien.</source>
        <translation>Select text without images to create a link.</translation>
    </message>
    <message>
        <source>Contenu de la capture</source>
        <translation>Capture content</translation>
    </message>
    <message>
        <source>Choisir le dossier…</source>
        <translation>Choose Folder…</translation>
    </message>
    <message>
        <source>Destination : %@</source>
        <translation>Destination: %@</translation>
    </message>
    <message>
        <source> · par défaut</source>
        <translation> · default</translation>
    </message>
    <message>
        <source>Gérer les destinations…</source>
        <translation>Manage Destinations…</translation>
    </message>
    <message>
        <source>Voir l’image en grand</source>
        <translation>View larger image</translation>
    </message>
    <message>
        <source>Agrandir l’image %@</source>
        <translation>Enlarge image %@</translation>
    </message>
    <message>
        <source>Supprimer l’image</source>
        <translation>Remove Image</translation>
    </message>
    <message>
        <source>Supprimer l’image %@</source>
        <translation>Remove image %@</translation>
    </message>
    <message>
        <source>Enregistrement…</source>
        <translation>Saving…</translation>
    </message>
    <message>
        <source>Capturer</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Réessayer</source>
        <translation>Retry</translation>
    </message>
    <message>
        <source>Choisir le dossier</source>
        <translation>Choose Folder</translation>
    </message>
    <message>
        <source>Joindre des images</source>
        <translation>Attach images</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Fermer et conserver le brouillon</source>
        <translation>Close and keep the draft</translation>
    </message>
    <message>
        <source>Indisponible</source>
        <translation>Unavailable</translation>
    </message>
    <message>
        <source>Raccourci mémorisé : </source>
        <translation>Saved shortcut: </translation>
    </message>
    <message>
        <source> Utilise le menu Quillor pour capturer.</source>
        <translation> Use the Quillor menu to capture.</translation>
    </message>
    <message>
        <source>Choisis un dossier Obsidian ou Markdown.</source>
        <translation>Choose an Obsidian or Markdown folder.</translation>
    </message>
    <message>
        <source>Réglages</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Aide</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Quillor n’a pas pu redémarrer (%@).</source>
        <translation>Quillor could not restart (%@).</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>Sandbox</source>
        <translation>Sandbox</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Application</translation>
    </message>
    <message>
        <source>Raccourci indisponible ; tu peux toujours ouvrir la capture depuis ce menu.</source>
        <translation>Shortcut unavailable; you can still open the capture from this menu.</translation>
    </message>
    <message>
        <source>Aucune capture livrée</source>
        <translation>No capture delivered</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Note</translation>
    </message>
    <message>
        <source>Dernière capture : </source>
        <translation>Latest capture: </translation>
    </message>
    <message>
        <source>Nouvelle capture</source>
        <translation>New Capture</translation>
    </message>
    <message>
        <source>Réglages…</source>
        <translation>Settings…</translation>
    </message>
    <message>
        <source>Historique des captures…</source>
        <translation>Capture History…</translation>
    </message>
    <message>
        <source>Dernière capture</source>
        <translation>Latest Capture</translation>
    </message>
    <message>
        <source>Afficher la dernière capture dans le Finder</source>
        <translation>Show Latest Capture in the File Manager</translation>
    </message>
    <message>
        <source>Ouvrir la dernière note</source>
        <translation>Open Latest Note</translation>
    </message>
    <message>
        <source>Afficher les données locales</source>
        <translation>Show Local Data</translation>
    </message>
    <message>
        <source>Quitter Quillor</source>
        <translation>Quit Quillor</translation>
    </message>
    <message>
        <source>Les réglages n’ont pas pu être lus : Quillor utilise les réglages par défaut. Le fichier illisible est gardé dans « %@ ».</source>
        <translation>The settings could not be read: Quillor is using the default settings. The unreadable file is kept in “%@”.</translation>
    </message>
    <message>
        <source>Les réglages n’ont pas pu être lus ni mis de côté (%@) : Quillor utilise les réglages par défaut et n’enregistrera aucun réglage avant le prochain lancement.</source>
        <translation>The settings could not be read or set aside (%@): Quillor is using the default settings and will save no settings until it is launched again.</translation>
    </message>
    <message>
        <source>Le brouillon est trop volumineux pour être ouvert : Quillor commence un nouveau brouillon. Le fichier est gardé dans « %@ ».</source>
        <translation>The draft is too large to open: Quillor is starting a new draft. The file is kept in “%@”.</translation>
    </message>
    <message>
        <source>Le brouillon est trop volumineux pour être ouvert et n’a pas pu être mis de côté (%@) : Quillor commence un nouveau brouillon.</source>
        <translation>The draft is too large to open and could not be set aside (%@): Quillor is starting a new draft.</translation>
    </message>
    <message>
        <source>Le reçu « %@ » est trop volumineux pour être lu : il est ignoré.</source>
        <translation>The receipt “%@” is too large to be read: it is ignored.</translation>
    </message>
    <message>
        <source>Les réglages ne peuvent pas être enregistrés : « %@ » n’a pas pu être lu ni mis de côté au lancement. Déplace ou corrige ce fichier, puis relance Quillor.</source>
        <translation>The settings cannot be saved: “%@” could not be read or set aside at launch. Move or fix this file, then relaunch Quillor.</translation>
    </message>
    <message>
        <source>⌘↵</source>
        <translation>Ctrl+↵</translation>
    </message>
    <message>
        <source>Une idée, un lien, une image…</source>
        <translation>An idea, a link, an image…</translation>
    </message>
    <message>
        <source>Ouverture du brouillon…</source>
        <translation>Opening the draft…</translation>
    </message>
    <message>
        <source>Déplacer la capture</source>
        <translation>Move the capture</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion n’a pas pu être activée : %@</source>
        <translation>Open at login could not be turned on: %@</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion n’a pas pu être désactivée : %@</source>
        <translation>Open at login could not be turned off: %@</translation>
    </message>
    <message>
        <source>Tape le raccourci…</source>
        <translation>Type the shortcut…</translation>
    </message>
    <message>
        <source>Langue</source>
        <translation>Language</translation>
    </message>
    <message>
        <source>Langue du système</source>
        <translation>System Language</translation>
    </message>
    <message>
        <source>La langue choisie sera utilisée au prochain démarrage de Quillor.</source>
        <translation>The chosen language will be used the next time Quillor starts.</translation>
    </message>
    <message>
        <source>Redémarre Quillor pour appliquer la nouvelle langue.</source>
        <translation>Restart Quillor to use the new language.</translation>
    </message>
    <message>
        <source>Redémarrer Quillor</source>
        <translation>Restart Quillor</translation>
    </message>
    <message>
        <source>Démarrage</source>
        <translation>Startup</translation>
    </message>
    <message>
        <source>Ouvrir à la connexion</source>
        <translation>Open at Login</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion est immédiate et n’est pas annulée par Rétablir les modifications.</source>
        <translation>Open at login takes effect at once and is not undone by Revert Changes.</translation>
    </message>
    <message>
        <source>Ouvrir la capture</source>
        <translation>Open the Capture</translation>
    </message>
    <message>
        <source>Raccourci souhaité</source>
        <translation>Desired Shortcut</translation>
    </message>
    <message>
        <source>Déclencheur de destination</source>
        <translation>Destination Trigger</translation>
    </message>
    <message>
        <source>Actif : %@</source>
        <translation>Active: %@</translation>
    </message>
    <message>
        <source>Saisis %@ suivi du nom du dossier ou de son alias pour choisir une destination.</source>
        <translation>Type %@ followed by the folder’s name or its alias to choose a destination.</translation>
    </message>
    <message>
        <source>Ajouter une destination…</source>
        <translation>Add a Destination…</translation>
    </message>
    <message>
        <source>Suggestions</source>
        <translation>Suggestions</translation>
    </message>
    <message>
        <source>Actualiser les notes et tags</source>
        <translation>Refresh Notes and Tags</translation>
    </message>
    <message>
        <source>notes.indexed</source>
        <translation>Indexed notes: %d</translation>
    </message>
    <message>
        <source>Choisis le dossier dans lequel enregistrer tes captures.</source>
        <translation>Choose the folder where your captures are saved.</translation>
    </message>
    <message>
        <source>Rechercher dans les réglages</source>
        <translation>Search Settings</translation>
    </message>
    <message>
        <source>Effacer la recherche</source>
        <translation>Clear Search</translation>
    </message>
    <message>
        <source>Rétablir les modifications</source>
        <translation>Revert Changes</translation>
    </message>
    <message>
        <source>Appliquer</source>
        <translation>Apply</translation>
    </message>
    <message>
        <source>Modifications non enregistrées</source>
        <translation>Unsaved Changes</translation>
    </message>
    <message>
        <source>Modifications enregistrées</source>
        <translation>Changes Saved</translation>
    </message>
    <message>
        <source>Enregistrer les modifications des réglages ?</source>
        <translation>Save the changes to the settings?</translation>
    </message>
    <message>
        <source>Les modifications non enregistrées seront perdues. Le démarrage à la connexion reste inchangé.</source>
        <translation>Unsaved changes will be lost. Open at login stays as it is.</translation>
    </message>
    <message>
        <source>Ignorer les modifications</source>
        <translation>Discard Changes</translation>
    </message>
    <message>
        <source>Mode modifié : vérifie et confirme le nouveau chemin.</source>
        <translation>Mode changed: check and confirm the new path.</translation>
    </message>
    <message>
        <source>Chaque capture créera une nouvelle note dans ce dossier :</source>
        <translation>Each capture will create a new note in this folder:</translation>
    </message>
    <message>
        <source>date-identifiant.md</source>
        <translation>date-id.md</translation>
    </message>
    <message>
        <source>Chaque capture sera ajoutée à la fin de cette note :</source>
        <translation>Each capture will be added at the end of this note:</translation>
    </message>
    <message>
        <source>Chaque capture sera ajoutée à la note de sa date de capture :</source>
        <translation>Each capture will be added to the note of its capture date:</translation>
    </message>
    <message>
        <source>Par défaut</source>
        <translation>Default</translation>
    </message>
    <message>
        <source>À vérifier</source>
        <translation>Needs Checking</translation>
    </message>
    <message>
        <source>Dossier de destination</source>
        <translation>Destination Folder</translation>
    </message>
    <message>
        <source>Alias (facultatif)</source>
        <translation>Alias (optional)</translation>
    </message>
    <message>
        <source>Enregistrement</source>
        <translation>Saving</translation>
    </message>
    <message>
        <source>Nom de la note</source>
        <translation>Note Name</translation>
    </message>
    <message>
        <source>Confirmer ce chemin</source>
        <translation>Confirm This Path</translation>
    </message>
    <message>
        <source>Utiliser par défaut</source>
        <translation>Use as Default</translation>
    </message>
    <message>
        <source>Supprimer la destination</source>
        <translation>Remove Destination</translation>
    </message>
    <message>
        <source>Retire uniquement la configuration ; les notes sont conservées.</source>
        <translation>Removes only the configuration; the notes are kept.</translation>
    </message>
    <message>
        <source>Déplié</source>
        <translation>Expanded</translation>
    </message>
    <message>
        <source>Replié</source>
        <translation>Collapsed</translation>
    </message>
    <message>
        <source>Aucun dossier choisi</source>
        <translation>No Folder Chosen</translation>
    </message>
    <message>
        <source>Nom de commande : %@. L’alias offre une autre manière de choisir ce dossier.</source>
        <translation>Command name: %@. The alias offers another way to choose this folder.</translation>
    </message>
    <message>
        <source>Édition</source>
        <translation>Edit</translation>
    </message>
    <message>
        <source>action.undo</source>
        <translation>Undo</translation>
    </message>
    <message>
        <source>action.redo</source>
        <translation>Redo</translation>
    </message>
    <message>
        <source>Couper</source>
        <translation>Cut</translation>
    </message>
    <message>
        <source>Copier</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Coller</source>
        <translation>Paste</translation>
    </message>
    <message>
        <source>Tout sélectionner</source>
        <translation>Select All</translation>
    </message>
    <message>
        <source>Lien vers une note…</source>
        <translation>Link to a Note…</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est illisible : son contenu n’est pas un enregistrement valide.</source>
        <translation>The inbox file “%@” cannot be read: its content is not a valid record.</translation>
    </message>
    <message>
        <source>Les images de cette modification du brouillon ne correspondent pas à celles de son dernier enregistrement : elle ne peut pas lui être appliquée.</source>
        <translation>The images of this change to the draft do not match those of its last save: the change cannot be applied to it.</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est illisible : il est bien plus volumineux qu’un enregistrement.</source>
        <translation>The inbox file “%@” cannot be read: it is far larger than a record.</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est endommagé : son nom ne correspond pas à la capture qu’il contient.</source>
        <translation>The inbox file “%@” is damaged: its name does not match the capture it holds.</translation>
    </message>
    <message>
        <source>Choisir une destination</source>
        <translation>Choose a Destination</translation>
    </message>
    <message>
        <source>Dossier de notes (vault)</source>
        <translation>Notes folder (vault)</translation>
    </message>
    <message>
        <source>Restaurer comme nouveau brouillon</source>
        <translation>Restore as New Draft</translation>
    </message>
    <message>
        <source>Brouillon</source>
        <translation>Draft</translation>
    </message>
    <message>
        <source>Archiver puis effacer</source>
        <translation>Archive and Clear</translation>
    </message>
    <message>
        <source>Ouvrir la note</source>
        <translation>Open Note</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Version</translation>
    </message>
    <message>
        <source>Mises à jour</source>
        <translation>Updates</translation>
    </message>
    <message>
        <source>Rechercher les mises à jour</source>
        <translation>Check for Updates</translation>
    </message>
    <message>
        <source>Tes notes restent à toi</source>
        <translation>Your notes stay yours</translation>
    </message>
    <message>
        <source>Tes captures sont enregistrées sur ton Mac et dans les dossiers que tu choisis. Sans compte, sans publicité, sans suivi.</source>
        <translation>Your captures are saved on your computer and in the folders you choose. No account, no ads, no tracking.</translation>
    </message>
    <message>
        <source>Raccourci global configurable dans Général.</source>
        <translation>Global shortcut, set in General.</translation>
    </message>
    <message>
        <source>Enregistrer dans la destination choisie.</source>
        <translation>Save to the chosen destination.</translation>
    </message>
    <message>
        <source>Masquer et conserver le brouillon</source>
        <translation>Hide and Keep the Draft</translation>
    </message>
    <message>
        <source>Ferme d’abord les suggestions.</source>
        <translation>Closes the suggestions first.</translation>
    </message>
    <message>
        <source>Échap</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Édition du texte</source>
        <translation>Text Editing</translation>
    </message>
    <message>
        <source>Annuler, couper, copier, coller et tout sélectionner.</source>
        <translation>Undo, cut, copy, paste and select all.</translation>
    </message>
    <message>
        <source>Indenter / désindenter</source>
        <translation>Indent / Outdent</translation>
    </message>
    <message>
        <source>Ajoute ou retire quatre espaces au début des lignes sélectionnées, même avec le curseur au milieu.</source>
        <translation>Adds or removes four spaces at the start of the selected lines, even with the cursor in the middle.</translation>
    </message>
    <message>
        <source>Sur une ligne contenant seulement - , un espace supplémentaire crée - [ ] . Cliquer sur la case coche ou décoche la tâche.</source>
        <translation>On a line holding only - , one more space makes - [ ] . Clicking the box checks or unchecks the task.</translation>
    </message>
    <message>
        <source>Retirer la case à cocher</source>
        <translation>Remove the Checkbox</translation>
    </message>
    <message>
        <source>Au début du texte d’une tâche, Retour arrière retire sa case et conserve la puce.</source>
        <translation>At the start of a task’s text, Backspace removes its box and keeps the bullet.</translation>
    </message>
    <message>
        <source>Listes et tâches</source>
        <translation>Lists and Tasks</translation>
    </message>
    <message>
        <source>Entrée continue la liste ; sur une puce vide, Entrée termine la liste. Les tâches continuent avec une case vide.</source>
        <translation>Return continues the list; on an empty bullet, Return ends the list. Tasks continue with an empty box.</translation>
    </message>
    <message>
        <source>Déplace la ligne vers le haut ou le bas. Les lignes de liste peuvent aussi être déplacées avec leur poignée.</source>
        <translation>Moves the line up or down. List lines can also be moved by their handle.</translation>
    </message>
    <message>
        <source>Le préfixe propose des destinations dans le texte. Entrée, Tab ou un clic change le sélecteur et retire le raccourci. Maj+Entrée insère une nouvelle ligne ; Échap ferme les suggestions.</source>
        <translation>The prefix suggests destinations in the text. Return, Tab or a click changes the picker and removes the shortcut. Shift+Return inserts a new line; Esc closes the suggestions.</translation>
    </message>
    <message>
        <source>Parcourir les suggestions</source>
        <translation>Browse Suggestions</translation>
    </message>
    <message>
        <source>Flèches pour choisir, Entrée, Tab ou un clic pour valider, Échap pour fermer. Maj+Entrée insère une nouvelle ligne.</source>
        <translation>Arrows to choose, Return, Tab or a click to accept, Esc to close. Shift+Return inserts a new line.</translation>
    </message>
    <message>
        <source>Lien vers une note</source>
        <translation>Link to a Note</translation>
    </message>
    <message>
        <source>Rechercher une note ou écrire un wiki lien avec un libellé facultatif.</source>
        <translation>Search for a note or write a wiki link with an optional label.</translation>
    </message>
    <message>
        <source>[[note]] · [[note|libellé]]</source>
        <translation>[[note]] · [[note|label]]</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Le caractère # propose les tags du dossier de notes.</source>
        <translation>The # character suggests the tags of the notes folder.</translation>
    </message>
    <message>
        <source>#tag · #tag/enfant</source>
        <translation>#tag · #tag/child</translation>
    </message>
    <message>
        <source>Mise en forme Markdown</source>
        <translation>Markdown Formatting</translation>
    </message>
    <message>
        <source>Titres de # à ######, gras, italique et code. La syntaxe reste visible et est conservée à l’enregistrement.</source>
        <translation>Headings from # to ######, bold, italic and code. The syntax stays visible and is kept when saving.</translation>
    </message>
    <message>
        <source># titre · **gras** · *italique* · `code` · ```</source>
        <translation># heading · **bold** · *italic* · `code` · ```</translation>
    </message>
    <message>
        <source>Liens et URLs</source>
        <translation>Links and URLs</translation>
    </message>
    <message>
        <source>Ouvrir les liens</source>
        <translation>Opening links</translation>
    </message>
    <message>
        <source>Commande-clic ouvre un lien. Les liens Markdown et les URLs restent du texte modifiable.</source>
        <translation>Ctrl+click opens a link. Markdown links and URLs stay editable text.</translation>
    </message>
    <message>
        <source>[libellé](https://…) · https://… · ⌘+clic</source>
        <translation>[label](https://…) · https://… · Ctrl+click</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>Images</translation>
    </message>
    <message>
        <source>Coller, glisser une image ou utiliser le trombone. Cliquer sur une vignette ouvre son aperçu ; la croix permet de la supprimer.</source>
        <translation>Paste, drag an image or use the paper clip. Clicking a thumbnail opens its preview; the cross removes it.</translation>
    </message>
    <message>
        <source>Le brouillon est conservé localement.</source>
        <translation>The draft is kept locally.</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Capture</translation>
    </message>
    <message>
        <source>Suggestions et contenu</source>
        <translation>Suggestions and Content</translation>
    </message>
    <message>
        <source>⌘+clic</source>
        <translation>Ctrl+click</translation>
    </message>
    <message>
        <source>Configurer le raccourci…</source>
        <translation>Set Shortcut…</translation>
    </message>
    <message>
        <source>Capture locale · destination historique inconnue</source>
        <translation>Local capture · unknown original destination</translation>
    </message>
    <message>
        <source>Captures locales</source>
        <translation>Local Captures</translation>
    </message>
    <message>
        <source>Actualiser</source>
        <translation>Refresh</translation>
    </message>
    <message>
        <source>Lecture de l’historique…</source>
        <translation>Reading the history…</translation>
    </message>
    <message>
        <source>Cette capture n’a pas pu être lue en entier : elle ne peut pas être restaurée.</source>
        <translation>This capture could not be read in full: it cannot be restored.</translation>
    </message>
    <message>
        <source>Texte trop long pour être affiché ici : restaure la capture pour le retrouver.</source>
        <translation>Text too long to be shown here: restore the capture to get it back.</translation>
    </message>
    <message>
        <source>Rien n’a pu ouvrir « %@ » : aucune application du bureau ne s’en charge.</source>
        <translation>Nothing could open “%@”: no application on the desktop handles it.</translation>
    </message>
    <message>
        <source>Rien n’a pu afficher « %@ » : aucun gestionnaire de fichiers ne répond.</source>
        <translation>Nothing could show “%@”: no file manager answers.</translation>
    </message>
    <message>
        <source>Afficher dans le Finder</source>
        <translation>Show in File Manager</translation>
    </message>
    <message>
        <source>Exporter la note…</source>
        <translation>Export Note…</translation>
    </message>
    <message>
        <source>Sauvegarde de la note avant ajout</source>
        <translation>Note Backup Before Append</translation>
    </message>
    <message>
        <source>Consulter la sauvegarde</source>
        <translation>View Backup</translation>
    </message>
    <message>
        <source>Exporter la sauvegarde…</source>
        <translation>Export Backup…</translation>
    </message>
    <message>
        <source>Aucune capture dans l’historique</source>
        <translation>No Captures in the History</translation>
    </message>
    <message>
        <source>Tes captures enregistrées et tes brouillons archivés apparaîtront ici.</source>
        <translation>Your saved captures and archived drafts will appear here.</translation>
    </message>
    <message>
        <source>Sélectionne une capture pour consulter ou récupérer son contenu.</source>
        <translation>Select a capture to view or recover its content.</translation>
    </message>
    <message>
        <source>Conserver le brouillon actuel avant de restaurer ?</source>
        <translation>Keep the current draft before restoring?</translation>
    </message>
    <message>
        <source>Le brouillon actuel restera récupérable dans cet historique. Aucun fichier de notes ne sera remplacé.</source>
        <translation>The current draft will stay recoverable in this history. No notes file will be replaced.</translation>
    </message>
    <message>
        <source>Archiver puis remplacer</source>
        <translation>Archive and Replace</translation>
    </message>
    <message>
        <source>Échap masque la capture et conserve la saisie. Le brouillon est sauvegardé localement.</source>
        <translation>Esc hides the capture and keeps what you typed. The draft is saved locally.</translation>
    </message>
    <message>
        <source>Effacer le brouillon…</source>
        <translation>Clear Draft…</translation>
    </message>
    <message>
        <source>Effacer ce brouillon ?</source>
        <translation>Clear this draft?</translation>
    </message>
    <message>
        <source>Son contenu restera récupérable dans l’historique local.</source>
        <translation>Its content will stay recoverable in the local history.</translation>
    </message>
    <message>
        <source>Diagnostic</source>
        <translation>Diagnostics</translation>
    </message>
    <message>
        <source>Confidentialité et mentions légales</source>
        <translation>Privacy and Legal Notices</translation>
    </message>
    <message>
        <source>Rechercher automatiquement les mises à jour</source>
        <translation>Automatically Check for Updates</translation>
    </message>
    <message>
        <source>Une vérification par jour lorsque Quillor est ouvert.</source>
        <translation>One check a day while Quillor is open.</translation>
    </message>
    <message>
        <source>Afficher les changelogs</source>
        <translation>Show Changelogs</translation>
    </message>
    <message>
        <source>Dernière vérification</source>
        <translation>Last Check</translation>
    </message>
    <message>
        <source>Choisis un dossier de pièces jointes dans le dossier de notes.</source>
        <translation>Choose an attachments folder in the notes folder.</translation>
    </message>
    <message>
        <source>Pièces jointes</source>
        <translation>Attachments</translation>
    </message>
    <message>
        <source>Utiliser les réglages Obsidian</source>
        <translation>Use Obsidian Settings</translation>
    </message>
    <message>
        <source>Emplacement</source>
        <translation>Location</translation>
    </message>
    <message>
        <source>Nom du sous-dossier</source>
        <translation>Subfolder name</translation>
    </message>
    <message>
        <source>Les pièces jointes existantes ne sont pas déplacées.</source>
        <translation>Existing attachments are not moved.</translation>
    </message>
    <message>
        <source>Coffre Obsidian détecté : %@</source>
        <translation>Obsidian vault detected: %@</translation>
    </message>
    <message>
        <source>Cette option est disponible uniquement si la destination est contenue dans un coffre Obsidian avec un dossier .obsidian.</source>
        <translation>This option is available only when the destination is inside an Obsidian vault with a .obsidian folder.</translation>
    </message>
    <message>
        <source>Ctrl+↵</source>
        <translation>Ctrl+↵</translation>
    </message>
    <message>
        <source>Ajouter des images</source>
        <translation>Add images</translation>
    </message>
    <message>
        <source>Coller la capture</source>
        <translation>Paste capture</translation>
    </message>
    <message>
        <source>Une pièce jointe du presse-papiers est illisible ou dépasse 50 Mo. Le brouillon est conservé.</source>
        <translation>An attachment on the clipboard is unreadable or larger than 50 MB. The draft is kept.</translation>
    </message>
    <message>
        <source>Ajouter des images à cette capture.</source>
        <translation>Add images to this capture.</translation>
    </message>
    <message>
        <source>Aperçu de l’image</source>
        <translation>Image preview</translation>
    </message>
    <message>
        <source>Image en grand</source>
        <translation>Enlarged image</translation>
    </message>
    <message>
        <source>Aucune note correspondante. Actualise les suggestions ou vérifie le lien.</source>
        <translation>No matching note. Refresh the suggestions or check the link.</translation>
    </message>
    <message>
        <source>Cocher la tâche</source>
        <translation>Toggle Task</translation>
    </message>
    <message>
        <source>Sélectionné, %1$@ sur %2$@</source>
        <translation>Selected, %1$@ of %2$@</translation>
    </message>
    <message>
        <source>%1$@ sur %2$@</source>
        <translation>%1$@ of %2$@</translation>
    </message>
    <message>
        <source>, %1$@ sur %2$@</source>
        <translation>, %1$@ of %2$@</translation>
    </message>
    <message>
        <source>suggestions.count</source>
        <translation>Suggestions: %@</translation>
    </message>
    <message>
        <source>Le module réseau de Quillor est introuvable : réinstalle Quillor.</source>
        <translation>Quillor’s network module is missing: reinstall Quillor.</translation>
    </message>
</context>
</TS>
