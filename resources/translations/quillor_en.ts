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
        <translation>In the history, view or export the available note and its append backup. Recovery keeps the current draft and creates a new one. On iPhone, it reads the note and the accessible images again, without inventing missing content; explicitly allow the original folder if access to it is missing. On Mac, it restores the archived capture and its originals.</translation>
    </message>
    <message>
        <source>Choisis la langue dans Général, puis Appliquer ; Annuler conserve le choix précédent et le brouillon. Sur Mac, utilise le redémarrage proposé pour actualiser l’interface. L’extension iPhone reprend la préférence enregistrée à sa prochaine ouverture ; le widget suit la langue du système.</source>
        <translation>Choose the language in General, then Apply; Cancel keeps the previous choice and the draft. On Mac, use the offered restart to refresh the interface. The iPhone extension picks up the saved preference the next time it opens; the widget follows the system language.</translation>
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
        <translation>The Mac version from the website may check the public update catalog. No capture content is sent; the host receives the usual connection information. App Store versions are updated by Apple.</translation>
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
        <source>Opération impossible sur « %@ » (%@).</source>
        <translation>The operation failed on “%@” (%@).</translation>
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
        <source>Glisser pour déplacer · ⌥↑ / ⌥↓</source>
        <translation>Drag to move · Alt+↑ / Alt+↓</translation>
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
        <source>⌘↵</source>
        <translation>Ctrl+↵</translation>
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
        <source>Une idée, un lien, une image…</source>
        <translation>An idea, a link, an image…</translation>
    </message>
    <message>
        <source>Déplacer la capture</source>
        <translation>Move the capture</translation>
    </message>
    <message>
        <source>Ctrl+↵</source>
        <translation>Ctrl+↵</translation>
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
        <source>Les réglages ne peuvent pas être enregistrés : « %@ » n’a pas pu être lu ni mis de côté au lancement. Déplace ou corrige ce fichier, puis relance Quillor.</source>
        <translation>The settings cannot be saved: “%@” could not be read or set aside at launch. Move or fix this file, then relaunch Quillor.</translation>
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
</context>
</TS>
