<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="zh_Hans" sourcelanguage="fr">
<context>
    <name>Quillor</name>
    <message>
        <source>Destination inconnue : %@. Choisis une destination ou retire le préfixe.</source>
        <translation>未知目标：%@。请选择一个目标，或删除前缀。</translation>
    </message>
    <message>
        <source>Le chemin doit rester à l’intérieur du vault.</source>
        <translation>路径必须位于仓库之内。</translation>
    </message>
    <message>
        <source>Choisis un dossier de vault existant dans les réglages.</source>
        <translation>请在设置中选择一个已有的仓库文件夹。</translation>
    </message>
    <message>
        <source>Ajoute du texte ou une image avant d’enregistrer.</source>
        <translation>保存前请先添加文字或图片。</translation>
    </message>
    <message>
        <source>Une image est introuvable. Le brouillon est conservé.</source>
        <translation>找不到一张图片。草稿已保留。</translation>
    </message>
    <message>
        <source>La note a été modifiée pendant l’enregistrement. Réessaie ; le brouillon est conservé.</source>
        <translation>保存期间笔记被修改了。请重试；草稿已保留。</translation>
    </message>
    <message>
        <source>La note existante n’est pas encodée en UTF-8. Elle n’a pas été modifiée.</source>
        <translation>现有笔记不是 UTF-8 编码，未作任何修改。</translation>
    </message>
    <message>
        <source>La note contient déjà une version antérieure de cette capture. Elle n’a pas été modifiée ; le brouillon est conservé.</source>
        <translation>笔记中已有此捕获的早期版本。笔记未作修改；草稿已保留。</translation>
    </message>
    <message>
        <source>Nouvelle note</source>
        <translation>新建笔记</translation>
    </message>
    <message>
        <source>Ajouter à une note</source>
        <translation>追加到笔记</translation>
    </message>
    <message>
        <source>Note du jour</source>
        <translation>每日笔记</translation>
    </message>
    <message>
        <source>Suivre les réglages d’Obsidian</source>
        <translation>沿用 Obsidian 设置</translation>
    </message>
    <message>
        <source>Racine du dossier de notes</source>
        <translation>笔记文件夹根目录</translation>
    </message>
    <message>
        <source>Même dossier que la note</source>
        <translation>与笔记相同的文件夹</translation>
    </message>
    <message>
        <source>Dans un sous-dossier du dossier de la note</source>
        <translation>笔记所在文件夹的子文件夹</translation>
    </message>
    <message>
        <source>Dans le dossier spécifié</source>
        <translation>指定的文件夹</translation>
    </message>
    <message>
        <source>Dossier fixe (chemin absolu)</source>
        <translation>固定文件夹（绝对路径）</translation>
    </message>
    <message>
        <source>Destination</source>
        <translation>目标</translation>
    </message>
    <message>
        <source>Choisis un dossier de notes existant.</source>
        <translation>请选择一个已有的笔记文件夹。</translation>
    </message>
    <message>
        <source>Le chemin doit rester dans le dossier de notes, sans lien symbolique ni dossier caché.</source>
        <translation>路径必须位于笔记文件夹之内，且不能包含符号链接或隐藏文件夹。</translation>
    </message>
    <message>
        <source>Ce chemin désigne un fichier, pas un dossier.</source>
        <translation>此路径指向文件，而不是文件夹。</translation>
    </message>
    <message>
        <source>Ce chemin désigne un dossier, pas une note.</source>
        <translation>此路径指向文件夹，而不是笔记。</translation>
    </message>
    <message>
        <source>Un dossier parent est en réalité un fichier.</source>
        <translation>某个上级文件夹实际上是文件。</translation>
    </message>
    <message>
        <source>Utilise un alias composé de lettres, chiffres, tirets ou traits de soulignement.</source>
        <translation>别名只能由字母、数字、连字符或下划线组成。</translation>
    </message>
    <message>
        <source>Cet alias est déjà utilisé (sans distinction de casse).</source>
        <translation>此别名已被使用（不区分大小写）。</translation>
    </message>
    <message>
        <source>Livraison confirmée</source>
        <translation>已确认送达</translation>
    </message>
    <message>
        <source>Livraison non confirmée</source>
        <translation>未确认送达</translation>
    </message>
    <message>
        <source>Livrée · fichier absent</source>
        <translation>已送达 · 文件缺失</translation>
    </message>
    <message>
        <source>Livrée · accès au fichier indisponible</source>
        <translation>已送达 · 无法访问文件</translation>
    </message>
    <message>
        <source>Général</source>
        <translation>通用</translation>
    </message>
    <message>
        <source>Destinations</source>
        <translation>目标</translation>
    </message>
    <message>
        <source>Raccourcis clavier</source>
        <translation>键盘快捷键</translation>
    </message>
    <message>
        <source>Guide d’utilisation</source>
        <translation>使用指南</translation>
    </message>
    <message>
        <source>Historique des captures</source>
        <translation>捕捉历史</translation>
    </message>
    <message>
        <source>À propos</source>
        <translation>关于</translation>
    </message>
    <message>
        <source>Les liens externes s’ouvrent via le système. Un wiki lien ouvre un aperçu natif avec ouverture et export ; choisis la note si plusieurs correspondent. Une cible absente ne crée aucun fichier. Le texte et la sélection restent conservés.</source>
        <translation>外部链接通过系统打开。wiki 链接会打开预览，可从中打开或导出；若有多篇笔记匹配，请选择其中一篇。目标不存在时不会创建任何文件。文字和选区保持不变。</translation>
    </message>
    <message>
        <source>Dans l’historique, consulte ou exporte la note disponible et sa sauvegarde d’ajout. La récupération préserve le brouillon courant et en crée un nouveau. Sur iPhone, elle relit la note et les images accessibles, sans inventer le contenu manquant ; autorise explicitement le dossier d’origine si son accès manque. Sur Mac, elle reprend la capture archivée et ses originaux.</source>
        <translation>在历史记录中，可查看或导出现有的笔记及其追加前的备份。恢复会保留当前草稿并新建一份草稿：它会取回归档的捕捉及其原始文件。</translation>
    </message>
    <message>
        <source>Choisis la langue dans Général, puis Appliquer ; Annuler conserve le choix précédent et le brouillon. Sur Mac, utilise le redémarrage proposé pour actualiser l’interface. L’extension iPhone reprend la préférence enregistrée à sa prochaine ouverture ; le widget suit la langue du système.</source>
        <translation>在“通用”中选择语言，然后点“应用”；点“取消”会保留之前的选择和草稿。可使用提供的重启功能刷新界面。</translation>
    </message>
    <message>
        <source>Quillor est édité par l’équipe Quillor. Contact : bonjour@quillor.app</source>
        <translation>Quillor 由 Quillor 团队发布。联系方式：bonjour@quillor.app</translation>
    </message>
    <message>
        <source>Quillor ne collecte ni ne transmet à son éditeur vos notes, images, liens, identifiants ou données d’utilisation. Sans compte, publicité, analyse ni suivi.</source>
        <translation>Quillor 不会收集你的笔记、图片、链接、凭据或使用数据，也不会将其发送给发布者。没有账户、广告、分析或跟踪。</translation>
    </message>
    <message>
        <source>Captures, brouillons, réglages, historique et sauvegardes restent sur votre appareil et dans les dossiers que vous autorisez. Les notes Markdown et les images restent lisibles indépendamment de Quillor.</source>
        <translation>捕捉、草稿、设置、历史记录和备份都保存在你的设备上和你授权的文件夹中。即使没有 Quillor，Markdown 笔记和图片也依然可读。</translation>
    </message>
    <message>
        <source>Photos, caméra, collage et partage sont utilisés uniquement à votre demande. Les originaux importés peuvent rester dans le brouillon pour l’annulation et la récupération.</source>
        <translation>照片、相机、粘贴和分享仅在你要求时使用。导入的原始文件可能会保留在草稿中，以便撤销和恢复。</translation>
    </message>
    <message>
        <source>La version Mac du site peut consulter le catalogue public des mises à jour. Aucun contenu de capture n’est envoyé ; l’hébergeur reçoit les informations habituelles de connexion. Les versions App Store sont mises à jour par Apple.</source>
        <translation>Quillor 可能会查询公开的更新目录。不会发送任何捕捉内容；服务器只会收到常规的连接信息。</translation>
    </message>
    <message>
        <source>Votre fournisseur de stockage ou de sauvegarde peut synchroniser vos fichiers selon ses propres règles. Quillor ne fournit pas de service de synchronisation.</source>
        <translation>你的存储或备份服务商可能会按其自身规则同步你的文件。Quillor 不提供同步服务。</translation>
    </message>
    <message>
        <source>Vous pouvez retirer les destinations et leurs autorisations. Avant de supprimer les données locales, exportez les brouillons et sauvegardes à conserver. Désinstaller Quillor ne supprime pas les notes déjà enregistrées dans vos dossiers.</source>
        <translation>你可以移除目标及其权限。删除本地数据前，请导出想要保留的草稿和备份。卸载 Quillor 不会删除已保存在你文件夹中的笔记。</translation>
    </message>
    <message>
        <source>Le fichier ou le dossier « %@ » est introuvable.</source>
        <translation>找不到文件或文件夹“%@”。</translation>
    </message>
    <message>
        <source>Permission refusée : impossible d’accéder à « %@ ».</source>
        <translation>权限被拒绝：无法访问“%@”。</translation>
    </message>
    <message>
        <source>Le disque est plein : impossible d’écrire « %@ ».</source>
        <translation>磁盘已满：无法写入“%@”。</translation>
    </message>
    <message>
        <source>Le système de fichiers est en lecture seule : impossible de modifier « %@ ».</source>
        <translation>文件系统为只读：无法修改“%@”。</translation>
    </message>
    <message>
        <source>Un fichier ou un dossier existe déjà à l’emplacement « %@ ».</source>
        <translation>“%@”处已存在文件或文件夹。</translation>
    </message>
    <message>
        <source>Un élément du chemin « %@ » n’est pas un dossier.</source>
        <translation>路径“%@”中有一部分不是文件夹。</translation>
    </message>
    <message>
        <source>« %@ » est un dossier et non un fichier.</source>
        <translation>“%@”是文件夹，而不是文件。</translation>
    </message>
    <message>
        <source>Le nom ou le chemin « %@ » est trop long.</source>
        <translation>名称或路径“%@”过长。</translation>
    </message>
    <message>
        <source>Trop de liens symboliques dans le chemin « %@ ».</source>
        <translation>路径“%@”中的符号链接过多。</translation>
    </message>
    <message>
        <source>Erreur de lecture ou d’écriture du disque sur « %@ ».</source>
        <translation>读写“%@”时发生磁盘错误。</translation>
    </message>
    <message>
        <source>« %@ » n’est pas un fichier ordinaire.</source>
        <translation>“%@”不是普通文件。</translation>
    </message>
    <message>
        <source>Opération impossible sur « %@ » (%@).</source>
        <translation>无法对“%@”执行操作（%@）。</translation>
    </message>
    <message>
        <source>argument non valable</source>
        <translation>参数无效</translation>
    </message>
    <message>
        <source>ressource occupée</source>
        <translation>资源忙</translation>
    </message>
    <message>
        <source>fichier en cours d’utilisation</source>
        <translation>文件正被使用</translation>
    </message>
    <message>
        <source>trop de fichiers ouverts</source>
        <translation>打开的文件过多</translation>
    </message>
    <message>
        <source>trop de fichiers ouverts dans le système</source>
        <translation>系统中打开的文件过多</translation>
    </message>
    <message>
        <source>mémoire insuffisante</source>
        <translation>内存不足</translation>
    </message>
    <message>
        <source>fichier trop volumineux</source>
        <translation>文件过大</translation>
    </message>
    <message>
        <source>déplacement impossible d’un système de fichiers à un autre</source>
        <translation>无法在不同文件系统之间移动</translation>
    </message>
    <message>
        <source>dossier non vide</source>
        <translation>文件夹不为空</translation>
    </message>
    <message>
        <source>ressource momentanément indisponible</source>
        <translation>资源暂时不可用</translation>
    </message>
    <message>
        <source>opération interrompue</source>
        <translation>操作被中断</translation>
    </message>
    <message>
        <source>référence de fichier périmée</source>
        <translation>文件句柄已失效</translation>
    </message>
    <message>
        <source>périphérique ou adresse introuvable</source>
        <translation>设备或地址不存在</translation>
    </message>
    <message>
        <source>périphérique introuvable</source>
        <translation>设备不存在</translation>
    </message>
    <message>
        <source>trop de liens</source>
        <translation>链接过多</translation>
    </message>
    <message>
        <source>délai dépassé</source>
        <translation>操作超时</translation>
    </message>
    <message>
        <source>opération non prise en charge</source>
        <translation>不支持该操作</translation>
    </message>
    <message>
        <source>valeur trop grande</source>
        <translation>数值过大</translation>
    </message>
    <message>
        <source>descripteur de fichier non valable</source>
        <translation>文件描述符无效</translation>
    </message>
    <message>
        <source>positionnement impossible</source>
        <translation>无法定位</translation>
    </message>
    <message>
        <source>connexion au système de fichiers perdue</source>
        <translation>与文件系统的连接已断开</translation>
    </message>
    <message>
        <source>Choisis un dossier existant pour les pièces jointes.</source>
        <translation>请为附件选择一个已有的文件夹。</translation>
    </message>
    <message>
        <source>Saisis un nom de sous-dossier, sans chemin ni barre oblique.</source>
        <translation>请输入子文件夹名称，不要包含路径或斜杠。</translation>
    </message>
    <message>
        <source>Choisis un chemin relatif valide pour les pièces jointes.</source>
        <translation>请为附件选择一个有效的相对路径。</translation>
    </message>
    <message>
        <source>L’indexation du dossier a été annulée.</source>
        <translation>文件夹索引已取消。</translation>
    </message>
    <message>
        <source>⌃Espace</source>
        <translation>⌃空格</translation>
    </message>
    <message>
        <source>L’accès au dossier de notes doit être autorisé à nouveau. Choisis ce dossier dans les réglages. Le brouillon est conservé.</source>
        <translation>需要重新授权访问笔记文件夹。请在设置中选择此文件夹。草稿已保留。</translation>
    </message>
    <message>
        <source>Brouillon vide</source>
        <translation>草稿为空</translation>
    </message>
    <message>
        <source>Sauvegarde en cours…</source>
        <translation>正在保存…</translation>
    </message>
    <message>
        <source>Sauvegardé localement</source>
        <translation>已保存到本地</translation>
    </message>
    <message>
        <source>Brouillon restauré</source>
        <translation>草稿已恢复</translation>
    </message>
    <message>
        <source>Choisis un dossier de notes</source>
        <translation>请选择笔记文件夹</translation>
    </message>
    <message>
        <source>Indexation…</source>
        <translation>正在索引…</translation>
    </message>
    <message>
        <source>Dossier sans note Markdown</source>
        <translation>文件夹中没有 Markdown 笔记</translation>
    </message>
    <message>
        <source>Aucun résultat</source>
        <translation>无结果</translation>
    </message>
    <message>
        <source>Dossier inaccessible : %@</source>
        <translation>无法访问文件夹：%@</translation>
    </message>
    <message>
        <source>La destination d’origine n’existe plus. Choisis une destination.</source>
        <translation>原来的目标已不存在。请选择一个目标。</translation>
    </message>
    <message>
        <source>Destination non résolue</source>
        <translation>目标未解析</translation>
    </message>
    <message>
        <source>Le brouillon n’a pas pu être sauvegardé : %@</source>
        <translation>草稿未能保存：%@</translation>
    </message>
    <message>
        <source>Le catalogue des versions publiées est inutilisable.</source>
        <translation>已发布版本的目录无法使用。</translation>
    </message>
    <message>
        <source>Le serveur des mises à jour a renvoyé une réponse invalide.</source>
        <translation>更新服务器返回了无效的响应。</translation>
    </message>
    <message>
        <source>Recherche des mises à jour…</source>
        <translation>正在检查更新…</translation>
    </message>
    <message>
        <source>Quillor %@ est disponible.</source>
        <translation>Quillor %@ 现已推出。</translation>
    </message>
    <message>
        <source>Quillor est à jour.</source>
        <translation>Quillor 已是最新版本。</translation>
    </message>
    <message>
        <source>Impossible de rechercher les mises à jour. Vérifie ta connexion et réessaie.</source>
        <translation>无法检查更新。请检查网络连接后重试。</translation>
    </message>
    <message>
        <source>Nouveautés de Quillor</source>
        <translation>Quillor 新功能</translation>
    </message>
    <message>
        <source>Version installée : %@</source>
        <translation>已安装版本：%@</translation>
    </message>
    <message>
        <source>Les mises à jour de cette application sont gérées par le Mac App Store.</source>
        <translation>此应用的更新由软件中心管理。</translation>
    </message>
    <message>
        <source>Télécharge l’installateur, puis quitte Quillor et ouvre le fichier .pkg. Tes réglages et brouillons seront conservés.</source>
        <translation>下载安装程序，然后退出 Quillor 并运行 .AppImage 文件。你的设置和草稿会保留。</translation>
    </message>
    <message>
        <source>Fermer</source>
        <translation>关闭</translation>
    </message>
    <message>
        <source>Ouvrir le Mac App Store</source>
        <translation>打开软件中心</translation>
    </message>
    <message>
        <source>Mettre à jour Quillor</source>
        <translation>更新 Quillor</translation>
    </message>
    <message>
        <source>Ajoute une destination.</source>
        <translation>请添加一个目标。</translation>
    </message>
    <message>
        <source>Choisis un seul caractère de ponctuation comme préfixe.</source>
        <translation>请选择单个标点符号作为前缀。</translation>
    </message>
    <message>
        <source>Tag du vault</source>
        <translation>仓库标签</translation>
    </message>
    <message>
        <source>Compléter</source>
        <translation>补全</translation>
    </message>
    <message>
        <source>Choisir la destination</source>
        <translation>选择目标</translation>
    </message>
    <message>
        <source>Cette image dépasse 50 Mo.</source>
        <translation>此图片超过 50 MB。</translation>
    </message>
    <message>
        <source>Cette image rendrait le brouillon trop volumineux pour être rouvert : les images déjà ajoutées, même retirées, y restent jusqu’à l’envoi. Le brouillon est conservé.</source>
        <translation>这张图片会使草稿过大而无法再次打开：已添加的图片（包括已移除的）在发送前都会保留在草稿中。草稿已保留。</translation>
    </message>
    <message>
        <source>Cette image est illisible.</source>
        <translation>无法读取此图片。</translation>
    </message>
    <message>
        <source>Enregistré dans %@</source>
        <translation>已保存到 %@</translation>
    </message>
    <message>
        <source>Espace</source>
        <translation>空格</translation>
    </message>
    <message>
        <source>Ce raccourci est déjà réservé. Ferme l’application qui l’utilise ou choisis une autre combinaison.</source>
        <translation>此快捷键已被占用。请退出正在使用它的应用，或选择其他组合。</translation>
    </message>
    <message>
        <source>Ce raccourci est indisponible (%@).</source>
        <translation>此快捷键不可用（%@）。</translation>
    </message>
    <message>
        <source> Le raccourci actif est conservé.</source>
        <translation> 当前快捷键保持不变。</translation>
    </message>
    <message>
        <source> Ouvre les réglages depuis le menu Quillor.</source>
        <translation> 请从 Quillor 菜单打开设置。</translation>
    </message>
    <message>
        <source>Saisir</source>
        <translation>输入</translation>
    </message>
    <message>
        <source>Supprimer</source>
        <translation>删除</translation>
    </message>
    <message>
        <source>Glisser pour déplacer · %@ / %@</source>
        <translation>拖动以移动 · %@ / %@</translation>
    </message>
    <message>
        <source>Indenter</source>
        <translation>增加缩进</translation>
    </message>
    <message>
        <source>Désindenter</source>
        <translation>减少缩进</translation>
    </message>
    <message>
        <source>Créer une tâche</source>
        <translation>创建任务</translation>
    </message>
    <message>
        <source>Déplacer la ligne</source>
        <translation>移动行</translation>
    </message>
    <message>
        <source>Insérer un lien vers une note</source>
        <translation>插入笔记链接</translation>
    </message>
    <message>
        <source>Sélectionne du texte sans image pour créer un lien.</source>
        <translation>请选择不含图片的文字来创建链接。</translation>
    </message>
    <message>
        <source>Contenu de la capture</source>
        <translation>捕捉内容</translation>
    </message>
    <message>
        <source>Choisir le dossier…</source>
        <translation>选择文件夹…</translation>
    </message>
    <message>
        <source>Destination : %@</source>
        <translation>目标：%@</translation>
    </message>
    <message>
        <source> · par défaut</source>
        <translation> · 默认</translation>
    </message>
    <message>
        <source>Gérer les destinations…</source>
        <translation>管理目标…</translation>
    </message>
    <message>
        <source>Voir l’image en grand</source>
        <translation>查看大图</translation>
    </message>
    <message>
        <source>Agrandir l’image %@</source>
        <translation>放大图片 %@</translation>
    </message>
    <message>
        <source>Supprimer l’image</source>
        <translation>移除图片</translation>
    </message>
    <message>
        <source>Supprimer l’image %@</source>
        <translation>移除图片 %@</translation>
    </message>
    <message>
        <source>Enregistrement…</source>
        <translation>正在保存…</translation>
    </message>
    <message>
        <source>Capturer</source>
        <translation>捕捉</translation>
    </message>
    <message>
        <source>Réessayer</source>
        <translation>重试</translation>
    </message>
    <message>
        <source>Choisir le dossier</source>
        <translation>选择文件夹</translation>
    </message>
    <message>
        <source>Joindre des images</source>
        <translation>附加图片</translation>
    </message>
    <message>
        <source>Annuler</source>
        <translation>取消</translation>
    </message>
    <message>
        <source>Fermer et conserver le brouillon</source>
        <translation>关闭并保留草稿</translation>
    </message>
    <message>
        <source>Indisponible</source>
        <translation>不可用</translation>
    </message>
    <message>
        <source>Raccourci mémorisé : </source>
        <translation>已保存的快捷键： </translation>
    </message>
    <message>
        <source> Utilise le menu Quillor pour capturer.</source>
        <translation> 请使用 Quillor 菜单进行捕捉。</translation>
    </message>
    <message>
        <source>Choisis un dossier Obsidian ou Markdown.</source>
        <translation>请选择一个 Obsidian 或 Markdown 文件夹。</translation>
    </message>
    <message>
        <source>Réglages</source>
        <translation>设置</translation>
    </message>
    <message>
        <source>Aide</source>
        <translation>帮助</translation>
    </message>
    <message>
        <source>Quillor n’a pas pu redémarrer (%@).</source>
        <translation>Quillor 无法重新启动（%@）。</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>测试</translation>
    </message>
    <message>
        <source>Sandbox</source>
        <translation>沙盒</translation>
    </message>
    <message>
        <source>Application</source>
        <translation>应用程序</translation>
    </message>
    <message>
        <source>Raccourci indisponible ; tu peux toujours ouvrir la capture depuis ce menu.</source>
        <translation>快捷键不可用；你仍可从此菜单打开捕捉。</translation>
    </message>
    <message>
        <source>Aucune capture livrée</source>
        <translation>尚无已送达的捕捉</translation>
    </message>
    <message>
        <source>Note</source>
        <translation>笔记</translation>
    </message>
    <message>
        <source>Dernière capture : </source>
        <translation>最近一次捕捉： </translation>
    </message>
    <message>
        <source>Nouvelle capture</source>
        <translation>新建捕捉</translation>
    </message>
    <message>
        <source>Réglages…</source>
        <translation>设置…</translation>
    </message>
    <message>
        <source>Historique des captures…</source>
        <translation>捕捉历史…</translation>
    </message>
    <message>
        <source>Dernière capture</source>
        <translation>最近一次捕捉</translation>
    </message>
    <message>
        <source>Afficher la dernière capture dans le Finder</source>
        <translation>在文件管理器中显示最近一次捕捉</translation>
    </message>
    <message>
        <source>Ouvrir la dernière note</source>
        <translation>打开最近的笔记</translation>
    </message>
    <message>
        <source>Afficher les données locales</source>
        <translation>显示本地数据</translation>
    </message>
    <message>
        <source>Quitter Quillor</source>
        <translation>退出 Quillor</translation>
    </message>
    <message>
        <source>Les réglages n’ont pas pu être lus : Quillor utilise les réglages par défaut. Le fichier illisible est gardé dans « %@ ».</source>
        <translation>无法读取设置：Quillor 正在使用默认设置。无法读取的文件保存在“%@”中。</translation>
    </message>
    <message>
        <source>Les réglages n’ont pas pu être lus ni mis de côté (%@) : Quillor utilise les réglages par défaut et n’enregistrera aucun réglage avant le prochain lancement.</source>
        <translation>无法读取设置，也无法将其移到一旁（%@）：Quillor 正在使用默认设置，在下次启动前不会保存任何设置。</translation>
    </message>
    <message>
        <source>Le brouillon est trop volumineux pour être ouvert : Quillor commence un nouveau brouillon. Le fichier est gardé dans « %@ ».</source>
        <translation>草稿太大，无法打开：Quillor 将开始一份新草稿。该文件保存在“%@”中。</translation>
    </message>
    <message>
        <source>Le brouillon est trop volumineux pour être ouvert et n’a pas pu être mis de côté (%@) : Quillor commence un nouveau brouillon.</source>
        <translation>草稿太大，无法打开，也无法移到一旁（%@）：Quillor 将开始一份新草稿。</translation>
    </message>
    <message>
        <source>Le reçu « %@ » est trop volumineux pour être lu : il est ignoré.</source>
        <translation>回执“%@”太大，无法读取：已忽略。</translation>
    </message>
    <message>
        <source>Les réglages ne peuvent pas être enregistrés : « %@ » n’a pas pu être lu ni mis de côté au lancement. Déplace ou corrige ce fichier, puis relance Quillor.</source>
        <translation>无法保存设置：启动时无法读取“%@”，也无法将其移到一旁。请移动或修复此文件，然后重新启动 Quillor。</translation>
    </message>
    <message>
        <source>⌘↵</source>
        <translation>Ctrl+↵</translation>
    </message>
    <message>
        <source>Une idée, un lien, une image…</source>
        <translation>一个想法、一个链接、一张图片…</translation>
    </message>
    <message>
        <source>Ouverture du brouillon…</source>
        <translation>正在打开草稿…</translation>
    </message>
    <message>
        <source>Déplacer la capture</source>
        <translation>移动捕捉窗口</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion n’a pas pu être activée : %@</source>
        <translation>无法开启登录时打开：%@</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion n’a pas pu être désactivée : %@</source>
        <translation>无法关闭登录时打开：%@</translation>
    </message>
    <message>
        <source>Tape le raccourci…</source>
        <translation>请按下快捷键…</translation>
    </message>
    <message>
        <source>Langue</source>
        <translation>语言</translation>
    </message>
    <message>
        <source>Langue du système</source>
        <translation>系统语言</translation>
    </message>
    <message>
        <source>La langue choisie sera utilisée au prochain démarrage de Quillor.</source>
        <translation>所选语言将在 Quillor 下次启动时生效。</translation>
    </message>
    <message>
        <source>Redémarre Quillor pour appliquer la nouvelle langue.</source>
        <translation>重新启动 Quillor 以应用新语言。</translation>
    </message>
    <message>
        <source>Redémarrer Quillor</source>
        <translation>重新启动 Quillor</translation>
    </message>
    <message>
        <source>Démarrage</source>
        <translation>启动</translation>
    </message>
    <message>
        <source>Ouvrir à la connexion</source>
        <translation>登录时打开</translation>
    </message>
    <message>
        <source>L’ouverture à la connexion est immédiate et n’est pas annulée par Rétablir les modifications.</source>
        <translation>“登录时打开”会立即生效，且不会被“还原更改”撤销。</translation>
    </message>
    <message>
        <source>Ouvrir la capture</source>
        <translation>打开捕捉</translation>
    </message>
    <message>
        <source>Raccourci souhaité</source>
        <translation>想要的快捷键</translation>
    </message>
    <message>
        <source>Déclencheur de destination</source>
        <translation>目标触发符</translation>
    </message>
    <message>
        <source>Actif : %@</source>
        <translation>当前：%@</translation>
    </message>
    <message>
        <source>Saisis %@ suivi du nom du dossier ou de son alias pour choisir une destination.</source>
        <translation>输入 %@ 后接文件夹名称或其别名来选择目标。</translation>
    </message>
    <message>
        <source>Ajouter une destination…</source>
        <translation>添加目标…</translation>
    </message>
    <message>
        <source>Suggestions</source>
        <translation>建议</translation>
    </message>
    <message>
        <source>Actualiser les notes et tags</source>
        <translation>刷新笔记和标签</translation>
    </message>
    <message>
        <source>notes.indexed</source>
        <translation>已索引的笔记：%d</translation>
    </message>
    <message>
        <source>Choisis le dossier dans lequel enregistrer tes captures.</source>
        <translation>选择用来保存捕捉的文件夹。</translation>
    </message>
    <message>
        <source>Rechercher dans les réglages</source>
        <translation>搜索设置</translation>
    </message>
    <message>
        <source>Effacer la recherche</source>
        <translation>清除搜索</translation>
    </message>
    <message>
        <source>Rétablir les modifications</source>
        <translation>还原更改</translation>
    </message>
    <message>
        <source>Appliquer</source>
        <translation>应用</translation>
    </message>
    <message>
        <source>Modifications non enregistrées</source>
        <translation>更改未保存</translation>
    </message>
    <message>
        <source>Modifications enregistrées</source>
        <translation>更改已保存</translation>
    </message>
    <message>
        <source>Enregistrer les modifications des réglages ?</source>
        <translation>保存对设置的更改吗？</translation>
    </message>
    <message>
        <source>Les modifications non enregistrées seront perdues. Le démarrage à la connexion reste inchangé.</source>
        <translation>未保存的更改将会丢失。“登录时打开”保持不变。</translation>
    </message>
    <message>
        <source>Ignorer les modifications</source>
        <translation>放弃更改</translation>
    </message>
    <message>
        <source>Mode modifié : vérifie et confirme le nouveau chemin.</source>
        <translation>模式已更改：请检查并确认新路径。</translation>
    </message>
    <message>
        <source>Chaque capture créera une nouvelle note dans ce dossier :</source>
        <translation>每次捕捉都会在此文件夹中新建一篇笔记：</translation>
    </message>
    <message>
        <source>date-identifiant.md</source>
        <translation>日期-标识.md</translation>
    </message>
    <message>
        <source>Chaque capture sera ajoutée à la fin de cette note :</source>
        <translation>每次捕捉都会追加到这篇笔记的末尾：</translation>
    </message>
    <message>
        <source>Chaque capture sera ajoutée à la note de sa date de capture :</source>
        <translation>每次捕捉都会追加到其捕捉日期的笔记中：</translation>
    </message>
    <message>
        <source>Par défaut</source>
        <translation>默认</translation>
    </message>
    <message>
        <source>À vérifier</source>
        <translation>待检查</translation>
    </message>
    <message>
        <source>Dossier de destination</source>
        <translation>目标文件夹</translation>
    </message>
    <message>
        <source>Alias (facultatif)</source>
        <translation>别名（可选）</translation>
    </message>
    <message>
        <source>Enregistrement</source>
        <translation>保存方式</translation>
    </message>
    <message>
        <source>Nom de la note</source>
        <translation>笔记名称</translation>
    </message>
    <message>
        <source>Confirmer ce chemin</source>
        <translation>确认此路径</translation>
    </message>
    <message>
        <source>Utiliser par défaut</source>
        <translation>设为默认</translation>
    </message>
    <message>
        <source>Supprimer la destination</source>
        <translation>移除目标</translation>
    </message>
    <message>
        <source>Retire uniquement la configuration ; les notes sont conservées.</source>
        <translation>只移除配置；笔记会保留。</translation>
    </message>
    <message>
        <source>Déplié</source>
        <translation>已展开</translation>
    </message>
    <message>
        <source>Replié</source>
        <translation>已折叠</translation>
    </message>
    <message>
        <source>Aucun dossier choisi</source>
        <translation>未选择文件夹</translation>
    </message>
    <message>
        <source>Nom de commande : %@. L’alias offre une autre manière de choisir ce dossier.</source>
        <translation>命令名称：%@。别名提供了选择此文件夹的另一种方式。</translation>
    </message>
    <message>
        <source>Édition</source>
        <translation>编辑</translation>
    </message>
    <message>
        <source>action.undo</source>
        <translation>撤消</translation>
    </message>
    <message>
        <source>action.redo</source>
        <translation>重做</translation>
    </message>
    <message>
        <source>Couper</source>
        <translation>剪切</translation>
    </message>
    <message>
        <source>Copier</source>
        <translation>复制</translation>
    </message>
    <message>
        <source>Coller</source>
        <translation>粘贴</translation>
    </message>
    <message>
        <source>Tout sélectionner</source>
        <translation>全选</translation>
    </message>
    <message>
        <source>Lien vers une note…</source>
        <translation>笔记链接…</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est illisible : son contenu n’est pas un enregistrement valide.</source>
        <translation>收件箱文件“%@”无法读取：其内容不是有效的记录。</translation>
    </message>
    <message>
        <source>Les images de cette modification du brouillon ne correspondent pas à celles de son dernier enregistrement : elle ne peut pas lui être appliquée.</source>
        <translation>此草稿修改中的图片与其上次保存的图片不一致：无法应用此修改。</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est endommagé : son nom ne correspond pas à la capture qu’il contient.</source>
        <translation>收件箱文件“%@”已损坏：其名称与其中的捕捉不符。</translation>
    </message>
    <message>
        <source>Choisir une destination</source>
        <translation>选择目标</translation>
    </message>
    <message>
        <source>Dossier de notes (vault)</source>
        <translation>笔记文件夹（仓库）</translation>
    </message>
    <message>
        <source>Restaurer comme nouveau brouillon</source>
        <translation>恢复为新草稿</translation>
    </message>
    <message>
        <source>Brouillon</source>
        <translation>草稿</translation>
    </message>
    <message>
        <source>Archiver puis effacer</source>
        <translation>归档并清空</translation>
    </message>
    <message>
        <source>Ouvrir la note</source>
        <translation>打开笔记</translation>
    </message>
    <message>
        <source>Version</source>
        <translation>版本</translation>
    </message>
    <message>
        <source>Mises à jour</source>
        <translation>更新</translation>
    </message>
    <message>
        <source>Rechercher les mises à jour</source>
        <translation>检查更新</translation>
    </message>
    <message>
        <source>Tes notes restent à toi</source>
        <translation>你的笔记只属于你</translation>
    </message>
    <message>
        <source>Tes captures sont enregistrées sur ton Mac et dans les dossiers que tu choisis. Sans compte, sans publicité, sans suivi.</source>
        <translation>你的捕捉保存在你的电脑上和你选择的文件夹中。没有账户，没有广告，没有跟踪。</translation>
    </message>
    <message>
        <source>Raccourci global configurable dans Général.</source>
        <translation>全局快捷键，可在“通用”中设置。</translation>
    </message>
    <message>
        <source>Enregistrer dans la destination choisie.</source>
        <translation>保存到所选目标。</translation>
    </message>
    <message>
        <source>Masquer et conserver le brouillon</source>
        <translation>隐藏并保留草稿</translation>
    </message>
    <message>
        <source>Ferme d’abord les suggestions.</source>
        <translation>会先关闭建议。</translation>
    </message>
    <message>
        <source>Échap</source>
        <translation>Esc</translation>
    </message>
    <message>
        <source>Édition du texte</source>
        <translation>文本编辑</translation>
    </message>
    <message>
        <source>Annuler, couper, copier, coller et tout sélectionner.</source>
        <translation>撤销、剪切、复制、粘贴和全选。</translation>
    </message>
    <message>
        <source>Indenter / désindenter</source>
        <translation>增加 / 减少缩进</translation>
    </message>
    <message>
        <source>Ajoute ou retire quatre espaces au début des lignes sélectionnées, même avec le curseur au milieu.</source>
        <translation>在所选各行的开头添加或删除四个空格，即使光标位于行中间也可以。</translation>
    </message>
    <message>
        <source>Sur une ligne contenant seulement - , un espace supplémentaire crée - [ ] . Cliquer sur la case coche ou décoche la tâche.</source>
        <translation>在只有 - 的行上，再输入一个空格会变成 - [ ] 。点击复选框可勾选或取消勾选任务。</translation>
    </message>
    <message>
        <source>Retirer la case à cocher</source>
        <translation>移除复选框</translation>
    </message>
    <message>
        <source>Au début du texte d’une tâche, Retour arrière retire sa case et conserve la puce.</source>
        <translation>在任务文字的开头，按退格键会移除其复选框并保留项目符号。</translation>
    </message>
    <message>
        <source>Listes et tâches</source>
        <translation>列表和任务</translation>
    </message>
    <message>
        <source>Entrée continue la liste ; sur une puce vide, Entrée termine la liste. Les tâches continuent avec une case vide.</source>
        <translation>按回车键会继续列表；在空的项目符号上按回车键会结束列表。任务会以空复选框继续。</translation>
    </message>
    <message>
        <source>Déplace la ligne vers le haut ou le bas. Les lignes de liste peuvent aussi être déplacées avec leur poignée.</source>
        <translation>将行上移或下移。列表行也可以通过其拖动手柄移动。</translation>
    </message>
    <message>
        <source>Le préfixe propose des destinations dans le texte. Entrée, Tab ou un clic change le sélecteur et retire le raccourci. Maj+Entrée insère une nouvelle ligne ; Échap ferme les suggestions.</source>
        <translation>前缀会在文字中建议目标。按回车键、Tab 键或点击会更改目标选择器并移除这段前缀。Shift+回车键插入新行；Esc 关闭建议。</translation>
    </message>
    <message>
        <source>Parcourir les suggestions</source>
        <translation>浏览建议</translation>
    </message>
    <message>
        <source>Flèches pour choisir, Entrée, Tab ou un clic pour valider, Échap pour fermer. Maj+Entrée insère une nouvelle ligne.</source>
        <translation>用方向键选择，用回车键、Tab 键或点击确认，用 Esc 关闭。Shift+回车键插入新行。</translation>
    </message>
    <message>
        <source>Lien vers une note</source>
        <translation>笔记链接</translation>
    </message>
    <message>
        <source>Rechercher une note ou écrire un wiki lien avec un libellé facultatif.</source>
        <translation>搜索笔记，或编写带可选显示文字的 wiki 链接。</translation>
    </message>
    <message>
        <source>[[note]] · [[note|libellé]]</source>
        <translation>[[笔记]] · [[笔记|显示文字]]</translation>
    </message>
    <message>
        <source>Tag</source>
        <translation>标签</translation>
    </message>
    <message>
        <source>Le caractère # propose les tags du dossier de notes.</source>
        <translation>输入 # 会建议笔记文件夹中的标签。</translation>
    </message>
    <message>
        <source>#tag · #tag/enfant</source>
        <translation>#标签 · #标签/子标签</translation>
    </message>
    <message>
        <source>Mise en forme Markdown</source>
        <translation>Markdown 格式</translation>
    </message>
    <message>
        <source>Titres de # à ######, gras, italique et code. La syntaxe reste visible et est conservée à l’enregistrement.</source>
        <translation>从 # 到 ###### 的标题、粗体、斜体和代码。语法保持可见，并会原样保存。</translation>
    </message>
    <message>
        <source># titre · **gras** · *italique* · `code` · ```</source>
        <translation># 标题 · **粗体** · *斜体* · `代码` · ```</translation>
    </message>
    <message>
        <source>Liens et URLs</source>
        <translation>链接和网址</translation>
    </message>
    <message>
        <source>Ouvrir les liens</source>
        <translation>打开链接</translation>
    </message>
    <message>
        <source>Commande-clic ouvre un lien. Les liens Markdown et les URLs restent du texte modifiable.</source>
        <translation>按住 Ctrl 点击可打开链接。Markdown 链接和网址仍是可编辑的文字。</translation>
    </message>
    <message>
        <source>[libellé](https://…) · https://… · ⌘+clic</source>
        <translation>[文字](https://…) · https://… · Ctrl+点击</translation>
    </message>
    <message>
        <source>Images</source>
        <translation>图片</translation>
    </message>
    <message>
        <source>Coller, glisser une image ou utiliser le trombone. Cliquer sur une vignette ouvre son aperçu ; la croix permet de la supprimer.</source>
        <translation>粘贴、拖入图片或使用回形针按钮。点击缩略图可打开预览；点击叉号可将其移除。</translation>
    </message>
    <message>
        <source>Le brouillon est conservé localement.</source>
        <translation>草稿会保存在本地。</translation>
    </message>
    <message>
        <source>Capture</source>
        <translation>捕捉</translation>
    </message>
    <message>
        <source>Suggestions et contenu</source>
        <translation>建议和内容</translation>
    </message>
    <message>
        <source>⌘+clic</source>
        <translation>Ctrl+点击</translation>
    </message>
    <message>
        <source>Configurer le raccourci…</source>
        <translation>设置快捷键…</translation>
    </message>
    <message>
        <source>Capture locale · destination historique inconnue</source>
        <translation>本地捕捉 · 原目标未知</translation>
    </message>
    <message>
        <source>Captures locales</source>
        <translation>本地捕捉</translation>
    </message>
    <message>
        <source>Actualiser</source>
        <translation>刷新</translation>
    </message>
    <message>
        <source>Lecture de l’historique…</source>
        <translation>正在读取历史记录…</translation>
    </message>
    <message>
        <source>Cette capture n’a pas pu être lue en entier : elle ne peut pas être restaurée.</source>
        <translation>无法完整读取此捕获：无法恢复。</translation>
    </message>
    <message>
        <source>Texte trop long pour être affiché ici : restaure la capture pour le retrouver.</source>
        <translation>文本太长，无法在此显示：恢复此捕获即可取回。</translation>
    </message>
    <message>
        <source>Afficher dans le Finder</source>
        <translation>在文件管理器中显示</translation>
    </message>
    <message>
        <source>Exporter la note…</source>
        <translation>导出笔记…</translation>
    </message>
    <message>
        <source>Sauvegarde de la note avant ajout</source>
        <translation>追加前的笔记备份</translation>
    </message>
    <message>
        <source>Consulter la sauvegarde</source>
        <translation>查看备份</translation>
    </message>
    <message>
        <source>Exporter la sauvegarde…</source>
        <translation>导出备份…</translation>
    </message>
    <message>
        <source>Aucune capture dans l’historique</source>
        <translation>历史记录中没有捕捉</translation>
    </message>
    <message>
        <source>Tes captures enregistrées et tes brouillons archivés apparaîtront ici.</source>
        <translation>你保存的捕捉和归档的草稿会显示在这里。</translation>
    </message>
    <message>
        <source>Sélectionne une capture pour consulter ou récupérer son contenu.</source>
        <translation>选择一条捕捉以查看或恢复其内容。</translation>
    </message>
    <message>
        <source>Conserver le brouillon actuel avant de restaurer ?</source>
        <translation>恢复前要保留当前草稿吗？</translation>
    </message>
    <message>
        <source>Le brouillon actuel restera récupérable dans cet historique. Aucun fichier de notes ne sera remplacé.</source>
        <translation>当前草稿仍可在此历史记录中恢复。不会替换任何笔记文件。</translation>
    </message>
    <message>
        <source>Archiver puis remplacer</source>
        <translation>归档并替换</translation>
    </message>
    <message>
        <source>Échap masque la capture et conserve la saisie. Le brouillon est sauvegardé localement.</source>
        <translation>Esc 会隐藏捕捉窗口并保留已输入的内容。草稿会保存在本地。</translation>
    </message>
    <message>
        <source>Effacer le brouillon…</source>
        <translation>清空草稿…</translation>
    </message>
    <message>
        <source>Effacer ce brouillon ?</source>
        <translation>要清空此草稿吗？</translation>
    </message>
    <message>
        <source>Son contenu restera récupérable dans l’historique local.</source>
        <translation>其内容仍可在本地历史记录中恢复。</translation>
    </message>
    <message>
        <source>Diagnostic</source>
        <translation>诊断</translation>
    </message>
    <message>
        <source>Confidentialité et mentions légales</source>
        <translation>隐私和法律声明</translation>
    </message>
    <message>
        <source>Rechercher automatiquement les mises à jour</source>
        <translation>自动检查更新</translation>
    </message>
    <message>
        <source>Une vérification par jour lorsque Quillor est ouvert.</source>
        <translation>Quillor 打开期间每天检查一次。</translation>
    </message>
    <message>
        <source>Afficher les changelogs</source>
        <translation>显示更新日志</translation>
    </message>
    <message>
        <source>Dernière vérification</source>
        <translation>上次检查</translation>
    </message>
    <message>
        <source>Choisis un dossier de pièces jointes dans le dossier de notes.</source>
        <translation>请在笔记文件夹中选择附件文件夹。</translation>
    </message>
    <message>
        <source>Pièces jointes</source>
        <translation>附件</translation>
    </message>
    <message>
        <source>Utiliser les réglages Obsidian</source>
        <translation>使用 Obsidian 设置</translation>
    </message>
    <message>
        <source>Emplacement</source>
        <translation>位置</translation>
    </message>
    <message>
        <source>Nom du sous-dossier</source>
        <translation>子文件夹名称</translation>
    </message>
    <message>
        <source>Les pièces jointes existantes ne sont pas déplacées.</source>
        <translation>现有附件不会被移动。</translation>
    </message>
    <message>
        <source>Coffre Obsidian détecté : %@</source>
        <translation>检测到 Obsidian 仓库：%@</translation>
    </message>
    <message>
        <source>Cette option est disponible uniquement si la destination est contenue dans un coffre Obsidian avec un dossier .obsidian.</source>
        <translation>只有当目标位于带有 .obsidian 文件夹的 Obsidian 仓库中时，此选项才可用。</translation>
    </message>
    <message>
        <source>Ctrl+↵</source>
        <translation>Ctrl+↵</translation>
    </message>
    <message>
        <source>Ajouter des images</source>
        <translation>添加图片</translation>
    </message>
    <message>
        <source>Coller la capture</source>
        <translation>粘贴捕捉</translation>
    </message>
    <message>
        <source>Une pièce jointe du presse-papiers est illisible ou dépasse 50 Mo. Le brouillon est conservé.</source>
        <translation>剪贴板中的某个附件无法读取或超过 50 MB。草稿已保留。</translation>
    </message>
    <message>
        <source>Ajouter des images à cette capture.</source>
        <translation>向此捕捉添加图片。</translation>
    </message>
    <message>
        <source>Aperçu de l’image</source>
        <translation>图片预览</translation>
    </message>
    <message>
        <source>Image en grand</source>
        <translation>放大的图片</translation>
    </message>
    <message>
        <source>Aucune note correspondante. Actualise les suggestions ou vérifie le lien.</source>
        <translation>没有匹配的笔记。请刷新建议或检查链接。</translation>
    </message>
    <message>
        <source>Cocher la tâche</source>
        <translation>切换任务状态</translation>
    </message>
    <message>
        <source>Sélectionné, %1$@ sur %2$@</source>
        <translation>已选择，第 %1$@ 项，共 %2$@ 项</translation>
    </message>
    <message>
        <source>%1$@ sur %2$@</source>
        <translation>第 %1$@ 项，共 %2$@ 项</translation>
    </message>
    <message>
        <source>, %1$@ sur %2$@</source>
        <translation>，第 %1$@ 项，共 %2$@ 项</translation>
    </message>
    <message>
        <source>suggestions.count</source>
        <translation>建议：%@</translation>
    </message>
    <message>
        <source>Le module réseau de Quillor est introuvable : réinstalle Quillor.</source>
        <translation>找不到 Quillor 的网络模块：请重新安装 Quillor。</translation>
    </message>
    <message>
        <source>Le fichier « %@ » de la boîte de réception est illisible : il est bien plus volumineux qu’un enregistrement.</source>
        <translation>收件箱文件“%@”无法读取：它远大于一条记录。</translation>
    </message>
    <message>
        <source>Une image n’a pas été ajoutée : le brouillon a été remplacé pendant sa lecture.</source>
        <translation>有一张图片未添加：读取图片时草稿已被替换。</translation>
    </message>
    <message>
        <source>Une image n’a pas été ajoutée : son fichier a été supprimé ou déplacé pendant sa lecture.</source>
        <translation>有一张图片未添加：读取图片时其文件已被删除或移动。</translation>
    </message>
    <message>
        <source>%@ images n’ont pas été ajoutées : leurs fichiers ont été supprimés ou déplacés pendant leur lecture.</source>
        <translation>有 %@ 张图片未添加：读取这些图片时其文件已被删除或移动。</translation>
    </message>
    <message>
        <source>Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : « %@ ».</source>
        <translation>无法使用此仓库在 .obsidian/app.json 中的附件设置：“%@”。</translation>
    </message>
    <message>
        <source>Le réglage des pièces jointes de ce coffre dans .obsidian/app.json ne peut pas être utilisé : le fichier est illisible ou trop volumineux.</source>
        <translation>无法使用此仓库在 .obsidian/app.json 中的附件设置：该文件无法读取或过大。</translation>
    </message>
    <message>
        <source>Rien n’a pu ouvrir « %@ » : aucune application du bureau ne s’en charge.</source>
        <translation>无法打开“%@”：桌面上没有可处理它的应用程序。</translation>
    </message>
    <message>
        <source>Rien n’a pu afficher « %@ » : aucun gestionnaire de fichiers ne répond.</source>
        <translation>无法显示“%@”：没有文件管理器响应。</translation>
    </message>
</context>
</TS>
