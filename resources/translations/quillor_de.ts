<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de" sourcelanguage="fr">
<context>
    <name>Quillor</name>
    <message>
        <source>Destination inconnue : %@. Choisis une destination ou retire le préfixe.</source>
        <translation>Unbekanntes Ziel: %@. Wähle ein Ziel oder entferne das Präfix.</translation>
    </message>
    <message>
        <source>Le chemin doit rester à l’intérieur du vault.</source>
        <translation>Der Pfad muss innerhalb des Tresors bleiben.</translation>
    </message>
    <message>
        <source>Choisis un dossier de vault existant dans les réglages.</source>
        <translation>Wähle in den Einstellungen einen vorhandenen Tresorordner.</translation>
    </message>
    <message>
        <source>Ajoute du texte ou une image avant d’enregistrer.</source>
        <translation>Füge Text oder ein Bild hinzu, bevor du speicherst.</translation>
    </message>
    <message>
        <source>Une image est introuvable. Le brouillon est conservé.</source>
        <translation>Ein Bild wurde nicht gefunden. Der Entwurf bleibt erhalten.</translation>
    </message>
    <message>
        <source>La note a été modifiée pendant l’enregistrement. Réessaie ; le brouillon est conservé.</source>
        <translation>Die Notiz wurde während des Speicherns geändert. Versuche es erneut; der Entwurf bleibt erhalten.</translation>
    </message>
    <message>
        <source>La note existante n’est pas encodée en UTF-8. Elle n’a pas été modifiée.</source>
        <translation>Die vorhandene Notiz ist nicht in UTF-8 codiert. Sie wurde nicht geändert.</translation>
    </message>
    <message>
        <source>La note contient déjà une version antérieure de cette capture. Elle n’a pas été modifiée ; le brouillon est conservé.</source>
        <translation>Die Notiz enthält bereits eine frühere Fassung dieser Erfassung. Sie wurde nicht geändert; der Entwurf bleibt erhalten.</translation>
    </message>
    <message>
        <source>Nouvelle note</source>
        <translation>Neue Notiz</translation>
    </message>
    <message>
        <source>Ajouter à une note</source>
        <translation>An eine Notiz anhängen</translation>
    </message>
    <message>
        <source>Note du jour</source>
        <translation>Tagesnotiz</translation>
    </message>
    <message>
        <source>Suivre les réglages d’Obsidian</source>
        <translation>Obsidian-Einstellungen folgen</translation>
    </message>
    <message>
        <source>Racine du dossier de notes</source>
        <translation>Stamm des Notizordners</translation>
    </message>
    <message>
        <source>Même dossier que la note</source>
        <translation>Derselbe Ordner wie die Notiz</translation>
    </message>
    <message>
        <source>Dans un sous-dossier du dossier de la note</source>
        <translation>In einem Unterordner des Notizordners</translation>
    </message>
    <message>
        <source>Dans le dossier spécifié</source>
        <translation>Im angegebenen Ordner</translation>
    </message>
    <message>
        <source>Dossier fixe (chemin absolu)</source>
        <translation>Fester Ordner (absoluter Pfad)</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>Ziel</translation>
    </message>
    <message>
        <source>Choisis un dossier de notes existant.</source>
        <translation>Wähle einen vorhandenen Notizordner.</translation>
    </message>
    <message>
        <source>Le chemin doit rester dans le dossier de notes, sans lien symbolique ni dossier caché.</source>
        <translation>Der Pfad muss innerhalb des Notizordners bleiben, ohne symbolische Links oder versteckte Ordner.</translation>
    </message>
    <message>
        <source>Ce chemin désigne un fichier, pas un dossier.</source>
        <translation>Dieser Pfad verweist auf eine Datei, nicht auf einen Ordner.</translation>
    </message>
    <message>
        <source>Ce chemin désigne un dossier, pas une note.</source>
        <translation>Dieser Pfad verweist auf einen Ordner, nicht auf eine Notiz.</translation>
    </message>
    <message>
        <source>Un dossier parent est en réalité un fichier.</source>
        <translation>Ein übergeordneter Ordner ist in Wirklichkeit eine Datei.</translation>
    </message>
    <message>
        <source>Utilise un alias composé de lettres, chiffres, tirets ou traits de soulignement.</source>
        <translation>Verwende einen Alias aus Buchstaben, Ziffern, Bindestrichen oder Unterstrichen.</translation>
    </message>
    <message>
        <source>Cet alias est déjà utilisé (sans distinction de casse).</source>
        <translation>Dieser Alias wird bereits verwendet (Groß- und Kleinschreibung egal).</translation>
    </message>
    <message>
        <source>Livraison confirmée</source>
        <translation>Zustellung bestätigt</translation>
    </message>
    <message>
        <source>Livraison non confirmée</source>
        <translation>Zustellung nicht bestätigt</translation>
    </message>
    <message>
        <source>Livrée · fichier absent</source>
        <translation>Zugestellt · Datei fehlt</translation>
    </message>
    <message>
        <source>Livrée · accès au fichier indisponible</source>
        <translation>Zugestellt · Dateizugriff nicht verfügbar</translation>
    </message>
    <message>
        <source>Général</source>
        <translation>Allgemein</translation>
    </message>
    <message>
        <source>Destinations</source>
        <translation>Ziele</translation>
    </message>
    <message>
        <source>Raccourcis clavier</source>
        <translation>Tastenkürzel</translation>
    </message>
    <message>
        <source>Guide d’utilisation</source>
        <translation>Anleitung</translation>
    </message>
    <message>
        <source>Historique des captures</source>
        <translation>Erfassungsverlauf</translation>
    </message>
    <message>
        <source>À propos</source>
        <translation>Über Quillor</translation>
    </message>
    <message>
        <source>Les liens externes s’ouvrent via le système. Un wiki lien ouvre un aperçu natif avec ouverture et export ; choisis la note si plusieurs correspondent. Une cible absente ne crée aucun fichier. Le texte et la sélection restent conservés.</source>
        <translation>Externe Links öffnen sich über das System. Ein Wiki-Link öffnet eine Vorschau mit Öffnen und Exportieren; wähle die Notiz, wenn mehrere passen. Ein fehlendes Ziel erzeugt keine Datei. Text und Auswahl bleiben erhalten.</translation>
    </message>
    <message>
        <source>Dans l’historique, consulte ou exporte la note disponible et sa sauvegarde d’ajout. La récupération préserve le brouillon courant et en crée un nouveau. Sur iPhone, elle relit la note et les images accessibles, sans inventer le contenu manquant ; autorise explicitement le dossier d’origine si son accès manque. Sur Mac, elle reprend la capture archivée et ses originaux.</source>
        <translation>Im Verlauf kannst du die verfügbare Notiz und ihre Sicherung vor dem Anhängen ansehen oder exportieren. Die Wiederherstellung bewahrt den aktuellen Entwurf und legt einen neuen an: Sie holt die archivierte Erfassung und ihre Originale zurück.</translation>
    </message>
    <message>
        <source>Choisis la langue dans Général, puis Appliquer ; Annuler conserve le choix précédent et le brouillon. Sur Mac, utilise le redémarrage proposé pour actualiser l’interface. L’extension iPhone reprend la préférence enregistrée à sa prochaine ouverture ; le widget suit la langue du système.</source>
        <translation>Wähle die Sprache unter Allgemein und klicke dann auf Anwenden; Abbrechen behält die vorherige Wahl und den Entwurf. Nutze den angebotenen Neustart, um die Oberfläche zu aktualisieren.</translation>
    </message>
    <message>
        <source>Quillor est édité par l’équipe Quillor. Contact : bonjour@quillor.app</source>
        <translation>Quillor wird vom Quillor-Team herausgegeben. Kontakt: bonjour@quillor.app</translation>
    </message>
    <message>
        <source>Quillor ne collecte ni ne transmet à son éditeur vos notes, images, liens, identifiants ou données d’utilisation. Sans compte, publicité, analyse ni suivi.</source>
        <translation>Quillor sammelt weder deine Notizen, Bilder, Links, Zugangsdaten noch Nutzungsdaten und übermittelt sie nicht an den Herausgeber. Kein Konto, keine Werbung, keine Analyse, kein Tracking.</translation>
    </message>
    <message>
        <source>Captures, brouillons, réglages, historique et sauvegardes restent sur votre appareil et dans les dossiers que vous autorisez. Les notes Markdown et les images restent lisibles indépendamment de Quillor.</source>
        <translation>Erfassungen, Entwürfe, Einstellungen, Verlauf und Sicherungen bleiben auf deinem Gerät und in den Ordnern, die du freigibst. Markdown-Notizen und Bilder bleiben auch ohne Quillor lesbar.</translation>
    </message>
    <message>
        <source>Photos, caméra, collage et partage sont utilisés uniquement à votre demande. Les originaux importés peuvent rester dans le brouillon pour l’annulation et la récupération.</source>
        <translation>Fotos, Kamera, Einfügen und Teilen werden nur auf deinen Wunsch verwendet. Importierte Originale können für Rückgängig und Wiederherstellung im Entwurf bleiben.</translation>
    </message>
    <message>
        <source>La version Mac du site peut consulter le catalogue public des mises à jour. Aucun contenu de capture n’est envoyé ; l’hébergeur reçoit les informations habituelles de connexion. Les versions App Store sont mises à jour par Apple.</source>
        <translation>Quillor kann den öffentlichen Katalog der Updates abrufen. Es werden keine Inhalte von Erfassungen gesendet; der Server erhält die üblichen Verbindungsinformationen.</translation>
    </message>
    <message>
        <source>Votre fournisseur de stockage ou de sauvegarde peut synchroniser vos fichiers selon ses propres règles. Quillor ne fournit pas de service de synchronisation.</source>
        <translation>Dein Speicher- oder Sicherungsanbieter kann deine Dateien nach seinen eigenen Regeln synchronisieren. Quillor bietet keinen Synchronisierungsdienst.</translation>
    </message>
    <message>
        <source>Vous pouvez retirer les destinations et leurs autorisations. Avant de supprimer les données locales, exportez les brouillons et sauvegardes à conserver. Désinstaller Quillor ne supprime pas les notes déjà enregistrées dans vos dossiers.</source>
        <translation>Du kannst Ziele und ihre Berechtigungen entfernen. Exportiere vor dem Löschen der lokalen Daten die Entwürfe und Sicherungen, die du behalten möchtest. Das Deinstallieren von Quillor löscht keine Notizen, die bereits in deinen Ordnern gespeichert sind.</translation>
    </message>
    <message>
        <source>Le fichier ou le dossier « %@ » est introuvable.</source>
        <translation>Die Datei oder der Ordner „%@“ wurde nicht gefunden.</translation>
    </message>
    <message>
        <source>Permission refusée : impossible d’accéder à « %@ ».</source>
        <translation>Zugriff verweigert: „%@“ ist nicht zugänglich.</translation>
    </message>
    <message>
        <source>Le disque est plein : impossible d’écrire « %@ ».</source>
        <translation>Der Datenträger ist voll: „%@“ kann nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>Le système de fichiers est en lecture seule : impossible de modifier « %@ ».</source>
        <translation>Das Dateisystem ist schreibgeschützt: „%@“ kann nicht geändert werden.</translation>
    </message>
    <message>
        <source>Un fichier ou un dossier existe déjà à l’emplacement « %@ ».</source>
        <translation>Am Ort „%@“ gibt es bereits eine Datei oder einen Ordner.</translation>
    </message>
    <message>
        <source>Un élément du chemin « %@ » n’est pas un dossier.</source>
        <translation>Ein Teil des Pfads „%@“ ist kein Ordner.</translation>
    </message>
    <message>
        <source>« %@ » est un dossier et non un fichier.</source>
        <translation>„%@“ ist ein Ordner, keine Datei.</translation>
    </message>
    <message>
        <source>Le nom ou le chemin « %@ » est trop long.</source>
        <translation>Der Name oder Pfad „%@“ ist zu lang.</translation>
    </message>
    <message>
        <source>Trop de liens symboliques dans le chemin « %@ ».</source>
        <translation>Zu viele symbolische Links im Pfad „%@“.</translation>
    </message>
    <message>
        <source>Erreur de lecture ou d’écriture du disque sur « %@ ».</source>
        <translation>Lese- oder Schreibfehler des Datenträgers bei „%@“.</translation>
    </message>
    <message>
        <source>« %@ » n’est pas un fichier ordinaire.</source>
        <translation>„%@“ ist keine normale Datei.</translation>
    </message>
    <message>
        <source>Opération impossible sur « %@ » (%@).</source>
        <translation>Der Vorgang ist bei „%@“ fehlgeschlagen (%@).</translation>
    </message>
    <message>
        <source>argument non valable</source>
        <translation>ungültiges Argument</translation>
    </message>
    <message>
        <source>ressource occupée</source>
        <translation>Ressource belegt</translation>
    </message>
    <message>
        <source>fichier en cours d’utilisation</source>
        <translation>Datei wird verwendet</translation>
    </message>
    <message>
        <source>trop de fichiers ouverts</source>
        <translation>zu viele offene Dateien</translation>
    </message>
    <message>
        <source>trop de fichiers ouverts dans le système</source>
        <translation>zu viele offene Dateien im System</translation>
    </message>
    <message>
        <source>mémoire insuffisante</source>
        <translation>nicht genügend Arbeitsspeicher</translation>
    </message>
    <message>
        <source>fichier trop volumineux</source>
        <translation>Datei zu groß</translation>
    </message>
    <message>
        <source>déplacement impossible d’un système de fichiers à un autre</source>
        <translation>Verschieben zwischen Dateisystemen nicht möglich</translation>
    </message>
    <message>
        <source>dossier non vide</source>
        <translation>Ordner nicht leer</translation>
    </message>
    <message>
        <source>ressource momentanément indisponible</source>
        <translation>Ressource vorübergehend nicht verfügbar</translation>
    </message>
    <message>
        <source>opération interrompue</source>
        <translation>Vorgang unterbrochen</translation>
    </message>
    <message>
        <source>référence de fichier périmée</source>
        <translation>veralteter Dateiverweis</translation>
    </message>
    <message>
        <source>périphérique ou adresse introuvable</source>
        <translation>Gerät oder Adresse nicht gefunden</translation>
    </message>
    <message>
        <source>périphérique introuvable</source>
        <translation>Gerät nicht gefunden</translation>
    </message>
    <message>
        <source>trop de liens</source>
        <translation>zu viele Links</translation>
    </message>
    <message>
        <source>délai dépassé</source>
        <translation>Zeitüberschreitung</translation>
    </message>
    <message>
        <source>opération non prise en charge</source>
        <translation>Vorgang nicht unterstützt</translation>
    </message>
    <message>
        <source>valeur trop grande</source>
        <translation>Wert zu groß</translation>
    </message>
    <message>
        <source>descripteur de fichier non valable</source>
        <translation>ungültiger Dateideskriptor</translation>
    </message>
    <message>
        <source>positionnement impossible</source>
        <translation>Positionieren nicht möglich</translation>
    </message>
    <message>
        <source>connexion au système de fichiers perdue</source>
        <translation>Verbindung zum Dateisystem verloren</translation>
    </message>
    <message>
        <source>Choisis un dossier existant pour les pièces jointes.</source>
        <translation>Wähle einen vorhandenen Ordner für Anhänge.</translation>
    </message>
    <message>
        <source>Saisis un nom de sous-dossier, sans chemin ni barre oblique.</source>
        <translation>Gib einen Unterordnernamen ein, ohne Pfad und ohne Schrägstrich.</translation>
    </message>
    <message>
        <source>Choisis un chemin relatif valide pour les pièces jointes.</source>
        <translation>Wähle einen gültigen relativen Pfad für Anhänge.</translation>
    </message>
    <message>
        <source>L’indexation du dossier a été annulée.</source>
        <translation>Das Indizieren des Ordners wurde abgebrochen.</translation>
    </message>
    <message>
        <source>⌃Espace</source>
        <translation>⌃Leertaste</translation>
    </message>
    <message>
        <source>L’accès au dossier de notes doit être autorisé à nouveau. Choisis ce dossier dans les réglages. Le brouillon est conservé.</source>
        <translation>Der Zugriff auf den Notizordner muss erneut erlaubt werden. Wähle diesen Ordner in den Einstellungen. Der Entwurf bleibt erhalten.</translation>
    </message>
    <message>
        <source>Brouillon vide</source>
        <translation>Leerer Entwurf</translation>
    </message>
    <message>
        <source>Sauvegarde en cours…</source>
        <translation>Wird gesichert…</translation>
    </message>
    <message>
        <source>Sauvegardé localement</source>
        <translation>Lokal gesichert</translation>
    </message>
    <message>
        <source>Brouillon restauré</source>
        <translation>Entwurf wiederhergestellt</translation>
    </message>
    <message>
        <source>Choisis un dossier de notes</source>
        <translation>Wähle einen Notizordner</translation>
    </message>
    <message>
        <source>Indexation…</source>
        <translation>Wird indiziert…</translation>
    </message>
    <message>
        <source>Dossier sans note Markdown</source>
        <translation>Ordner ohne Markdown-Notizen</translation>
    </message>
    <message>
        <source>Aucun résultat</source>
        <translation>Keine Ergebnisse</translation>
    </message>
    <message>
        <source>Dossier inaccessible : %@</source>
        <translation>Ordner nicht zugänglich: %@</translation>
    </message>
    <message>
        <source>La destination d’origine n’existe plus. Choisis une destination.</source>
        <translation>Das ursprüngliche Ziel gibt es nicht mehr. Wähle ein Ziel.</translation>
    </message>
    <message>
        <source>Destination non résolue</source>
        <translation>Ziel nicht aufgelöst</translation>
    </message>
    <message>
        <source>Le brouillon n’a pas pu être sauvegardé : %@</source>
        <translation>Der Entwurf konnte nicht gesichert werden: %@</translation>
    </message>
    <message>
        <source>Le catalogue des versions publiées est inutilisable.</source>
        <translation>Der Katalog der veröffentlichten Versionen ist unbrauchbar.</translation>
    </message>
    <message>
        <source>Le serveur des mises à jour a renvoyé une réponse invalide.</source>
        <translation>Der Update-Server hat eine ungültige Antwort gesendet.</translation>
    </message>
    <message>
        <source>Recherche des mises à jour…</source>
        <translation>Suche nach Updates…</translation>
    </message>
    <message>
        <source>Quillor %@ est disponible.</source>
        <translation>Quillor %@ ist verfügbar.</translation>
    </message>
    <message>
        <source>Quillor est à jour.</source>
        <translation>Quillor ist auf dem neuesten Stand.</translation>
    </message>
    <message>
        <source>Impossible de rechercher les mises à jour. Vérifie ta connexion et réessaie.</source>
        <translation>Die Suche nach Updates ist fehlgeschlagen. Prüfe deine Verbindung und versuche es erneut.</translation>
    </message>
    <message>
        <source>Nouveautés de Quillor</source>
        <translation>Neu in Quillor</translation>
    </message>
    <message>
        <source>Version installée : %@</source>
        <translation>Installierte Version: %@</translation>
    </message>
    <message>
        <source>Les mises à jour de cette application sont gérées par le Mac App Store.</source>
        <translation>Updates dieser App werden über das Softwarecenter verwaltet.</translation>
    </message>
    <message>
        <source>Télécharge l’installateur, puis quitte Quillor et ouvre le fichier .pkg. Tes réglages et brouillons seront conservés.</source>
        <translation>Lade das Installationsprogramm herunter, beende Quillor und starte die .AppImage-Datei. Deine Einstellungen und Entwürfe bleiben erhalten.</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Ouvrir le Mac App Store</source>
        <translation>Softwarecenter öffnen</translation>
    </message>
    <message>
        <source>Mettre à jour Quillor</source>
        <translation>Quillor aktualisieren</translation>
    </message>
    <message>
        <source>Ajoute une destination.</source>
        <translation>Füge ein Ziel hinzu.</translation>
    </message>
    <message>
        <source>Choisis un seul caractère de ponctuation comme préfixe.</source>
        <translation>Wähle ein einzelnes Satzzeichen als Präfix.</translation>
    </message>
    <message>
        <source>Tag du vault</source>
        <translation>Tag des Tresors</translation>
    </message>
    <message>
        <source>Compléter</source>
        <translation>Vervollständigen</translation>
    </message>
    <message>
        <source>Choisir la destination</source>
        <translation>Ziel wählen</translation>
    </message>
    <message>
        <source>Cette image dépasse 50 Mo.</source>
        <translation>Dieses Bild ist größer als 50 MB.</translation>
    </message>
    <message>
        <source>Cette image rendrait le brouillon trop volumineux pour être rouvert : les images déjà ajoutées, même retirées, y restent jusqu’à l’envoi. Le brouillon est conservé.</source>
        <translation>Dieses Bild würde den Entwurf zu groß machen, um ihn wieder zu öffnen: Bereits hinzugefügte Bilder, auch entfernte, bleiben bis zum Senden darin. Der Entwurf bleibt erhalten.</translation>
    </message>
    <message>
        <source>Cette image est illisible.</source>
        <translation>Dieses Bild ist nicht lesbar.</translation>
    </message>
    <message>
        <source>Enregistré dans %@</source>
        <translation>Gespeichert in %@</translation>
    </message>
    <message>
        <source>Espace</source>
        <translation>Leertaste</translation>
    </message>
    <message>
        <source>Ce raccourci est déjà réservé. Ferme l’application qui l’utilise ou choisis une autre combinaison.</source>
        <translation>Dieses Tastenkürzel ist bereits belegt. Beende die App, die es verwendet, oder wähle eine andere Kombination.</translation>
    </message>
    <message>
        <source>Ce raccourci est indisponible (%@).</source>
        <translation>Dieses Tastenkürzel ist nicht verfügbar (%@).</translation>
    </message>
    <message>
        <source> Le raccourci actif est conservé.</source>
        <translation> Das aktive Tastenkürzel bleibt erhalten.</translation>
    </message>
    <message>
        <source> Ouvre les réglages depuis le menu Quillor.</source>
        <translation> Öffne die Einstellungen über das Quillor-Menü.</translation>
    </message>
    <message>
        <source>Saisir</source>
        <translation>Eingabe</translation>
    </message>
    <message>
        <source>Supprimer</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Glisser pour déplacer · %@ / %@</source>
        <translation>Ziehen zum Verschieben · %@ / %@</translation>
    </message>
    <message>
        <source>Indenter</source>
        <translation>Einrücken</translation>
    </message>
    <message>
        <source>Désindenter</source>
        <translation>Ausrücken</translation>
    </message>
    <message>
        <source>Créer une tâche</source>
        <translation>Aufgabe erstellen</translation>
    </message>
    <message>
        <source>Déplacer la ligne</source>
        <translation>Zeile verschieben</translation>
    </message>
    <message>
        <source>Insérer un lien vers une note</source>
        <translation>Link zu einer Notiz einfügen</translation>
    </message>
    <message>
        <source>Sélectionne du texte sans image pour créer un lien.</source>
        <translation>Wähle Text ohne Bilder aus, um einen Link zu erstellen.</translation>
    </message>
    <message>
        <source>Contenu de la capture</source>
        <translation>Inhalt der Erfassung</translation>
    </message>
    <message>
        <source>Choisir le dossier…</source>
        <translation>Ordner wählen…</translation>
    </message>
    <message>
        <source>Destination : %@</source>
        <translation>Ziel: %@</translation>
    </message>
    <message>
        <source> · par défaut</source>
        <translation> · Standard</translation>
    </message>
    <message>
        <source>Gérer les destinations…</source>
        <translation>Ziele verwalten…</translation>
    </message>
    <message>
        <source>Voir l’image en grand</source>
        <translation>Bild groß anzeigen</translation>
    </message>
    <message>
        <source>Agrandir l’image %@</source>
        <translation>Bild %@ vergrößern</translation>
    </message>
    <message>
        <source>Supprimer l’image</source>
        <translation>Bild entfernen</translation>
    </message>
    <message>
        <source>Supprimer l’image %@</source>
        <translation>Bild %@ entfernen</translation>
    </message>
    <message>
        <source>Enregistrement…</source>
        <translation>Wird gespeichert…</translation>
    </message>
    <message>
        <source>Capturer</source>
        <translation>Erfassen</translation>
    </message>
    <message>
        <source>Réessayer</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Choisir le dossier</source>
        <translation>Ordner wählen</translation>
    </message>
    <message>
        <source>Joindre des images</source>
        <translation>Bilder anhängen</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Fermer et conserver le brouillon</source>
        <translation>Schließen und Entwurf behalten</translation>
    </message>
    <message>
        <source>Indisponible</source>
        <translation>Nicht verfügbar</translation>
    </message>
    <message>
        <source>Raccourci mémorisé : </source>
        <translation>Gespeichertes Tastenkürzel: </translation>
    </message>
    <message>
        <source> Utilise le menu Quillor pour capturer.</source>
        <translation> Nutze das Quillor-Menü zum Erfassen.</translation>
    </message>
    <message>
        <source>Choisis un dossier Obsidian ou Markdown.</source>
        <translation>Wähle einen Obsidian- oder Markdown-Ordner.</translation>
    </message>
    <message>
        <source>Réglages</source>
        <translation>Einstellungen</translation>
    </message>
    <message>
        <source>Aide</source>
        <translation>Hilfe</translation>
    </message>
    <message>
        <source>Quillor n’a pas pu redémarrer (%@).</source>
        <translation>Quillor konnte nicht neu starten (%@).</translation>
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
        <translation>Anwendung</translation>
    </message>
    <message>
        <source>Raccourci indisponible ; tu peux toujours ouvrir la capture depuis ce menu.</source>
        <translation>Tastenkürzel nicht verfügbar; du kannst die Erfassung weiterhin über dieses Menü öffnen.</translation>
    </message>
    <message>
        <source>Aucune capture livrée</source>
        <translation>Keine Erfassung zugestellt</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Notiz</translation>
    </message>
    <message>
        <source>Dernière capture : </source>
        <translation>Letzte Erfassung: </translation>
    </message>
    <message>
        <source>Nouvelle capture</source>
        <translation>Neue Erfassung</translation>
    </message>
    <message>
        <source>Réglages…</source>
        <translation>Einstellungen…</translation>
    </message>
    <message>
        <source>Historique des captures…</source>
        <translation>Erfassungsverlauf…</translation>
    </message>
    <message>
        <source>Dernière capture</source>
        <translation>Letzte Erfassung</translation>
    </message>
    <message>
        <source>Afficher la dernière capture dans le Finder</source>
        <translation>Letzte Erfassung im Dateimanager zeigen</translation>
    </message>
    <message>
        <source>Ouvrir la dernière note</source>
        <translation>Letzte Notiz öffnen</translation>
    </message>
    <message>
        <source>Afficher les données locales</source>
        <translation>Lokale Daten zeigen</translation>
    </message>
    <message>
        <source>Quitter Quillor</source>
        <translation>Quillor beenden</translation>
    </message>
    <message>
        <source>Les réglages n’ont pas pu être lus : Quillor utilise les réglages par défaut. Le fichier illisible est gardé dans « %@ ».</source>
        <translation>Die Einstellungen konnten nicht gelesen werden: Quillor verwendet die Standardeinstellungen. Die unlesbare Datei liegt in „%@“.</translation>
    </message>
    <message>
        <source>Les réglages n’ont pas pu être lus ni mis de côté (%@) : Quillor utilise les réglages par défaut et n’enregistrera aucun réglage avant le prochain lancement.</source>
        <translation>Die Einstellungen konnten weder gelesen noch beiseitegelegt werden (%@): Quillor verwendet die Standardeinstellungen und speichert bis zum nächsten Start keine Einstellungen.</translation>
    </message>
    <message>
        <source>Le brouillon est trop volumineux pour être ouvert : Quillor commence un nouveau brouillon. Le fichier est gardé dans « %@ ».</source>
        <translation>Der Entwurf ist zu groß zum Öffnen: Quillor beginnt einen neuen Entwurf. Die Datei wird in „%@“ aufbewahrt.</translation>
    </message>
    <message>
        <source>Le brouillon est trop volumineux pour être ouvert et n’a pas pu être mis de côté (%@) : Quillor commence un nouveau brouillon.</source>
        <translation>Der Entwurf ist zu groß zum Öffnen und konnte nicht beiseitegelegt werden (%@): Quillor beginnt einen neuen Entwurf.</translation>
    </message>
    <message>
        <source>Le reçu « %@ » est trop volumineux pour être lu : il est ignoré.</source>
        <translation>Der Beleg „%@“ ist zu groß zum Lesen: Er wird übergangen.</translation>
    </message>
    <message>
        <source>Les réglages ne peuvent pas être enregistrés : « %@ » n’a pas pu être lu ni mis de côté au lancement. Déplace ou corrige ce fichier, puis relance Quillor.</source>
        <translation>Die Einstellungen können nicht gespeichert werden: „%@“ konnte beim Start weder gelesen noch beiseitegelegt werden. Verschiebe oder korrigiere diese Datei und starte Quillor dann neu.</translation>
    </message>
    <message>
        <source>⌘↵</source>
        <translation>Strg+↵</translation>
    </message>
    <message>
        <source>Une idée, un lien, une image…</source>
        <translation>Eine Idee, ein Link, ein Bild…</translation>
    </message>
    <message>
        <source>Ouverture du brouillon…</source>
        <translation>Der Entwurf wird geöffnet…</translation>
    </message>
    <message>
        <source>Déplacer la capture</source>
        <translation>Erfassung verschieben</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion n’a pas pu être activée : %@</source>
        <translation>Das Öffnen bei der Anmeldung konnte nicht eingeschaltet werden: %@</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion n’a pas pu être désactivée : %@</source>
        <translation>Das Öffnen bei der Anmeldung konnte nicht ausgeschaltet werden: %@</translation>
    </message>
    <message>
        <source>Tape le raccourci…</source>
        <translation>Drücke das Tastenkürzel…</translation>
    </message>
    <message>
        <source>Langue</source>
        <translation>Sprache</translation>
    </message>
    <message>
        <source>Langue du système</source>
        <translation>Systemsprache</translation>
    </message>
    <message>
        <source>La langue choisie sera utilisée au prochain démarrage de Quillor.</source>
        <translation>Die gewählte Sprache wird beim nächsten Start von Quillor verwendet.</translation>
    </message>
    <message>
        <source>Redémarre Quillor pour appliquer la nouvelle langue.</source>
        <translation>Starte Quillor neu, um die neue Sprache zu verwenden.</translation>
    </message>
    <message>
        <source>Redémarrer Quillor</source>
        <translation>Quillor neu starten</translation>
    </message>
    <message>
        <source>Démarrage</source>
        <translation>Autostart</translation>
    </message>
    <message>
        <source>Ouvrir à la connexion</source>
        <translation>Bei der Anmeldung öffnen</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion est immédiate et n’est pas annulée par Rétablir les modifications.</source>
        <translation>Das Öffnen bei der Anmeldung gilt sofort und wird durch „Änderungen zurücksetzen“ nicht aufgehoben.</translation>
    </message>
    <message>
        <source>Ouvrir la capture</source>
        <translation>Erfassung öffnen</translation>
    </message>
    <message>
        <source>Raccourci souhaité</source>
        <translation>Gewünschtes Tastenkürzel</translation>
    </message>
    <message>
        <source>Déclencheur de destination</source>
        <translation>Auslöser für Ziele</translation>
    </message>
    <message>
        <source>Actif : %@</source>
        <translation>Aktiv: %@</translation>
    </message>
    <message>
        <source>Saisis %@ suivi du nom du dossier ou de son alias pour choisir une destination.</source>
        <translation>Tippe %@ und dann den Namen des Ordners oder seinen Alias, um ein Ziel zu wählen.</translation>
    </message>
    <message>
        <source>Ajouter une destination…</source>
        <translation>Ziel hinzufügen…</translation>
    </message>
    <message>
        <source>Suggestions</source>
        <translation>Vorschläge</translation>
    </message>
    <message>
        <source>Actualiser les notes et tags</source>
        <translation>Notizen und Tags aktualisieren</translation>
    </message>
    <message>
        <source>notes.indexed</source>
        <translation>Indizierte Notizen: %d</translation>
    </message>
    <message>
        <source>Choisis le dossier dans lequel enregistrer tes captures.</source>
        <translation>Wähle den Ordner, in dem deine Erfassungen gespeichert werden.</translation>
    </message>
    <message>
        <source>Rechercher dans les réglages</source>
        <translation>Einstellungen durchsuchen</translation>
    </message>
    <message>
        <source>Effacer la recherche</source>
        <translation>Suche löschen</translation>
    </message>
    <message>
        <source>Rétablir les modifications</source>
        <translation>Änderungen zurücksetzen</translation>
    </message>
    <message>
        <source>Appliquer</source>
        <translation>Anwenden</translation>
    </message>
    <message>
        <source>Modifications non enregistrées</source>
        <translation>Nicht gespeicherte Änderungen</translation>
    </message>
    <message>
        <source>Modifications enregistrées</source>
        <translation>Änderungen gespeichert</translation>
    </message>
    <message>
        <source>Enregistrer les modifications des réglages ?</source>
        <translation>Änderungen an den Einstellungen speichern?</translation>
    </message>
    <message>
        <source>Les modifications non enregistrées seront perdues. Le démarrage à la connexion reste inchangé.</source>
        <translation>Nicht gespeicherte Änderungen gehen verloren. Das Öffnen bei der Anmeldung bleibt unverändert.</translation>
    </message>
    <message>
        <source>Ignorer les modifications</source>
        <translation>Änderungen verwerfen</translation>
    </message>
    <message>
        <source>Mode modifié : vérifie et confirme le nouveau chemin.</source>
        <translation>Modus geändert: Prüfe und bestätige den neuen Pfad.</translation>
    </message>
    <message>
        <source>Chaque capture créera une nouvelle note dans ce dossier :</source>
        <translation>Jede Erfassung legt eine neue Notiz in diesem Ordner an:</translation>
    </message>
    <message>
        <source>date-identifiant.md</source>
        <translation>datum-kennung.md</translation>
    </message>
    <message>
        <source>Chaque capture sera ajoutée à la fin de cette note :</source>
        <translation>Jede Erfassung wird am Ende dieser Notiz angefügt:</translation>
    </message>
    <message>
        <source>Chaque capture sera ajoutée à la note de sa date de capture :</source>
        <translation>Jede Erfassung wird an die Notiz ihres Erfassungsdatums angefügt:</translation>
    </message>
    <message>
        <source>Par défaut</source>
        <translation>Standard</translation>
    </message>
    <message>
        <source>À vérifier</source>
        <translation>Zu prüfen</translation>
    </message>
    <message>
        <source>Dossier de destination</source>
        <translation>Zielordner</translation>
    </message>
    <message>
        <source>Alias (facultatif)</source>
        <translation>Alias (optional)</translation>
    </message>
    <message>
        <source>Enregistrement</source>
        <translation>Speicherart</translation>
    </message>
    <message>
        <source>Nom de la note</source>
        <translation>Name der Notiz</translation>
    </message>
    <message>
        <source>Confirmer ce chemin</source>
        <translation>Diesen Pfad bestätigen</translation>
    </message>
    <message>
        <source>Utiliser par défaut</source>
        <translation>Als Standard verwenden</translation>
    </message>
    <message>
        <source>Supprimer la destination</source>
        <translation>Ziel entfernen</translation>
    </message>
    <message>
        <source>Retire uniquement la configuration ; les notes sont conservées.</source>
        <translation>Entfernt nur die Einstellung; die Notizen bleiben erhalten.</translation>
    </message>
    <message>
        <source>Déplié</source>
        <translation>Ausgeklappt</translation>
    </message>
    <message>
        <source>Replié</source>
        <translation>Eingeklappt</translation>
    </message>
    <message>
        <source>Aucun dossier choisi</source>
        <translation>Kein Ordner gewählt</translation>
    </message>
    <message>
        <source>Nom de commande : %@. L’alias offre une autre manière de choisir ce dossier.</source>
        <translation>Befehlsname: %@. Der Alias ist eine weitere Möglichkeit, diesen Ordner zu wählen.</translation>
    </message>
    <message>
        <source>Édition</source>
        <translation>Bearbeiten</translation>
    </message>
    <message>
        <source>action.undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>action.redo</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Couper</source>
        <translation>Ausschneiden</translation>
    </message>
    <message>
        <source>Copier</source>
        <translation>Kopieren</translation>
    </message>
    <message>
        <source>Coller</source>
        <translation>Einfügen</translation>
    </message>
    <message>
        <source>Tout sélectionner</source>
        <translation>Alles auswählen</translation>
    </message>
    <message>
        <source>Lien vers une note…</source>
        <translation>Link zu einer Notiz…</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est illisible : son contenu n’est pas un enregistrement valide.</source>
        <translation>Die Datei „%@“ im Eingang ist unlesbar: Ihr Inhalt ist kein gültiger Eintrag.</translation>
    </message>
    <message>
        <source>Les images de cette modification du brouillon ne correspondent pas à celles de son dernier enregistrement : elle ne peut pas lui être appliquée.</source>
        <translation>Die Bilder dieser Änderung des Entwurfs stimmen nicht mit denen seiner zuletzt gespeicherten Fassung überein: Die Änderung kann nicht übernommen werden.</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est endommagé : son nom ne correspond pas à la capture qu’il contient.</source>
        <translation>Die Datei „%@“ im Eingang ist beschädigt: Ihr Name passt nicht zu der Erfassung, die sie enthält.</translation>
    </message>
    <message>
        <source>Choisir une destination</source>
        <translation>Ziel wählen</translation>
    </message>
    <message>
        <source>Dossier de notes (vault)</source>
        <translation>Notizordner (Tresor)</translation>
    </message>
    <message>
        <source>Restaurer comme nouveau brouillon</source>
        <translation>Als neuen Entwurf wiederherstellen</translation>
    </message>
    <message>
        <source>Brouillon</source>
        <translation>Entwurf</translation>
    </message>
    <message>
        <source>Archiver puis effacer</source>
        <translation>Archivieren und leeren</translation>
    </message>
    <message>
        <source>Ouvrir la note</source>
        <translation>Notiz öffnen</translation>
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
        <translation>Nach Updates suchen</translation>
    </message>
    <message>
        <source>Tes notes restent à toi</source>
        <translation>Deine Notizen gehören dir</translation>
    </message>
    <message>
        <source>Tes captures sont enregistrées sur ton Mac et dans les dossiers que tu choisis. Sans compte, sans publicité, sans suivi.</source>
        <translation>Deine Erfassungen werden auf deinem Computer und in den Ordnern gespeichert, die du wählst. Kein Konto, keine Werbung, kein Tracking.</translation>
    </message>
    <message>
        <source>Raccourci global configurable dans Général.</source>
        <translation>Globales Tastenkürzel, einstellbar unter Allgemein.</translation>
    </message>
    <message>
        <source>Enregistrer dans la destination choisie.</source>
        <translation>Im gewählten Ziel speichern.</translation>
    </message>
    <message>
        <source>Masquer et conserver le brouillon</source>
        <translation>Ausblenden und Entwurf behalten</translation>
    </message>
    <message>
        <source>Ferme d’abord les suggestions.</source>
        <translation>Schließt zuerst die Vorschläge.</translation>
    </message>
    <message>
        <source>Échap</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Édition du texte</source>
        <translation>Textbearbeitung</translation>
    </message>
    <message>
        <source>Annuler, couper, copier, coller et tout sélectionner.</source>
        <translation>Rückgängig, Ausschneiden, Kopieren, Einfügen und Alles auswählen.</translation>
    </message>
    <message>
        <source>Indenter / désindenter</source>
        <translation>Einrücken / Ausrücken</translation>
    </message>
    <message>
        <source>Ajoute ou retire quatre espaces au début des lignes sélectionnées, même avec le curseur au milieu.</source>
        <translation>Fügt am Anfang der ausgewählten Zeilen vier Leerzeichen hinzu oder entfernt sie, auch wenn der Cursor mitten in der Zeile steht.</translation>
    </message>
    <message>
        <source>Sur une ligne contenant seulement - , un espace supplémentaire crée - [ ] . Cliquer sur la case coche ou décoche la tâche.</source>
        <translation>In einer Zeile, die nur - enthält, erzeugt ein weiteres Leerzeichen - [ ] . Ein Klick auf das Kästchen hakt die Aufgabe ab oder setzt sie zurück.</translation>
    </message>
    <message>
        <source>Retirer la case à cocher</source>
        <translation>Kontrollkästchen entfernen</translation>
    </message>
    <message>
        <source>Au début du texte d’une tâche, Retour arrière retire sa case et conserve la puce.</source>
        <translation>Am Anfang des Texts einer Aufgabe entfernt die Rücktaste ihr Kästchen und behält den Aufzählungspunkt.</translation>
    </message>
    <message>
        <source>Listes et tâches</source>
        <translation>Listen und Aufgaben</translation>
    </message>
    <message>
        <source>Entrée continue la liste ; sur une puce vide, Entrée termine la liste. Les tâches continuent avec une case vide.</source>
        <translation>Die Eingabetaste setzt die Liste fort; bei einem leeren Aufzählungspunkt beendet sie die Liste. Aufgaben werden mit einem leeren Kästchen fortgesetzt.</translation>
    </message>
    <message>
        <source>Déplace la ligne vers le haut ou le bas. Les lignes de liste peuvent aussi être déplacées avec leur poignée.</source>
        <translation>Verschiebt die Zeile nach oben oder unten. Listenzeilen lassen sich auch an ihrem Griff verschieben.</translation>
    </message>
    <message>
        <source>Le préfixe propose des destinations dans le texte. Entrée, Tab ou un clic change le sélecteur et retire le raccourci. Maj+Entrée insère une nouvelle ligne ; Échap ferme les suggestions.</source>
        <translation>Das Präfix schlägt im Text Ziele vor. Eingabetaste, Tab oder ein Klick ändert die Zielauswahl und entfernt das Kürzel. Umschalt+Eingabetaste fügt eine neue Zeile ein; Esc schließt die Vorschläge.</translation>
    </message>
    <message>
        <source>Parcourir les suggestions</source>
        <translation>Vorschläge durchgehen</translation>
    </message>
    <message>
        <source>Flèches pour choisir, Entrée, Tab ou un clic pour valider, Échap pour fermer. Maj+Entrée insère une nouvelle ligne.</source>
        <translation>Pfeiltasten zum Auswählen, Eingabetaste, Tab oder ein Klick zum Übernehmen, Esc zum Schließen. Umschalt+Eingabetaste fügt eine neue Zeile ein.</translation>
    </message>
    <message>
        <source>Lien vers une note</source>
        <translation>Link zu einer Notiz</translation>
    </message>
    <message>
        <source>Rechercher une note ou écrire un wiki lien avec un libellé facultatif.</source>
        <translation>Suche eine Notiz oder schreibe einen Wiki-Link mit optionalem Anzeigetext.</translation>
    </message>
    <message>
        <source>[[note]] · [[note|libellé]]</source>
        <translation>[[Notiz]] · [[Notiz|Text]]</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Tag</translation>
    </message>
    <message>
        <source>Le caractère # propose les tags du dossier de notes.</source>
        <translation>Das Zeichen # schlägt die Tags des Notizordners vor.</translation>
    </message>
    <message>
        <source>#tag · #tag/enfant</source>
        <translation>#thema · #thema/unterthema</translation>
    </message>
    <message>
        <source>Mise en forme Markdown</source>
        <translation>Markdown-Formatierung</translation>
    </message>
    <message>
        <source>Titres de # à ######, gras, italique et code. La syntaxe reste visible et est conservée à l’enregistrement.</source>
        <translation>Überschriften von # bis ######, fett, kursiv und Code. Die Syntax bleibt sichtbar und wird beim Speichern beibehalten.</translation>
    </message>
    <message>
        <source># titre · **gras** · *italique* · `code` · ```</source>
        <translation># Titel · **fett** · *kursiv* · `Code` · ```</translation>
    </message>
    <message>
        <source>Liens et URLs</source>
        <translation>Links und URLs</translation>
    </message>
    <message>
        <source>Ouvrir les liens</source>
        <translation>Links öffnen</translation>
    </message>
    <message>
        <source>Commande-clic ouvre un lien. Les liens Markdown et les URLs restent du texte modifiable.</source>
        <translation>Strg+Klick öffnet einen Link. Markdown-Links und URLs bleiben bearbeitbarer Text.</translation>
    </message>
    <message>
        <source>[libellé](https://…) · https://… · ⌘+clic</source>
        <translation>[Text](https://…) · https://… · Strg+Klick</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>Bilder</translation>
    </message>
    <message>
        <source>Coller, glisser une image ou utiliser le trombone. Cliquer sur une vignette ouvre son aperçu ; la croix permet de la supprimer.</source>
        <translation>Füge ein Bild ein, ziehe es hierher oder nutze die Büroklammer. Ein Klick auf eine Miniatur öffnet ihre Vorschau; das Kreuz entfernt sie.</translation>
    </message>
    <message>
        <source>Le brouillon est conservé localement.</source>
        <translation>Der Entwurf wird lokal aufbewahrt.</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Erfassung</translation>
    </message>
    <message>
        <source>Suggestions et contenu</source>
        <translation>Vorschläge und Inhalt</translation>
    </message>
    <message>
        <source>⌘+clic</source>
        <translation>Strg+Klick</translation>
    </message>
    <message>
        <source>Configurer le raccourci…</source>
        <translation>Tastenkürzel festlegen…</translation>
    </message>
    <message>
        <source>Capture locale · destination historique inconnue</source>
        <translation>Lokale Erfassung · ursprüngliches Ziel unbekannt</translation>
    </message>
    <message>
        <source>Captures locales</source>
        <translation>Lokale Erfassungen</translation>
    </message>
    <message>
        <source>Actualiser</source>
        <translation>Aktualisieren</translation>
    </message>
    <message>
        <source>Lecture de l’historique…</source>
        <translation>Verlauf wird gelesen…</translation>
    </message>
    <message>
        <source>Cette capture n’a pas pu être lue en entier : elle ne peut pas être restaurée.</source>
        <translation>Diese Erfassung konnte nicht vollständig gelesen werden: Sie kann nicht wiederhergestellt werden.</translation>
    </message>
    <message>
        <source>Texte trop long pour être affiché ici : restaure la capture pour le retrouver.</source>
        <translation>Text zu lang, um hier angezeigt zu werden: Stelle die Erfassung wieder her, um ihn zurückzubekommen.</translation>
    </message>
    <message>
        <source>Afficher dans le Finder</source>
        <translation>Im Dateimanager zeigen</translation>
    </message>
    <message>
        <source>Exporter la note…</source>
        <translation>Notiz exportieren…</translation>
    </message>
    <message>
        <source>Sauvegarde de la note avant ajout</source>
        <translation>Sicherung der Notiz vor dem Anhängen</translation>
    </message>
    <message>
        <source>Consulter la sauvegarde</source>
        <translation>Sicherung ansehen</translation>
    </message>
    <message>
        <source>Exporter la sauvegarde…</source>
        <translation>Sicherung exportieren…</translation>
    </message>
    <message>
        <source>Aucune capture dans l’historique</source>
        <translation>Keine Erfassungen im Verlauf</translation>
    </message>
    <message>
        <source>Tes captures enregistrées et tes brouillons archivés apparaîtront ici.</source>
        <translation>Deine gespeicherten Erfassungen und archivierten Entwürfe erscheinen hier.</translation>
    </message>
    <message>
        <source>Sélectionne une capture pour consulter ou récupérer son contenu.</source>
        <translation>Wähle eine Erfassung aus, um ihren Inhalt anzusehen oder wiederherzustellen.</translation>
    </message>
    <message>
        <source>Conserver le brouillon actuel avant de restaurer ?</source>
        <translation>Aktuellen Entwurf vor dem Wiederherstellen behalten?</translation>
    </message>
    <message>
        <source>Le brouillon actuel restera récupérable dans cet historique. Aucun fichier de notes ne sera remplacé.</source>
        <translation>Der aktuelle Entwurf bleibt in diesem Verlauf wiederherstellbar. Keine Notizdatei wird ersetzt.</translation>
    </message>
    <message>
        <source>Archiver puis remplacer</source>
        <translation>Archivieren und ersetzen</translation>
    </message>
    <message>
        <source>Échap masque la capture et conserve la saisie. Le brouillon est sauvegardé localement.</source>
        <translation>Esc blendet die Erfassung aus und behält die Eingabe. Der Entwurf wird lokal gesichert.</translation>
    </message>
    <message>
        <source>Effacer le brouillon…</source>
        <translation>Entwurf leeren…</translation>
    </message>
    <message>
        <source>Effacer ce brouillon ?</source>
        <translation>Diesen Entwurf leeren?</translation>
    </message>
    <message>
        <source>Son contenu restera récupérable dans l’historique local.</source>
        <translation>Sein Inhalt bleibt im lokalen Verlauf wiederherstellbar.</translation>
    </message>
    <message>
        <source>Diagnostic</source>
        <translation>Diagnose</translation>
    </message>
    <message>
        <source>Confidentialité et mentions légales</source>
        <translation>Datenschutz und rechtliche Hinweise</translation>
    </message>
    <message>
        <source>Rechercher automatiquement les mises à jour</source>
        <translation>Automatisch nach Updates suchen</translation>
    </message>
    <message>
        <source>Une vérification par jour lorsque Quillor est ouvert.</source>
        <translation>Eine Prüfung pro Tag, solange Quillor geöffnet ist.</translation>
    </message>
    <message>
        <source>Afficher les changelogs</source>
        <translation>Änderungsprotokolle zeigen</translation>
    </message>
    <message>
        <source>Dernière vérification</source>
        <translation>Letzte Prüfung</translation>
    </message>
    <message>
        <source>Choisis un dossier de pièces jointes dans le dossier de notes.</source>
        <translation>Wähle einen Anhangordner innerhalb des Notizordners.</translation>
    </message>
    <message>
        <source>Pièces jointes</source>
        <translation>Anhänge</translation>
    </message>
    <message>
        <source>Utiliser les réglages Obsidian</source>
        <translation>Obsidian-Einstellungen verwenden</translation>
    </message>
    <message>
        <source>Emplacement</source>
        <translation>Speicherort</translation>
    </message>
    <message>
        <source>Nom du sous-dossier</source>
        <translation>Name des Unterordners</translation>
    </message>
    <message>
        <source>Les pièces jointes existantes ne sont pas déplacées.</source>
        <translation>Vorhandene Anhänge werden nicht verschoben.</translation>
    </message>
    <message>
        <source>Coffre Obsidian détecté : %@</source>
        <translation>Obsidian-Tresor erkannt: %@</translation>
    </message>
    <message>
        <source>Cette option est disponible uniquement si la destination est contenue dans un coffre Obsidian avec un dossier .obsidian.</source>
        <translation>Diese Option gibt es nur, wenn das Ziel in einem Obsidian-Tresor mit einem .obsidian-Ordner liegt.</translation>
    </message>
    <message>
        <source>Ctrl+↵</source>
        <translation>Strg+↵</translation>
    </message>
    <message>
        <source>Ajouter des images</source>
        <translation>Bilder hinzufügen</translation>
    </message>
    <message>
        <source>Coller la capture</source>
        <translation>Erfassung einfügen</translation>
    </message>
    <message>
        <source>Une pièce jointe du presse-papiers est illisible ou dépasse 50 Mo. Le brouillon est conservé.</source>
        <translation>Ein Anhang in der Zwischenablage ist unlesbar oder größer als 50 MB. Der Entwurf bleibt erhalten.</translation>
    </message>
    <message>
        <source>Ajouter des images à cette capture.</source>
        <translation>Bilder zu dieser Erfassung hinzufügen.</translation>
    </message>
    <message>
        <source>Aperçu de l’image</source>
        <translation>Bildvorschau</translation>
    </message>
    <message>
        <source>Image en grand</source>
        <translation>Vergrößertes Bild</translation>
    </message>
    <message>
        <source>Aucune note correspondante. Actualise les suggestions ou vérifie le lien.</source>
        <translation>Keine passende Notiz. Aktualisiere die Vorschläge oder prüfe den Link.</translation>
    </message>
    <message>
        <source>Cocher la tâche</source>
        <translation>Aufgabe abhaken</translation>
    </message>
    <message>
        <source>Sélectionné, %1$@ sur %2$@</source>
        <translation>Ausgewählt, %1$@ von %2$@</translation>
    </message>
    <message>
        <source>%1$@ sur %2$@</source>
        <translation>%1$@ von %2$@</translation>
    </message>
    <message>
        <source>, %1$@ sur %2$@</source>
        <translation>, %1$@ von %2$@</translation>
    </message>
    <message>
        <source>suggestions.count</source>
        <translation>Vorschläge: %@</translation>
    </message>
    <message>
        <source>Le module réseau de Quillor est introuvable : réinstalle Quillor.</source>
        <translation>Das Netzwerkmodul von Quillor fehlt: Installiere Quillor neu.</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est illisible : il est bien plus volumineux qu’un enregistrement.</source>
        <translation>Die Datei „%@“ im Eingang ist nicht lesbar: Sie ist viel größer als ein Eintrag.</translation>
    </message>
    <message>
        <source>Une image n’a pas été ajoutée : le brouillon a été remplacé pendant sa lecture.</source>
        <translation>Ein Bild wurde nicht hinzugefügt: Der Entwurf wurde ersetzt, während es gelesen wurde.</translation>
    </message>
    <message>
        <source>Une image n’a pas été ajoutée : son fichier a été supprimé ou déplacé pendant sa lecture.</source>
        <translation>Ein Bild wurde nicht hinzugefügt: Seine Datei wurde gelöscht oder verschoben, während sie gelesen wurde.</translation>
    </message>
    <message>
        <source>%@ images n’ont pas été ajoutées : leurs fichiers ont été supprimés ou déplacés pendant leur lecture.</source>
        <translation>%@ Bilder wurden nicht hinzugefügt: Ihre Dateien wurden gelöscht oder verschoben, während sie gelesen wurden.</translation>
    </message>
    <message>
        <source>Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : « %@ ».</source>
        <translation>Die Anhang-Einstellung dieses Tresors in .obsidian/app.json kann nicht verwendet werden: „%@“.</translation>
    </message>
    <message>
        <source>Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : le fichier est illisible ou trop volumineux.</source>
        <translation>Die Anhang-Einstellung dieses Tresors in .obsidian/app.json kann nicht verwendet werden: Die Datei ist nicht lesbar oder zu groß.</translation>
    </message>
    <message>
        <source>Rien n’a pu ouvrir « %@ » : aucune application du bureau ne s’en charge.</source>
        <translation>„%@“ konnte nicht geöffnet werden: Keine Anwendung des Desktops ist dafür zuständig.</translation>
    </message>
    <message>
        <source>Rien n’a pu afficher « %@ » : aucun gestionnaire de fichiers ne répond.</source>
        <translation>„%@“ konnte nicht angezeigt werden: Kein Dateimanager antwortet.</translation>
    </message>
</context>
</TS>
