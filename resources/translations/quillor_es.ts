<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es" sourcelanguage="fr">
<context>
    <name>Quillor</name>
    <message>
        <source>Destination inconnue : %@. Choisis une destination ou retire le préfixe.</source>
        <translation>Destino desconocido: %@. Elige un destino o quita el prefijo.</translation>
    </message>
    <message>
        <source>Le chemin doit rester à l’intérieur du vault.</source>
        <translation>La ruta debe quedarse dentro de la bóveda.</translation>
    </message>
    <message>
        <source>Choisis un dossier de vault existant dans les réglages.</source>
        <translation>Elige una carpeta de bóveda existente en los ajustes.</translation>
    </message>
    <message>
        <source>Ajoute du texte ou une image avant d’enregistrer.</source>
        <translation>Añade texto o una imagen antes de guardar.</translation>
    </message>
    <message>
        <source>Une image est introuvable. Le brouillon est conservé.</source>
        <translation>No se encuentra una imagen. Se conserva el borrador.</translation>
    </message>
    <message>
        <source>La note a été modifiée pendant l’enregistrement. Réessaie ; le brouillon est conservé.</source>
        <translation>La nota se modificó mientras se guardaba. Vuelve a intentarlo; se conserva el borrador.</translation>
    </message>
    <message>
        <source>La note existante n’est pas encodée en UTF-8. Elle n’a pas été modifiée.</source>
        <translation>La nota existente no está codificada en UTF-8. No se ha modificado.</translation>
    </message>
    <message>
        <source>La note contient déjà une version antérieure de cette capture. Elle n’a pas été modifiée ; le brouillon est conservé.</source>
        <translation>La nota ya contiene una versión anterior de esta captura. No se ha modificado; el borrador se conserva.</translation>
    </message>
    <message>
        <source>Nouvelle note</source>
        <translation>Nota nueva</translation>
    </message>
    <message>
        <source>Ajouter à une note</source>
        <translation>Añadir a una nota</translation>
    </message>
    <message>
        <source>Note du jour</source>
        <translation>Nota del día</translation>
    </message>
    <message>
        <source>Suivre les réglages d’Obsidian</source>
        <translation>Seguir los ajustes de Obsidian</translation>
    </message>
    <message>
        <source>Racine du dossier de notes</source>
        <translation>Raíz de la carpeta de notas</translation>
    </message>
    <message>
        <source>Même dossier que la note</source>
        <translation>Misma carpeta que la nota</translation>
    </message>
    <message>
        <source>Dans un sous-dossier du dossier de la note</source>
        <translation>En una subcarpeta de la carpeta de la nota</translation>
    </message>
    <message>
        <source>Dans le dossier spécifié</source>
        <translation>En la carpeta indicada</translation>
    </message>
    <message>
        <source>Dossier fixe (chemin absolu)</source>
        <translation>Carpeta fija (ruta absoluta)</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>Destino</translation>
    </message>
    <message>
        <source>Choisis un dossier de notes existant.</source>
        <translation>Elige una carpeta de notas existente.</translation>
    </message>
    <message>
        <source>Le chemin doit rester dans le dossier de notes, sans lien symbolique ni dossier caché.</source>
        <translation>La ruta debe quedarse dentro de la carpeta de notas, sin enlaces simbólicos ni carpetas ocultas.</translation>
    </message>
    <message>
        <source>Ce chemin désigne un fichier, pas un dossier.</source>
        <translation>Esta ruta apunta a un archivo, no a una carpeta.</translation>
    </message>
    <message>
        <source>Ce chemin désigne un dossier, pas une note.</source>
        <translation>Esta ruta apunta a una carpeta, no a una nota.</translation>
    </message>
    <message>
        <source>Un dossier parent est en réalité un fichier.</source>
        <translation>Una carpeta superior es en realidad un archivo.</translation>
    </message>
    <message>
        <source>Utilise un alias composé de lettres, chiffres, tirets ou traits de soulignement.</source>
        <translation>Usa un alias formado por letras, cifras, guiones o guiones bajos.</translation>
    </message>
    <message>
        <source>Cet alias est déjà utilisé (sans distinction de casse).</source>
        <translation>Este alias ya está en uso (sin distinguir mayúsculas y minúsculas).</translation>
    </message>
    <message>
        <source>Livraison confirmée</source>
        <translation>Entrega confirmada</translation>
    </message>
    <message>
        <source>Livraison non confirmée</source>
        <translation>Entrega sin confirmar</translation>
    </message>
    <message>
        <source>Livrée · fichier absent</source>
        <translation>Entregada · archivo ausente</translation>
    </message>
    <message>
        <source>Livrée · accès au fichier indisponible</source>
        <translation>Entregada · acceso al archivo no disponible</translation>
    </message>
    <message>
        <source>Général</source>
        <translation>General</translation>
    </message>
    <message>
        <source>Destinations</source>
        <translation>Destinos</translation>
    </message>
    <message>
        <source>Raccourcis clavier</source>
        <translation>Atajos de teclado</translation>
    </message>
    <message>
        <source>Guide d’utilisation</source>
        <translation>Guía de uso</translation>
    </message>
    <message>
        <source>Historique des captures</source>
        <translation>Historial de capturas</translation>
    </message>
    <message>
        <source>À propos</source>
        <translation>Acerca de</translation>
    </message>
    <message>
        <source>Les liens externes s’ouvrent via le système. Un wiki lien ouvre un aperçu natif avec ouverture et export ; choisis la note si plusieurs correspondent. Une cible absente ne crée aucun fichier. Le texte et la sélection restent conservés.</source>
        <translation>Los enlaces externos se abren con el sistema. Un enlace wiki abre una vista previa con Abrir y Exportar; elige la nota si coinciden varias. Un destino inexistente no crea ningún archivo. El texto y la selección se conservan.</translation>
    </message>
    <message>
        <source>Dans l’historique, consulte ou exporte la note disponible et sa sauvegarde d’ajout. La récupération préserve le brouillon courant et en crée un nouveau. Sur iPhone, elle relit la note et les images accessibles, sans inventer le contenu manquant ; autorise explicitement le dossier d’origine si son accès manque. Sur Mac, elle reprend la capture archivée et ses originaux.</source>
        <translation>En el historial, consulta o exporta la nota disponible y su copia de seguridad de antes de añadir. La recuperación conserva el borrador actual y crea uno nuevo: recupera la captura archivada y sus originales.</translation>
    </message>
    <message>
        <source>Choisis la langue dans Général, puis Appliquer ; Annuler conserve le choix précédent et le brouillon. Sur Mac, utilise le redémarrage proposé pour actualiser l’interface. L’extension iPhone reprend la préférence enregistrée à sa prochaine ouverture ; le widget suit la langue du système.</source>
        <translation>Elige el idioma en General y luego Aplicar; Cancelar conserva la elección anterior y el borrador. Usa el reinicio propuesto para actualizar la interfaz.</translation>
    </message>
    <message>
        <source>Quillor est édité par l’équipe Quillor. Contact : bonjour@quillor.app</source>
        <translation>Quillor lo publica el equipo de Quillor. Contacto: bonjour@quillor.app</translation>
    </message>
    <message>
        <source>Quillor ne collecte ni ne transmet à son éditeur vos notes, images, liens, identifiants ou données d’utilisation. Sans compte, publicité, analyse ni suivi.</source>
        <translation>Quillor no recopila ni envía a su editor tus notas, imágenes, enlaces, credenciales ni datos de uso. Sin cuenta, publicidad, analíticas ni seguimiento.</translation>
    </message>
    <message>
        <source>Captures, brouillons, réglages, historique et sauvegardes restent sur votre appareil et dans les dossiers que vous autorisez. Les notes Markdown et les images restent lisibles indépendamment de Quillor.</source>
        <translation>Las capturas, borradores, ajustes, historial y copias de seguridad se quedan en tu equipo y en las carpetas que autorizas. Las notas Markdown y las imágenes siguen siendo legibles sin Quillor.</translation>
    </message>
    <message>
        <source>Photos, caméra, collage et partage sont utilisés uniquement à votre demande. Les originaux importés peuvent rester dans le brouillon pour l’annulation et la récupération.</source>
        <translation>Las fotos, la cámara, el pegado y el uso compartido solo se usan cuando tú lo pides. Los originales importados pueden quedarse en el borrador para deshacer y recuperar.</translation>
    </message>
    <message>
        <source>La version Mac du site peut consulter le catalogue public des mises à jour. Aucun contenu de capture n’est envoyé ; l’hébergeur reçoit les informations habituelles de connexion. Les versions App Store sont mises à jour par Apple.</source>
        <translation>Quillor puede consultar el catálogo público de actualizaciones. No se envía ningún contenido de las capturas; el servidor recibe la información habitual de conexión.</translation>
    </message>
    <message>
        <source>Votre fournisseur de stockage ou de sauvegarde peut synchroniser vos fichiers selon ses propres règles. Quillor ne fournit pas de service de synchronisation.</source>
        <translation>Tu proveedor de almacenamiento o de copias de seguridad puede sincronizar tus archivos según sus propias reglas. Quillor no ofrece ningún servicio de sincronización.</translation>
    </message>
    <message>
        <source>Vous pouvez retirer les destinations et leurs autorisations. Avant de supprimer les données locales, exportez les brouillons et sauvegardes à conserver. Désinstaller Quillor ne supprime pas les notes déjà enregistrées dans vos dossiers.</source>
        <translation>Puedes quitar los destinos y sus permisos. Antes de borrar los datos locales, exporta los borradores y copias de seguridad que quieras conservar. Desinstalar Quillor no borra las notas ya guardadas en tus carpetas.</translation>
    </message>
    <message>
        <source>Le fichier ou le dossier « %@ » est introuvable.</source>
        <translation>No se encuentra el archivo o la carpeta «%@».</translation>
    </message>
    <message>
        <source>Permission refusée : impossible d’accéder à « %@ ».</source>
        <translation>Permiso denegado: no se puede acceder a «%@».</translation>
    </message>
    <message>
        <source>Le disque est plein : impossible d’écrire « %@ ».</source>
        <translation>El disco está lleno: no se puede escribir «%@».</translation>
    </message>
    <message>
        <source>Le système de fichiers est en lecture seule : impossible de modifier « %@ ».</source>
        <translation>El sistema de archivos es de solo lectura: no se puede modificar «%@».</translation>
    </message>
    <message>
        <source>Un fichier ou un dossier existe déjà à l’emplacement « %@ ».</source>
        <translation>Ya existe un archivo o una carpeta en «%@».</translation>
    </message>
    <message>
        <source>Un élément du chemin « %@ » n’est pas un dossier.</source>
        <translation>Una parte de la ruta «%@» no es una carpeta.</translation>
    </message>
    <message>
        <source>« %@ » est un dossier et non un fichier.</source>
        <translation>«%@» es una carpeta, no un archivo.</translation>
    </message>
    <message>
        <source>Le nom ou le chemin « %@ » est trop long.</source>
        <translation>El nombre o la ruta «%@» es demasiado largo.</translation>
    </message>
    <message>
        <source>Trop de liens symboliques dans le chemin « %@ ».</source>
        <translation>Demasiados enlaces simbólicos en la ruta «%@».</translation>
    </message>
    <message>
        <source>Erreur de lecture ou d’écriture du disque sur « %@ ».</source>
        <translation>Error de lectura o escritura del disco en «%@».</translation>
    </message>
    <message>
        <source>« %@ » n’est pas un fichier ordinaire.</source>
        <translation>«%@» no es un archivo normal.</translation>
    </message>
    <message>
        <source>Opération impossible sur « %@ » (%@).</source>
        <translation>No se pudo realizar la operación en «%@» (%@).</translation>
    </message>
    <message>
        <source>argument non valable</source>
        <translation>argumento no válido</translation>
    </message>
    <message>
        <source>ressource occupée</source>
        <translation>recurso ocupado</translation>
    </message>
    <message>
        <source>fichier en cours d’utilisation</source>
        <translation>archivo en uso</translation>
    </message>
    <message>
        <source>trop de fichiers ouverts</source>
        <translation>demasiados archivos abiertos</translation>
    </message>
    <message>
        <source>trop de fichiers ouverts dans le système</source>
        <translation>demasiados archivos abiertos en el sistema</translation>
    </message>
    <message>
        <source>mémoire insuffisante</source>
        <translation>memoria insuficiente</translation>
    </message>
    <message>
        <source>fichier trop volumineux</source>
        <translation>archivo demasiado grande</translation>
    </message>
    <message>
        <source>déplacement impossible d’un système de fichiers à un autre</source>
        <translation>no se puede mover de un sistema de archivos a otro</translation>
    </message>
    <message>
        <source>dossier non vide</source>
        <translation>carpeta no vacía</translation>
    </message>
    <message>
        <source>ressource momentanément indisponible</source>
        <translation>recurso no disponible por el momento</translation>
    </message>
    <message>
        <source>opération interrompue</source>
        <translation>operación interrumpida</translation>
    </message>
    <message>
        <source>référence de fichier périmée</source>
        <translation>referencia de archivo obsoleta</translation>
    </message>
    <message>
        <source>périphérique ou adresse introuvable</source>
        <translation>no existe el dispositivo o la dirección</translation>
    </message>
    <message>
        <source>périphérique introuvable</source>
        <translation>no existe el dispositivo</translation>
    </message>
    <message>
        <source>trop de liens</source>
        <translation>demasiados enlaces</translation>
    </message>
    <message>
        <source>délai dépassé</source>
        <translation>tiempo de espera agotado</translation>
    </message>
    <message>
        <source>opération non prise en charge</source>
        <translation>operación no admitida</translation>
    </message>
    <message>
        <source>valeur trop grande</source>
        <translation>valor demasiado grande</translation>
    </message>
    <message>
        <source>descripteur de fichier non valable</source>
        <translation>descriptor de archivo no válido</translation>
    </message>
    <message>
        <source>positionnement impossible</source>
        <translation>no se puede posicionar</translation>
    </message>
    <message>
        <source>connexion au système de fichiers perdue</source>
        <translation>se perdió la conexión con el sistema de archivos</translation>
    </message>
    <message>
        <source>Choisis un dossier existant pour les pièces jointes.</source>
        <translation>Elige una carpeta existente para los adjuntos.</translation>
    </message>
    <message>
        <source>Saisis un nom de sous-dossier, sans chemin ni barre oblique.</source>
        <translation>Escribe un nombre de subcarpeta, sin ruta ni barra.</translation>
    </message>
    <message>
        <source>Choisis un chemin relatif valide pour les pièces jointes.</source>
        <translation>Elige una ruta relativa válida para los adjuntos.</translation>
    </message>
    <message>
        <source>L’indexation du dossier a été annulée.</source>
        <translation>Se canceló la indexación de la carpeta.</translation>
    </message>
    <message>
        <source>⌃Espace</source>
        <translation>⌃Espacio</translation>
    </message>
    <message>
        <source>L’accès au dossier de notes doit être autorisé à nouveau. Choisis ce dossier dans les réglages. Le brouillon est conservé.</source>
        <translation>Hay que volver a autorizar el acceso a la carpeta de notas. Elige esta carpeta en los ajustes. Se conserva el borrador.</translation>
    </message>
    <message>
        <source>Brouillon vide</source>
        <translation>Borrador vacío</translation>
    </message>
    <message>
        <source>Sauvegarde en cours…</source>
        <translation>Guardando…</translation>
    </message>
    <message>
        <source>Sauvegardé localement</source>
        <translation>Guardado localmente</translation>
    </message>
    <message>
        <source>Brouillon restauré</source>
        <translation>Borrador restaurado</translation>
    </message>
    <message>
        <source>Choisis un dossier de notes</source>
        <translation>Elige una carpeta de notas</translation>
    </message>
    <message>
        <source>Indexation…</source>
        <translation>Indexando…</translation>
    </message>
    <message>
        <source>Dossier sans note Markdown</source>
        <translation>Carpeta sin notas Markdown</translation>
    </message>
    <message>
        <source>Aucun résultat</source>
        <translation>Sin resultados</translation>
    </message>
    <message>
        <source>Dossier inaccessible : %@</source>
        <translation>Carpeta inaccesible: %@</translation>
    </message>
    <message>
        <source>La destination d’origine n’existe plus. Choisis une destination.</source>
        <translation>El destino original ya no existe. Elige un destino.</translation>
    </message>
    <message>
        <source>Destination non résolue</source>
        <translation>Destino sin resolver</translation>
    </message>
    <message>
        <source>Le brouillon n’a pas pu être sauvegardé : %@</source>
        <translation>No se pudo guardar el borrador: %@</translation>
    </message>
    <message>
        <source>Le catalogue des versions publiées est inutilisable.</source>
        <translation>El catálogo de versiones publicadas no se puede usar.</translation>
    </message>
    <message>
        <source>Le serveur des mises à jour a renvoyé une réponse invalide.</source>
        <translation>El servidor de actualizaciones devolvió una respuesta no válida.</translation>
    </message>
    <message>
        <source>Recherche des mises à jour…</source>
        <translation>Buscando actualizaciones…</translation>
    </message>
    <message>
        <source>Quillor %@ est disponible.</source>
        <translation>Quillor %@ está disponible.</translation>
    </message>
    <message>
        <source>Quillor est à jour.</source>
        <translation>Quillor está actualizado.</translation>
    </message>
    <message>
        <source>Impossible de rechercher les mises à jour. Vérifie ta connexion et réessaie.</source>
        <translation>No se pudieron buscar actualizaciones. Comprueba tu conexión y vuelve a intentarlo.</translation>
    </message>
    <message>
        <source>Nouveautés de Quillor</source>
        <translation>Novedades de Quillor</translation>
    </message>
    <message>
        <source>Version installée : %@</source>
        <translation>Versión instalada: %@</translation>
    </message>
    <message>
        <source>Les mises à jour de cette application sont gérées par le Mac App Store.</source>
        <translation>Las actualizaciones de esta aplicación las gestiona el centro de software.</translation>
    </message>
    <message>
        <source>Télécharge l’installateur, puis quitte Quillor et ouvre le fichier .pkg. Tes réglages et brouillons seront conservés.</source>
        <translation>Descarga el instalador, sal de Quillor y ejecuta el archivo .AppImage. Tus ajustes y borradores se conservarán.</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Ouvrir le Mac App Store</source>
        <translation>Abrir el centro de software</translation>
    </message>
    <message>
        <source>Mettre à jour Quillor</source>
        <translation>Actualizar Quillor</translation>
    </message>
    <message>
        <source>Ajoute une destination.</source>
        <translation>Añade un destino.</translation>
    </message>
    <message>
        <source>Choisis un seul caractère de ponctuation comme préfixe.</source>
        <translation>Elige un único signo de puntuación como prefijo.</translation>
    </message>
    <message>
        <source>Tag du vault</source>
        <translation>Etiqueta de la bóveda</translation>
    </message>
    <message>
        <source>Compléter</source>
        <translation>Completar</translation>
    </message>
    <message>
        <source>Choisir la destination</source>
        <translation>Elegir el destino</translation>
    </message>
    <message>
        <source>Cette image dépasse 50 Mo.</source>
        <translation>Esta imagen supera los 50 MB.</translation>
    </message>
    <message>
        <source>Cette image rendrait le brouillon trop volumineux pour être rouvert : les images déjà ajoutées, même retirées, y restent jusqu’à l’envoi. Le brouillon est conservé.</source>
        <translation>Esta imagen haría el borrador demasiado grande para volver a abrirlo: las imágenes ya añadidas, incluso las quitadas, siguen en él hasta el envío. Se conserva el borrador.</translation>
    </message>
    <message>
        <source>Cette image est illisible.</source>
        <translation>Esta imagen no se puede leer.</translation>
    </message>
    <message>
        <source>Enregistré dans %@</source>
        <translation>Guardado en %@</translation>
    </message>
    <message>
        <source>Espace</source>
        <translation>Espacio</translation>
    </message>
    <message>
        <source>Ce raccourci est déjà réservé. Ferme l’application qui l’utilise ou choisis une autre combinaison.</source>
        <translation>Este atajo ya está reservado. Cierra la aplicación que lo usa o elige otra combinación.</translation>
    </message>
    <message>
        <source>Ce raccourci est indisponible (%@).</source>
        <translation>Este atajo no está disponible (%@).</translation>
    </message>
    <message>
        <source> Le raccourci actif est conservé.</source>
        <translation> Se mantiene el atajo activo.</translation>
    </message>
    <message>
        <source> Ouvre les réglages depuis le menu Quillor.</source>
        <translation> Abre los ajustes desde el menú de Quillor.</translation>
    </message>
    <message>
        <source>Saisir</source>
        <translation>Escritura</translation>
    </message>
    <message>
        <source>Supprimer</source>
        <translation>Eliminar</translation>
    </message>
    <message>
        <source>Glisser pour déplacer · %@ / %@</source>
        <translation>Arrastra para mover · %@ / %@</translation>
    </message>
    <message>
        <source>Indenter</source>
        <translation>Aumentar sangría</translation>
    </message>
    <message>
        <source>Désindenter</source>
        <translation>Reducir sangría</translation>
    </message>
    <message>
        <source>Créer une tâche</source>
        <translation>Crear una tarea</translation>
    </message>
    <message>
        <source>Déplacer la ligne</source>
        <translation>Mover la línea</translation>
    </message>
    <message>
        <source>Insérer un lien vers une note</source>
        <translation>Insertar un enlace a una nota</translation>
    </message>
    <message>
        <source>Sélectionne du texte sans image pour créer un lien.</source>
        <translation>Selecciona texto sin imágenes para crear un enlace.</translation>
    </message>
    <message>
        <source>Contenu de la capture</source>
        <translation>Contenido de la captura</translation>
    </message>
    <message>
        <source>Choisir le dossier…</source>
        <translation>Elegir la carpeta…</translation>
    </message>
    <message>
        <source>Destination : %@</source>
        <translation>Destino: %@</translation>
    </message>
    <message>
        <source> · par défaut</source>
        <translation> · predeterminado</translation>
    </message>
    <message>
        <source>Gérer les destinations…</source>
        <translation>Gestionar los destinos…</translation>
    </message>
    <message>
        <source>Voir l’image en grand</source>
        <translation>Ver la imagen en grande</translation>
    </message>
    <message>
        <source>Agrandir l’image %@</source>
        <translation>Ampliar la imagen %@</translation>
    </message>
    <message>
        <source>Supprimer l’image</source>
        <translation>Quitar la imagen</translation>
    </message>
    <message>
        <source>Supprimer l’image %@</source>
        <translation>Quitar la imagen %@</translation>
    </message>
    <message>
        <source>Enregistrement…</source>
        <translation>Guardando…</translation>
    </message>
    <message>
        <source>Capturer</source>
        <translation>Capturar</translation>
    </message>
    <message>
        <source>Réessayer</source>
        <translation>Reintentar</translation>
    </message>
    <message>
        <source>Choisir le dossier</source>
        <translation>Elegir la carpeta</translation>
    </message>
    <message>
        <source>Joindre des images</source>
        <translation>Adjuntar imágenes</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>Cancelar</translation>
    </message>
    <message>
        <source>Fermer et conserver le brouillon</source>
        <translation>Cerrar y conservar el borrador</translation>
    </message>
    <message>
        <source>Indisponible</source>
        <translation>No disponible</translation>
    </message>
    <message>
        <source>Raccourci mémorisé : </source>
        <translation>Atajo guardado: </translation>
    </message>
    <message>
        <source> Utilise le menu Quillor pour capturer.</source>
        <translation> Usa el menú de Quillor para capturar.</translation>
    </message>
    <message>
        <source>Choisis un dossier Obsidian ou Markdown.</source>
        <translation>Elige una carpeta de Obsidian o de Markdown.</translation>
    </message>
    <message>
        <source>Réglages</source>
        <translation>Ajustes</translation>
    </message>
    <message>
        <source>Aide</source>
        <translation>Ayuda</translation>
    </message>
    <message>
        <source>Quillor n’a pas pu redémarrer (%@).</source>
        <translation>Quillor no se pudo reiniciar (%@).</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Prueba</translation>
    </message>
    <message>
        <source>Sandbox</source>
        <translation>Sandbox</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>Aplicación</translation>
    </message>
    <message>
        <source>Raccourci indisponible ; tu peux toujours ouvrir la capture depuis ce menu.</source>
        <translation>Atajo no disponible; puedes seguir abriendo la captura desde este menú.</translation>
    </message>
    <message>
        <source>Aucune capture livrée</source>
        <translation>Ninguna captura entregada</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>Nota</translation>
    </message>
    <message>
        <source>Dernière capture : </source>
        <translation>Última captura: </translation>
    </message>
    <message>
        <source>Nouvelle capture</source>
        <translation>Nueva captura</translation>
    </message>
    <message>
        <source>Réglages…</source>
        <translation>Ajustes…</translation>
    </message>
    <message>
        <source>Historique des captures…</source>
        <translation>Historial de capturas…</translation>
    </message>
    <message>
        <source>Dernière capture</source>
        <translation>Última captura</translation>
    </message>
    <message>
        <source>Afficher la dernière capture dans le Finder</source>
        <translation>Mostrar la última captura en el gestor de archivos</translation>
    </message>
    <message>
        <source>Ouvrir la dernière note</source>
        <translation>Abrir la última nota</translation>
    </message>
    <message>
        <source>Afficher les données locales</source>
        <translation>Mostrar los datos locales</translation>
    </message>
    <message>
        <source>Quitter Quillor</source>
        <translation>Salir de Quillor</translation>
    </message>
    <message>
        <source>Les réglages n’ont pas pu être lus : Quillor utilise les réglages par défaut. Le fichier illisible est gardé dans « %@ ».</source>
        <translation>No se pudieron leer los ajustes: Quillor usa los ajustes predeterminados. El archivo ilegible se guarda en «%@».</translation>
    </message>
    <message>
        <source>Les réglages n’ont pas pu être lus ni mis de côté (%@) : Quillor utilise les réglages par défaut et n’enregistrera aucun réglage avant le prochain lancement.</source>
        <translation>No se pudieron leer ni apartar los ajustes (%@): Quillor usa los ajustes predeterminados y no guardará ningún ajuste hasta el próximo inicio.</translation>
    </message>
    <message>
        <source>Le brouillon est trop volumineux pour être ouvert : Quillor commence un nouveau brouillon. Le fichier est gardé dans « %@ ».</source>
        <translation>El borrador es demasiado grande para abrirlo: Quillor empieza un borrador nuevo. El archivo se guarda en «%@».</translation>
    </message>
    <message>
        <source>Le brouillon est trop volumineux pour être ouvert et n’a pas pu être mis de côté (%@) : Quillor commence un nouveau brouillon.</source>
        <translation>El borrador es demasiado grande para abrirlo y no se pudo apartar (%@): Quillor empieza un borrador nuevo.</translation>
    </message>
    <message>
        <source>Le reçu « %@ » est trop volumineux pour être lu : il est ignoré.</source>
        <translation>El recibo «%@» es demasiado grande para leerlo: se omite.</translation>
    </message>
    <message>
        <source>Les réglages ne peuvent pas être enregistrés : « %@ » n’a pas pu être lu ni mis de côté au lancement. Déplace ou corrige ce fichier, puis relance Quillor.</source>
        <translation>No se pueden guardar los ajustes: «%@» no se pudo leer ni apartar al iniciar. Mueve o corrige este archivo y vuelve a abrir Quillor.</translation>
    </message>
    <message>
        <source>⌘↵</source>
        <translation>Control+↵</translation>
    </message>
    <message>
        <source>Une idée, un lien, une image…</source>
        <translation>Una idea, un enlace, una imagen…</translation>
    </message>
    <message>
        <source>Ouverture du brouillon…</source>
        <translation>Abriendo el borrador…</translation>
    </message>
    <message>
        <source>Déplacer la capture</source>
        <translation>Mover la captura</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion n’a pas pu être activée : %@</source>
        <translation>No se pudo activar la apertura al iniciar sesión: %@</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion n’a pas pu être désactivée : %@</source>
        <translation>No se pudo desactivar la apertura al iniciar sesión: %@</translation>
    </message>
    <message>
        <source>Tape le raccourci…</source>
        <translation>Pulsa el atajo…</translation>
    </message>
    <message>
        <source>Langue</source>
        <translation>Idioma</translation>
    </message>
    <message>
        <source>Langue du système</source>
        <translation>Idioma del sistema</translation>
    </message>
    <message>
        <source>La langue choisie sera utilisée au prochain démarrage de Quillor.</source>
        <translation>El idioma elegido se usará la próxima vez que se inicie Quillor.</translation>
    </message>
    <message>
        <source>Redémarre Quillor pour appliquer la nouvelle langue.</source>
        <translation>Reinicia Quillor para aplicar el nuevo idioma.</translation>
    </message>
    <message>
        <source>Redémarrer Quillor</source>
        <translation>Reiniciar Quillor</translation>
    </message>
    <message>
        <source>Démarrage</source>
        <translation>Inicio</translation>
    </message>
    <message>
        <source>Ouvrir à la connexion</source>
        <translation>Abrir al iniciar sesión</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion est immédiate et n’est pas annulée par Rétablir les modifications.</source>
        <translation>La apertura al iniciar sesión se aplica al instante y Revertir los cambios no la deshace.</translation>
    </message>
    <message>
        <source>Ouvrir la capture</source>
        <translation>Abrir la captura</translation>
    </message>
    <message>
        <source>Raccourci souhaité</source>
        <translation>Atajo deseado</translation>
    </message>
    <message>
        <source>Déclencheur de destination</source>
        <translation>Activador de destino</translation>
    </message>
    <message>
        <source>Actif : %@</source>
        <translation>Activo: %@</translation>
    </message>
    <message>
        <source>Saisis %@ suivi du nom du dossier ou de son alias pour choisir une destination.</source>
        <translation>Escribe %@ seguido del nombre de la carpeta o de su alias para elegir un destino.</translation>
    </message>
    <message>
        <source>Ajouter une destination…</source>
        <translation>Añadir un destino…</translation>
    </message>
    <message>
        <source>Suggestions</source>
        <translation>Sugerencias</translation>
    </message>
    <message>
        <source>Actualiser les notes et tags</source>
        <translation>Actualizar notas y etiquetas</translation>
    </message>
    <message>
        <source>notes.indexed</source>
        <translation>Notas indexadas: %d</translation>
    </message>
    <message>
        <source>Choisis le dossier dans lequel enregistrer tes captures.</source>
        <translation>Elige la carpeta donde guardar tus capturas.</translation>
    </message>
    <message>
        <source>Rechercher dans les réglages</source>
        <translation>Buscar en los ajustes</translation>
    </message>
    <message>
        <source>Effacer la recherche</source>
        <translation>Borrar la búsqueda</translation>
    </message>
    <message>
        <source>Rétablir les modifications</source>
        <translation>Revertir los cambios</translation>
    </message>
    <message>
        <source>Appliquer</source>
        <translation>Aplicar</translation>
    </message>
    <message>
        <source>Modifications non enregistrées</source>
        <translation>Cambios sin guardar</translation>
    </message>
    <message>
        <source>Modifications enregistrées</source>
        <translation>Cambios guardados</translation>
    </message>
    <message>
        <source>Enregistrer les modifications des réglages ?</source>
        <translation>¿Guardar los cambios de los ajustes?</translation>
    </message>
    <message>
        <source>Les modifications non enregistrées seront perdues. Le démarrage à la connexion reste inchangé.</source>
        <translation>Los cambios sin guardar se perderán. La apertura al iniciar sesión no cambia.</translation>
    </message>
    <message>
        <source>Ignorer les modifications</source>
        <translation>Descartar los cambios</translation>
    </message>
    <message>
        <source>Mode modifié : vérifie et confirme le nouveau chemin.</source>
        <translation>Modo cambiado: revisa y confirma la nueva ruta.</translation>
    </message>
    <message>
        <source>Chaque capture créera une nouvelle note dans ce dossier :</source>
        <translation>Cada captura creará una nota nueva en esta carpeta:</translation>
    </message>
    <message>
        <source>date-identifiant.md</source>
        <translation>fecha-identificador.md</translation>
    </message>
    <message>
        <source>Chaque capture sera ajoutée à la fin de cette note :</source>
        <translation>Cada captura se añadirá al final de esta nota:</translation>
    </message>
    <message>
        <source>Chaque capture sera ajoutée à la note de sa date de capture :</source>
        <translation>Cada captura se añadirá a la nota de su fecha de captura:</translation>
    </message>
    <message>
        <source>Par défaut</source>
        <translation>Predeterminado</translation>
    </message>
    <message>
        <source>À vérifier</source>
        <translation>Por revisar</translation>
    </message>
    <message>
        <source>Dossier de destination</source>
        <translation>Carpeta de destino</translation>
    </message>
    <message>
        <source>Alias (facultatif)</source>
        <translation>Alias (opcional)</translation>
    </message>
    <message>
        <source>Enregistrement</source>
        <translation>Modo de guardado</translation>
    </message>
    <message>
        <source>Nom de la note</source>
        <translation>Nombre de la nota</translation>
    </message>
    <message>
        <source>Confirmer ce chemin</source>
        <translation>Confirmar esta ruta</translation>
    </message>
    <message>
        <source>Utiliser par défaut</source>
        <translation>Usar como predeterminado</translation>
    </message>
    <message>
        <source>Supprimer la destination</source>
        <translation>Quitar el destino</translation>
    </message>
    <message>
        <source>Retire uniquement la configuration ; les notes sont conservées.</source>
        <translation>Solo quita la configuración; las notas se conservan.</translation>
    </message>
    <message>
        <source>Déplié</source>
        <translation>Desplegado</translation>
    </message>
    <message>
        <source>Replié</source>
        <translation>Plegado</translation>
    </message>
    <message>
        <source>Aucun dossier choisi</source>
        <translation>Ninguna carpeta elegida</translation>
    </message>
    <message>
        <source>Nom de commande : %@. L’alias offre une autre manière de choisir ce dossier.</source>
        <translation>Nombre de comando: %@. El alias ofrece otra forma de elegir esta carpeta.</translation>
    </message>
    <message>
        <source>Édition</source>
        <translation>Edición</translation>
    </message>
    <message>
        <source>action.undo</source>
        <translation>Deshacer</translation>
    </message>
    <message>
        <source>action.redo</source>
        <translation>Rehacer</translation>
    </message>
    <message>
        <source>Couper</source>
        <translation>Cortar</translation>
    </message>
    <message>
        <source>Copier</source>
        <translation>Copiar</translation>
    </message>
    <message>
        <source>Coller</source>
        <translation>Pegar</translation>
    </message>
    <message>
        <source>Tout sélectionner</source>
        <translation>Seleccionar todo</translation>
    </message>
    <message>
        <source>Lien vers une note…</source>
        <translation>Enlace a una nota…</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est illisible : son contenu n’est pas un enregistrement valide.</source>
        <translation>El archivo «%@» de la bandeja de entrada no se puede leer: su contenido no es un registro válido.</translation>
    </message>
    <message>
        <source>Les images de cette modification du brouillon ne correspondent pas à celles de son dernier enregistrement : elle ne peut pas lui être appliquée.</source>
        <translation>Las imágenes de este cambio del borrador no coinciden con las de su último guardado: no se le puede aplicar.</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est endommagé : son nom ne correspond pas à la capture qu’il contient.</source>
        <translation>El archivo «%@» de la bandeja de entrada está dañado: su nombre no corresponde a la captura que contiene.</translation>
    </message>
    <message>
        <source>Choisir une destination</source>
        <translation>Elegir un destino</translation>
    </message>
    <message>
        <source>Dossier de notes (vault)</source>
        <translation>Carpeta de notas (bóveda)</translation>
    </message>
    <message>
        <source>Restaurer comme nouveau brouillon</source>
        <translation>Restaurar como borrador nuevo</translation>
    </message>
    <message>
        <source>Brouillon</source>
        <translation>Borrador</translation>
    </message>
    <message>
        <source>Archiver puis effacer</source>
        <translation>Archivar y vaciar</translation>
    </message>
    <message>
        <source>Ouvrir la note</source>
        <translation>Abrir la nota</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>Versión</translation>
    </message>
    <message>
        <source>Mises à jour</source>
        <translation>Actualizaciones</translation>
    </message>
    <message>
        <source>Rechercher les mises à jour</source>
        <translation>Buscar actualizaciones</translation>
    </message>
    <message>
        <source>Tes notes restent à toi</source>
        <translation>Tus notas son tuyas</translation>
    </message>
    <message>
        <source>Tes captures sont enregistrées sur ton Mac et dans les dossiers que tu choisis. Sans compte, sans publicité, sans suivi.</source>
        <translation>Tus capturas se guardan en tu ordenador y en las carpetas que eliges. Sin cuenta, sin publicidad, sin seguimiento.</translation>
    </message>
    <message>
        <source>Raccourci global configurable dans Général.</source>
        <translation>Atajo global configurable en General.</translation>
    </message>
    <message>
        <source>Enregistrer dans la destination choisie.</source>
        <translation>Guardar en el destino elegido.</translation>
    </message>
    <message>
        <source>Masquer et conserver le brouillon</source>
        <translation>Ocultar y conservar el borrador</translation>
    </message>
    <message>
        <source>Ferme d’abord les suggestions.</source>
        <translation>Primero cierra las sugerencias.</translation>
    </message>
    <message>
        <source>Échap</source>
        <translation>Escape</translation>
    </message>
    <message>
        <source>Édition du texte</source>
        <translation>Edición del texto</translation>
    </message>
    <message>
        <source>Annuler, couper, copier, coller et tout sélectionner.</source>
        <translation>Deshacer, cortar, copiar, pegar y seleccionar todo.</translation>
    </message>
    <message>
        <source>Indenter / désindenter</source>
        <translation>Aumentar / reducir sangría</translation>
    </message>
    <message>
        <source>Ajoute ou retire quatre espaces au début des lignes sélectionnées, même avec le curseur au milieu.</source>
        <translation>Añade o quita cuatro espacios al principio de las líneas seleccionadas, aunque el cursor esté en medio.</translation>
    </message>
    <message>
        <source>Sur une ligne contenant seulement - , un espace supplémentaire crée - [ ] . Cliquer sur la case coche ou décoche la tâche.</source>
        <translation>En una línea que solo contiene - , un espacio más crea - [ ] . Al hacer clic en la casilla se marca o desmarca la tarea.</translation>
    </message>
    <message>
        <source>Retirer la case à cocher</source>
        <translation>Quitar la casilla</translation>
    </message>
    <message>
        <source>Au début du texte d’une tâche, Retour arrière retire sa case et conserve la puce.</source>
        <translation>Al principio del texto de una tarea, la tecla Borrar quita su casilla y conserva la viñeta.</translation>
    </message>
    <message>
        <source>Listes et tâches</source>
        <translation>Listas y tareas</translation>
    </message>
    <message>
        <source>Entrée continue la liste ; sur une puce vide, Entrée termine la liste. Les tâches continuent avec une case vide.</source>
        <translation>Intro continúa la lista; en una viñeta vacía, Intro termina la lista. Las tareas continúan con una casilla vacía.</translation>
    </message>
    <message>
        <source>Déplace la ligne vers le haut ou le bas. Les lignes de liste peuvent aussi être déplacées avec leur poignée.</source>
        <translation>Mueve la línea hacia arriba o hacia abajo. Las líneas de lista también se pueden mover con su asa.</translation>
    </message>
    <message>
        <source>Le préfixe propose des destinations dans le texte. Entrée, Tab ou un clic change le sélecteur et retire le raccourci. Maj+Entrée insère une nouvelle ligne ; Échap ferme les suggestions.</source>
        <translation>El prefijo sugiere destinos en el texto. Intro, Tabulador o un clic cambia el selector y quita el atajo. Mayúsculas+Intro inserta una línea nueva; Escape cierra las sugerencias.</translation>
    </message>
    <message>
        <source>Parcourir les suggestions</source>
        <translation>Recorrer las sugerencias</translation>
    </message>
    <message>
        <source>Flèches pour choisir, Entrée, Tab ou un clic pour valider, Échap pour fermer. Maj+Entrée insère une nouvelle ligne.</source>
        <translation>Flechas para elegir; Intro, Tabulador o un clic para aceptar; Escape para cerrar. Mayúsculas+Intro inserta una línea nueva.</translation>
    </message>
    <message>
        <source>Lien vers une note</source>
        <translation>Enlace a una nota</translation>
    </message>
    <message>
        <source>Rechercher une note ou écrire un wiki lien avec un libellé facultatif.</source>
        <translation>Busca una nota o escribe un enlace wiki con un texto visible opcional.</translation>
    </message>
    <message>
        <source>[[note]] · [[note|libellé]]</source>
        <translation>[[nota]] · [[nota|texto]]</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>Etiqueta</translation>
    </message>
    <message>
        <source>Le caractère # propose les tags du dossier de notes.</source>
        <translation>El carácter # sugiere las etiquetas de la carpeta de notas.</translation>
    </message>
    <message>
        <source>#tag · #tag/enfant</source>
        <translation>#etiqueta · #etiqueta/hija</translation>
    </message>
    <message>
        <source>Mise en forme Markdown</source>
        <translation>Formato Markdown</translation>
    </message>
    <message>
        <source>Titres de # à ######, gras, italique et code. La syntaxe reste visible et est conservée à l’enregistrement.</source>
        <translation>Títulos de # a ######, negrita, cursiva y código. La sintaxis queda visible y se conserva al guardar.</translation>
    </message>
    <message>
        <source># titre · **gras** · *italique* · `code` · ```</source>
        <translation># título · **negrita** · *cursiva* · `código` · ```</translation>
    </message>
    <message>
        <source>Liens et URLs</source>
        <translation>Enlaces y URL</translation>
    </message>
    <message>
        <source>Ouvrir les liens</source>
        <translation>Abrir enlaces</translation>
    </message>
    <message>
        <source>Commande-clic ouvre un lien. Les liens Markdown et les URLs restent du texte modifiable.</source>
        <translation>Control+clic abre un enlace. Los enlaces Markdown y las URL siguen siendo texto editable.</translation>
    </message>
    <message>
        <source>[libellé](https://…) · https://… · ⌘+clic</source>
        <translation>[texto](https://…) · https://… · Control+clic</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>Imágenes</translation>
    </message>
    <message>
        <source>Coller, glisser une image ou utiliser le trombone. Cliquer sur une vignette ouvre son aperçu ; la croix permet de la supprimer.</source>
        <translation>Pega o arrastra una imagen, o usa el clip. Al hacer clic en una miniatura se abre su vista previa; la cruz la quita.</translation>
    </message>
    <message>
        <source>Le brouillon est conservé localement.</source>
        <translation>El borrador se conserva localmente.</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>Captura</translation>
    </message>
    <message>
        <source>Suggestions et contenu</source>
        <translation>Sugerencias y contenido</translation>
    </message>
    <message>
        <source>⌘+clic</source>
        <translation>Control+clic</translation>
    </message>
    <message>
        <source>Configurer le raccourci…</source>
        <translation>Configurar el atajo…</translation>
    </message>
    <message>
        <source>Capture locale · destination historique inconnue</source>
        <translation>Captura local · destino original desconocido</translation>
    </message>
    <message>
        <source>Captures locales</source>
        <translation>Capturas locales</translation>
    </message>
    <message>
        <source>Actualiser</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>Lecture de l’historique…</source>
        <translation>Leyendo el historial…</translation>
    </message>
    <message>
        <source>Cette capture n’a pas pu être lue en entier : elle ne peut pas être restaurée.</source>
        <translation>Esta captura no se pudo leer entera: no se puede restaurar.</translation>
    </message>
    <message>
        <source>Texte trop long pour être affiché ici : restaure la capture pour le retrouver.</source>
        <translation>Texto demasiado largo para mostrarlo aquí: restaura la captura para recuperarlo.</translation>
    </message>
    <message>
        <source>Afficher dans le Finder</source>
        <translation>Mostrar en el gestor de archivos</translation>
    </message>
    <message>
        <source>Exporter la note…</source>
        <translation>Exportar la nota…</translation>
    </message>
    <message>
        <source>Sauvegarde de la note avant ajout</source>
        <translation>Copia de seguridad de la nota antes de añadir</translation>
    </message>
    <message>
        <source>Consulter la sauvegarde</source>
        <translation>Consultar la copia de seguridad</translation>
    </message>
    <message>
        <source>Exporter la sauvegarde…</source>
        <translation>Exportar la copia de seguridad…</translation>
    </message>
    <message>
        <source>Aucune capture dans l’historique</source>
        <translation>No hay capturas en el historial</translation>
    </message>
    <message>
        <source>Tes captures enregistrées et tes brouillons archivés apparaîtront ici.</source>
        <translation>Tus capturas guardadas y tus borradores archivados aparecerán aquí.</translation>
    </message>
    <message>
        <source>Sélectionne une capture pour consulter ou récupérer son contenu.</source>
        <translation>Selecciona una captura para consultar o recuperar su contenido.</translation>
    </message>
    <message>
        <source>Conserver le brouillon actuel avant de restaurer ?</source>
        <translation>¿Conservar el borrador actual antes de restaurar?</translation>
    </message>
    <message>
        <source>Le brouillon actuel restera récupérable dans cet historique. Aucun fichier de notes ne sera remplacé.</source>
        <translation>El borrador actual se podrá recuperar en este historial. No se reemplazará ningún archivo de notas.</translation>
    </message>
    <message>
        <source>Archiver puis remplacer</source>
        <translation>Archivar y reemplazar</translation>
    </message>
    <message>
        <source>Échap masque la capture et conserve la saisie. Le brouillon est sauvegardé localement.</source>
        <translation>Escape oculta la captura y conserva lo escrito. El borrador se guarda localmente.</translation>
    </message>
    <message>
        <source>Effacer le brouillon…</source>
        <translation>Vaciar el borrador…</translation>
    </message>
    <message>
        <source>Effacer ce brouillon ?</source>
        <translation>¿Vaciar este borrador?</translation>
    </message>
    <message>
        <source>Son contenu restera récupérable dans l’historique local.</source>
        <translation>Su contenido se podrá recuperar en el historial local.</translation>
    </message>
    <message>
        <source>Diagnostic</source>
        <translation>Diagnóstico</translation>
    </message>
    <message>
        <source>Confidentialité et mentions légales</source>
        <translation>Privacidad y avisos legales</translation>
    </message>
    <message>
        <source>Rechercher automatiquement les mises à jour</source>
        <translation>Buscar actualizaciones automáticamente</translation>
    </message>
    <message>
        <source>Une vérification par jour lorsque Quillor est ouvert.</source>
        <translation>Una comprobación al día mientras Quillor está abierto.</translation>
    </message>
    <message>
        <source>Afficher les changelogs</source>
        <translation>Mostrar los registros de cambios</translation>
    </message>
    <message>
        <source>Dernière vérification</source>
        <translation>Última comprobación</translation>
    </message>
    <message>
        <source>Choisis un dossier de pièces jointes dans le dossier de notes.</source>
        <translation>Elige una carpeta de adjuntos dentro de la carpeta de notas.</translation>
    </message>
    <message>
        <source>Pièces jointes</source>
        <translation>Adjuntos</translation>
    </message>
    <message>
        <source>Utiliser les réglages Obsidian</source>
        <translation>Usar los ajustes de Obsidian</translation>
    </message>
    <message>
        <source>Emplacement</source>
        <translation>Ubicación</translation>
    </message>
    <message>
        <source>Nom du sous-dossier</source>
        <translation>Nombre de la subcarpeta</translation>
    </message>
    <message>
        <source>Les pièces jointes existantes ne sont pas déplacées.</source>
        <translation>Los adjuntos existentes no se mueven.</translation>
    </message>
    <message>
        <source>Coffre Obsidian détecté : %@</source>
        <translation>Bóveda de Obsidian detectada: %@</translation>
    </message>
    <message>
        <source>Cette option est disponible uniquement si la destination est contenue dans un coffre Obsidian avec un dossier .obsidian.</source>
        <translation>Esta opción solo está disponible si el destino está dentro de una bóveda de Obsidian con una carpeta .obsidian.</translation>
    </message>
    <message>
        <source>Ctrl+↵</source>
        <translation>Control+↵</translation>
    </message>
    <message>
        <source>Ajouter des images</source>
        <translation>Añadir imágenes</translation>
    </message>
    <message>
        <source>Coller la capture</source>
        <translation>Pegar la captura</translation>
    </message>
    <message>
        <source>Une pièce jointe du presse-papiers est illisible ou dépasse 50 Mo. Le brouillon est conservé.</source>
        <translation>Un adjunto del portapapeles no se puede leer o supera los 50 MB. Se conserva el borrador.</translation>
    </message>
    <message>
        <source>Ajouter des images à cette capture.</source>
        <translation>Añadir imágenes a esta captura.</translation>
    </message>
    <message>
        <source>Aperçu de l’image</source>
        <translation>Vista previa de la imagen</translation>
    </message>
    <message>
        <source>Image en grand</source>
        <translation>Imagen ampliada</translation>
    </message>
    <message>
        <source>Aucune note correspondante. Actualise les suggestions ou vérifie le lien.</source>
        <translation>No hay ninguna nota que coincida. Actualiza las sugerencias o revisa el enlace.</translation>
    </message>
    <message>
        <source>Cocher la tâche</source>
        <translation>Marcar la tarea</translation>
    </message>
    <message>
        <source>Sélectionné, %1$@ sur %2$@</source>
        <translation>Seleccionado, %1$@ de %2$@</translation>
    </message>
    <message>
        <source>%1$@ sur %2$@</source>
        <translation>%1$@ de %2$@</translation>
    </message>
    <message>
        <source>, %1$@ sur %2$@</source>
        <translation>, %1$@ de %2$@</translation>
    </message>
    <message>
        <source>suggestions.count</source>
        <translation>Sugerencias: %@</translation>
    </message>
    <message>
        <source>Le module réseau de Quillor est introuvable : réinstalle Quillor.</source>
        <translation>No se encuentra el módulo de red de Quillor: vuelve a instalar Quillor.</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est illisible : il est bien plus volumineux qu’un enregistrement.</source>
        <translation>No se puede leer el archivo «%@» de la bandeja de entrada: es mucho más grande que un registro.</translation>
    </message>
    <message>
        <source>Une image n’a pas été ajoutée : le brouillon a été remplacé pendant sa lecture.</source>
        <translation>No se ha añadido una imagen: el borrador se sustituyó mientras se leía.</translation>
    </message>
    <message>
        <source>Une image n’a pas été ajoutée : son fichier a été supprimé ou déplacé pendant sa lecture.</source>
        <translation>No se ha añadido una imagen: su archivo se eliminó o se movió mientras se leía.</translation>
    </message>
    <message>
        <source>%@ images n’ont pas été ajoutées : leurs fichiers ont été supprimés ou déplacés pendant leur lecture.</source>
        <translation>No se han añadido %@ imágenes: sus archivos se eliminaron o se movieron mientras se leían.</translation>
    </message>
    <message>
        <source>Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : « %@ ».</source>
        <translation>No se puede usar el ajuste de adjuntos de esta bóveda en .obsidian/app.json: «%@».</translation>
    </message>
    <message>
        <source>Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : le fichier est illisible ou trop volumineux.</source>
        <translation>No se puede usar el ajuste de adjuntos de esta bóveda en .obsidian/app.json: el archivo no se puede leer o es demasiado grande.</translation>
    </message>
    <message>
        <source>Rien n’a pu ouvrir « %@ » : aucune application du bureau ne s’en charge.</source>
        <translation>No se ha podido abrir «%@»: ninguna aplicación del escritorio se encarga de ello.</translation>
    </message>
    <message>
        <source>Rien n’a pu afficher « %@ » : aucun gestionnaire de fichiers ne répond.</source>
        <translation>No se ha podido mostrar «%@»: ningún gestor de archivos responde.</translation>
    </message>
</context>
</TS>
