#include "settings/SettingsCatalog.h"

#include "core/CaptureGuide.h"
#include "core/L10n.h"
#include "core/TextFolding.h"

#include <QKeySequence>

#include <algorithm>
#include <initializer_list>

namespace quillor {

namespace {

// Case and diacritics both ignored. Qt folds case simply: "ß" stays "ß" and
// no language's own rules (Turkish dotless i) apply, which a search of
// setting names can live with.
QString folded(const QString& text)
{
    return TextFolding::foldDiacriticsAndWidth(text).toCaseFolded();
}

QStringList words(const QString& text)
{
    QStringList result;
    QString word;
    for (const QChar c : text) {
        if (c.isSpace()) {
            if (!word.isEmpty())
                result.append(word);
            word.clear();
        } else {
            word += c;
        }
    }
    if (!word.isEmpty())
        result.append(word);
    return result;
}

SettingsEntry entry(const QString& id, SettingsSection section, const QString& title, const QString& detail,
                    const QString& gesture = {}, const QString& keywords = {})
{
    return {id, section, title, detail, gesture, keywords};
}

QList<SettingsEntry> settingsEntries(const QString& hotkey, const QString& prefix)
{
    using S = SettingsSection;
    const auto t = L10n::text;
    return {
        entry(QStringLiteral("language"), S::general, t(L10N_KEY("Langue")),
              t(L10N_KEY("La langue choisie sera utilisée au prochain démarrage de Quillor.")), {},
              QStringLiteral("language langue idioma Sprache 语言")),
        entry(QStringLiteral("login"), S::general, t(L10N_KEY("Ouvrir à la connexion")), {}, {},
              QStringLiteral("startup login démarrage")),
        entry(QStringLiteral("capture"), S::general, t(L10N_KEY("Raccourci souhaité")),
              t(L10N_KEY("Ouvrir la capture")), hotkey, QStringLiteral("clavier keyboard shortcut raccourci")),
        entry(QStringLiteral("prefix"), S::general, t(L10N_KEY("Déclencheur de destination")),
              t(L10N_KEY("Choisir une destination")), prefix + QStringLiteral("destination"),
              QStringLiteral("route routing alias prefix préfixe trigger déclencheur")),
        entry(QStringLiteral("destinations"), S::destinations, t(L10N_KEY("Destinations")),
              t(L10N_KEY("Dossier de notes (vault)")), {},
              QStringLiteral("vault Obsidian attachments pièces jointes folder dossier alias images enregistrement "
                             "défaut daily quotidien note chemin")),
        entry(QStringLiteral("history"), S::history, t(L10N_KEY("Historique des captures")),
              t(L10N_KEY("Restaurer comme nouveau brouillon")), {},
              QStringLiteral("history restore backup sauvegarde restauration export livraison")),
        entry(QStringLiteral("draft"), S::history, t(L10N_KEY("Brouillon")),
              t(L10N_KEY("Archiver puis effacer")), {}, QStringLiteral("draft clear effacer")),
        entry(QStringLiteral("local"), S::about, t(L10N_KEY("Afficher les données locales")), {}, {},
              QStringLiteral("local data finder fichiers")),
        entry(QStringLiteral("index"), S::destinations, t(L10N_KEY("Actualiser les notes et tags")), {}, {},
              QStringLiteral("index refresh rafraîchir")),
        entry(QStringLiteral("latest"), S::history, t(L10N_KEY("Dernière capture")),
              t(L10N_KEY("Ouvrir la note")), {}, QStringLiteral("latest dernière finder")),
        entry(QStringLiteral("about"), S::about, t(L10N_KEY("À propos")), t(L10N_KEY("Version")), {},
              QStringLiteral("version Quillor")),
        entry(QStringLiteral("updates"), S::about, t(L10N_KEY("Mises à jour")),
              t(L10N_KEY("Rechercher les mises à jour")), {},
              QStringLiteral("updates automatic daily changelog nouveautés version automatique quotidien")),
        entry(QStringLiteral("privacy"), S::about, t(L10N_KEY("Tes notes restent à toi")),
              t(L10N_KEY("Tes captures sont enregistrées sur ton Mac et dans les dossiers que tu choisis. Sans "
                               "compte, sans publicité, sans suivi.")),
              {}, QStringLiteral("privacy legal offline confidentialité mentions légales hors ligne")),
    };
}

// Keys as the desktop's menus spell them, in the interface language ("Maj+Tab"
// in French), one gesture each.
QString keys(std::initializer_list<QKeyCombination> combinations)
{
    QStringList names;
    for (const QKeyCombination combination : combinations)
        names.append(QKeySequence(combination).toString(QKeySequence::NativeText));
    return names.join(QStringLiteral(" \u00B7 "));
}

// The keyboard and editing reference the shortcut and guide lists come from.
QList<SettingsEntry> referenceEntries(const QString& hotkey, const QString& prefix)
{
    const auto t = L10n::text;
    const auto key = [&](const QString& id, const QString& title, const QString& detail, const QString& gesture,
                         const QString& keywords = {}) {
        return entry(id, SettingsSection::shortcuts, t(title), t(detail), gesture, keywords);
    };
    return {
        key(QStringLiteral("key-open"), L10N_KEY("Ouvrir la capture"),
            L10N_KEY("Raccourci global configurable dans Général."), hotkey),
        key(QStringLiteral("key-save"), L10N_KEY("Capturer"),
            L10N_KEY("Enregistrer dans la destination choisie."), keys({Qt::CTRL | Qt::Key_Return})),
        key(QStringLiteral("key-hide"), L10N_KEY("Masquer et conserver le brouillon"),
            L10N_KEY("Ferme d’abord les suggestions."), keys({Qt::Key_Escape})),
        key(QStringLiteral("key-settings"), L10N_KEY("Réglages…"), {}, keys({Qt::CTRL | Qt::Key_Comma})),
        key(QStringLiteral("key-edit"), L10N_KEY("Édition du texte"),
            L10N_KEY("Annuler, couper, copier, coller et tout sélectionner."),
            keys({Qt::CTRL | Qt::Key_Z, Qt::CTRL | Qt::Key_X, Qt::CTRL | Qt::Key_C, Qt::CTRL | Qt::Key_V,
                  Qt::CTRL | Qt::Key_A})),
        key(QStringLiteral("key-indent"), L10N_KEY("Indenter / désindenter"),
            L10N_KEY("Ajoute ou retire quatre espaces au début des lignes sélectionnées, même avec le curseur "
                     "au milieu."),
            keys({Qt::Key_Tab, Qt::SHIFT | Qt::Key_Tab}),
            QStringLiteral("indentation indenter désindenter clavier indent outdent")),
        key(QStringLiteral("key-task"), L10N_KEY("Créer une tâche"),
            L10N_KEY("Sur une ligne contenant seulement - , un espace supplémentaire crée - [ ] . Cliquer sur la "
                     "case coche ou décoche la tâche."),
            QStringLiteral("- ␣ → - [ ] "), QStringLiteral("checkbox todo case tâche task")),
        key(QStringLiteral("key-checkbox-backspace"), L10N_KEY("Retirer la case à cocher"),
            L10N_KEY("Au début du texte d’une tâche, Retour arrière retire sa case et conserve la puce."),
            keys({Qt::Key_Backspace})),
        key(QStringLiteral("key-list"), L10N_KEY("Listes et tâches"),
            L10N_KEY("Entrée continue la liste ; sur une puce vide, Entrée termine la liste. Les tâches "
                     "continuent avec une case vide."),
            QStringLiteral("- · + · * · - [ ] · - [x]")),
        key(QStringLiteral("key-move"), L10N_KEY("Déplacer la ligne"),
            L10N_KEY("Déplace la ligne vers le haut ou le bas. Les lignes de liste peuvent aussi être déplacées "
                     "avec leur poignée."),
            keys({Qt::ALT | Qt::Key_Up, Qt::ALT | Qt::Key_Down})),
        key(QStringLiteral("key-route"), L10N_KEY("Choisir une destination"),
            L10N_KEY("Le préfixe propose des destinations dans le texte. Entrée, Tab ou un clic change le "
                     "sélecteur et retire le raccourci. Maj+Entrée insère une nouvelle ligne ; Échap ferme les "
                     "suggestions."),
            prefix + QStringLiteral("destination")),
        key(QStringLiteral("key-suggest"), L10N_KEY("Parcourir les suggestions"),
            L10N_KEY("Flèches pour choisir, Entrée, Tab ou un clic pour valider, Échap pour fermer. Maj+Entrée "
                     "insère une nouvelle ligne."),
            keys({Qt::Key_Up, Qt::Key_Down, Qt::Key_Return, Qt::Key_Tab, Qt::SHIFT | Qt::Key_Return,
                  Qt::Key_Escape})),
        key(QStringLiteral("key-link"), L10N_KEY("Lien vers une note"),
            L10N_KEY("Rechercher une note ou écrire un wiki lien avec un libellé facultatif."),
            t(L10N_KEY("[[note]] · [[note|libellé]]")) + QStringLiteral(" · ") + keys({Qt::CTRL | Qt::Key_L})),
        key(QStringLiteral("key-tag"), L10N_KEY("Tag"),
            L10N_KEY("Le caractère # propose les tags du dossier de notes."), t(L10N_KEY("#tag · #tag/enfant"))),
        key(QStringLiteral("key-markdown"), L10N_KEY("Mise en forme Markdown"),
            L10N_KEY("Titres de # à ######, gras, italique et code. La syntaxe reste visible et est conservée à "
                     "l’enregistrement."),
            t(L10N_KEY("# titre · **gras** · *italique* · `code` · ```"))),
        key(QStringLiteral("key-url"), L10N_KEY("Liens et URLs"),
            L10N_KEY("Commande-clic ouvre un lien. Les liens Markdown et les URLs restent du texte modifiable."),
            t(L10N_KEY("[libellé](https://…) · https://… · ⌘+clic"))),
        key(QStringLiteral("key-images"), L10N_KEY("Images"),
            L10N_KEY("Coller, glisser une image ou utiliser le trombone. Cliquer sur une vignette ouvre son "
                     "aperçu ; la croix permet de la supprimer."),
            keys({Qt::CTRL | Qt::Key_V}) + QStringLiteral(" · ![[image.png]]")),
        key(QStringLiteral("key-quit"), L10N_KEY("Quitter Quillor"),
            L10N_KEY("Le brouillon est conservé localement."), keys({Qt::CTRL | Qt::Key_Q})),
    };
}

QString withoutGuidePrefix(const QString& id)
{
    QString result = id;
    return result.replace(QStringLiteral("guide-"), QStringLiteral("key-"));
}

} // namespace

// MARK: ShortcutGroup

QList<ShortcutGroup> ShortcutGroups::allCases()
{
    return {ShortcutGroup::capture, ShortcutGroup::editing, ShortcutGroup::suggestions};
}

QString ShortcutGroups::rawValue(ShortcutGroup group)
{
    switch (group) {
    case ShortcutGroup::capture: return QStringLiteral("capture");
    case ShortcutGroup::editing: return QStringLiteral("editing");
    case ShortcutGroup::suggestions: return QStringLiteral("suggestions");
    }
    return {};
}

std::optional<ShortcutGroup> ShortcutGroups::fromRawValue(const QString& rawValue)
{
    for (const ShortcutGroup group : allCases()) {
        if (ShortcutGroups::rawValue(group) == rawValue)
            return group;
    }
    return std::nullopt;
}

QString ShortcutGroups::header(ShortcutGroup group)
{
    switch (group) {
    case ShortcutGroup::capture: return L10n::text(L10N_KEY("Capture"));
    case ShortcutGroup::editing: return L10n::text(L10N_KEY("Édition du texte"));
    case ShortcutGroup::suggestions: return L10n::text(L10N_KEY("Suggestions et contenu"));
    }
    return {};
}

// MARK: SettingsEntry

ShortcutGroup SettingsEntry::shortcutGroup() const
{
    static const QStringList capture = {QStringLiteral("key-open"), QStringLiteral("key-save"),
                                        QStringLiteral("key-hide"), QStringLiteral("key-settings"),
                                        QStringLiteral("key-quit")};
    static const QStringList suggestions = {QStringLiteral("key-route"), QStringLiteral("key-suggest"),
                                            QStringLiteral("key-link"), QStringLiteral("key-tag"),
                                            QStringLiteral("key-images")};
    const QString key = withoutGuidePrefix(id);
    if (capture.contains(key))
        return ShortcutGroup::capture;
    if (suggestions.contains(key))
        return ShortcutGroup::suggestions;
    return ShortcutGroup::editing;
}

bool SettingsEntry::matches(const QString& query) const
{
    const QString haystack =
        folded(QStringList{title, detail, gesture, keywords, section.title()}.join(QLatin1Char(' ')));
    const QStringList wanted = words(folded(query));
    return std::all_of(wanted.cbegin(), wanted.cend(),
                       [&](const QString& word) { return haystack.contains(word); });
}

// MARK: SettingsCatalog

QList<SettingsEntry> SettingsCatalog::shortcuts(const QString& hotkey, const QString& prefix)
{
    static const QStringList listed = {
        QStringLiteral("key-open"),   QStringLiteral("key-save"),  QStringLiteral("key-hide"),
        QStringLiteral("key-settings"), QStringLiteral("key-edit"), QStringLiteral("key-indent"),
        QStringLiteral("key-checkbox-backspace"), QStringLiteral("key-move"), QStringLiteral("key-suggest"),
        QStringLiteral("key-link"),   QStringLiteral("key-images"), QStringLiteral("key-quit")};
    QList<SettingsEntry> result;
    for (SettingsEntry entry : referenceEntries(hotkey, prefix)) {
        if (!listed.contains(entry.id))
            continue;
        // The shortcut list reads as a table of keys: only the hot key keeps
        // its explanation, and typed forms give way to the key alone.
        if (entry.id != QLatin1String("key-open"))
            entry.detail.clear();
        if (entry.id == QLatin1String("key-link"))
            entry.gesture = keys({Qt::CTRL | Qt::Key_L});
        else if (entry.id == QLatin1String("key-images"))
            entry.gesture = keys({Qt::CTRL | Qt::Key_V});
        result.append(entry);
    }
    return result;
}

QList<SettingsEntry> SettingsCatalog::guide(const QString& hotkey, const QString& prefix)
{
    QList<SettingsEntry> result;
    for (SettingsEntry entry : referenceEntries(hotkey, prefix)) {
        if (entry.shortcutGroup() == ShortcutGroup::capture || entry.id == QLatin1String("key-edit"))
            continue;
        entry.id.replace(QStringLiteral("key-"), QStringLiteral("guide-"));
        entry.section = SettingsSection::guide;
        result.append(entry);
    }
    // Named apart from the editing row "Liens et URLs" of the same group.
    result.append(entry(QStringLiteral("guide-open-links"), SettingsSection::guide,
                        L10n::text(L10N_KEY("Ouvrir les liens")), CaptureGuide::links(),
                        L10n::text(L10N_KEY("⌘+clic"))));
    result.append(entry(QStringLiteral("guide-recovery"), SettingsSection::guide,
                        L10n::text(L10N_KEY("Historique des captures")), CaptureGuide::recovery()));
    result.append(entry(QStringLiteral("guide-language"), SettingsSection::guide, L10n::text(L10N_KEY("Langue")),
                        CaptureGuide::language()));
    return result;
}

QList<SettingsEntry> SettingsCatalog::entries(const QString& hotkey, const QString& prefix)
{
    return settingsEntries(hotkey, prefix) + shortcuts(hotkey, prefix) + guide(hotkey, prefix);
}

QList<SettingsEntry> SettingsCatalog::search(const QString& query, const QString& hotkey, const QString& prefix)
{
    QList<SettingsEntry> result;
    for (const SettingsEntry& entry : entries(hotkey, prefix)) {
        if (entry.matches(query))
            result.append(entry);
    }
    return result;
}

} // namespace quillor
