#include "settings/SettingsCatalog.h"

#include "core/L10n.h"

#include "../KeyTexts.h"

#include <gtest/gtest.h>

#include <QHash>
#include <QStringList>

namespace quillor {
namespace {

const QString hotkey = QStringLiteral("Ctrl+Alt+N");

QStringList ids(const QList<SettingsEntry>& entries)
{
    QStringList result;
    for (const SettingsEntry& entry : entries)
        result.append(entry.id);
    return result;
}

QStringList found(const QString& query, const QString& prefix = QStringLiteral("@"))
{
    return ids(SettingsCatalog::search(query, hotkey, prefix));
}

const SettingsEntry& entry(const QList<SettingsEntry>& entries, const QString& id)
{
    for (const SettingsEntry& candidate : entries) {
        if (candidate.id == id)
            return candidate;
    }
    throw std::out_of_range(id.toStdString());
}

TEST(SettingsCatalogTest, TheThreeListsHoldFortyEntriesInOrder)
{
    const QList<SettingsEntry> all = SettingsCatalog::entries(hotkey, QStringLiteral("@"));
    ASSERT_EQ(all.size(), 40);
    EXPECT_EQ(ids(all.mid(0, 13)),
              QStringList({"language", "login", "capture", "prefix", "destinations", "history", "draft", "local",
                           "index", "latest", "about", "updates", "privacy"}));
    EXPECT_EQ(ids(SettingsCatalog::shortcuts(hotkey, "@")),
              QStringList({"key-open", "key-save", "key-hide", "key-settings", "key-edit", "key-indent",
                           "key-checkbox-backspace", "key-move", "key-suggest", "key-link", "key-images",
                           "key-quit"}));
    EXPECT_EQ(ids(SettingsCatalog::guide(hotkey, "@")),
              QStringList({"guide-indent", "guide-task", "guide-checkbox-backspace", "guide-list", "guide-move",
                           "guide-route", "guide-suggest", "guide-link", "guide-tag", "guide-markdown", "guide-url",
                           "guide-images", "guide-open-links", "guide-recovery", "guide-language"}));
    EXPECT_EQ(ids(all.mid(13, 12)), ids(SettingsCatalog::shortcuts(hotkey, "@")));
    for (const SettingsEntry& shortcut : SettingsCatalog::shortcuts(hotkey, "@"))
        EXPECT_EQ(shortcut.section, SettingsSection::shortcuts);
    for (const SettingsEntry& guide : SettingsCatalog::guide(hotkey, "@"))
        EXPECT_EQ(guide.section, SettingsSection::guide);
}

TEST(SettingsCatalogTest, TheShortcutListKeepsOnlyTheHotKeysDetailAndShortensTwoGestures)
{
    const QList<SettingsEntry> shortcuts = SettingsCatalog::shortcuts(hotkey, "@");
    for (const SettingsEntry& shortcut : shortcuts) {
        if (shortcut.id == QLatin1String("key-open"))
            EXPECT_EQ(shortcut.detail, "Raccourci global configurable dans Général.");
        else
            EXPECT_TRUE(shortcut.detail.isEmpty()) << shortcut.id.toStdString();
    }
    EXPECT_EQ(entry(shortcuts, "key-open").gesture, hotkey);
    EXPECT_EQ(entry(shortcuts, "key-link").gesture, "Ctrl+L");
    EXPECT_EQ(entry(shortcuts, "key-images").gesture, "Ctrl+V");
    const QList<SettingsEntry> guide = SettingsCatalog::guide(hotkey, "@");
    EXPECT_EQ(entry(guide, "guide-link").gesture, "[[note]] · [[note|libellé]] · Ctrl+L");
    EXPECT_EQ(entry(guide, "guide-images").gesture, "Ctrl+V · ![[image.png]]");
    EXPECT_EQ(entry(guide, "guide-task").gesture, QString::fromUtf8("- ␣ → - [ ] "));
    EXPECT_FALSE(entry(guide, "guide-indent").keywords.isEmpty());
}

// Keys as the desktop's menus name them, in the interface language.
TEST(SettingsCatalogTest, GesturesReadInLinuxKeys)
{
    const ScopedQtTexts french(QStringLiteral("fr"));
    if (!french.loaded())
        GTEST_SKIP() << "Qt's French texts are not installed";
    const QList<SettingsEntry> all = SettingsCatalog::entries(hotkey, "@");
    const QList<std::pair<QString, QString>> gestures = {
        {"key-save", "Ctrl+Retour"},
        {"key-settings", "Ctrl+,"},
        {"key-edit", "Ctrl+Z · Ctrl+X · Ctrl+C · Ctrl+V · Ctrl+A"},
        {"key-move", "Alt+Haut · Alt+Bas"},
        {"key-quit", "Ctrl+Q"},
        {"key-hide", "Échap"},
        {"key-indent", "Tab · Maj+Tab"},
        {"key-checkbox-backspace", "Effacement"},
        {"guide-suggest", "Haut · Bas · Retour · Tab · Maj+Retour · Échap"},
        {"guide-link", "[[note]] · [[note|libellé]] · Ctrl+L"},
        {"guide-url", "[libellé](https://…) · https://… · Ctrl+clic"},
        {"guide-open-links", "Ctrl+clic"},
    };
    for (const auto& [id, gesture] : gestures)
        EXPECT_EQ(entry(all, id).gesture, gesture) << id.toStdString();
    EXPECT_TRUE(entry(all, "guide-url").detail.startsWith("Ctrl+clic ouvre un lien."));
    EXPECT_TRUE(entry(all, "privacy").detail.contains("sur ton ordinateur"));
    for (const SettingsEntry& each : all) {
        for (const QChar symbol : QStringLiteral("⌘⌥⌃⇧⌫⎋↵"))
            EXPECT_FALSE(each.gesture.contains(symbol)) << each.id.toStdString();
        EXPECT_FALSE(each.detail.contains("Mac") || each.detail.contains("iPhone")) << each.id.toStdString();
    }
}

TEST(SettingsCatalogTest, EscapeFollowsTheInterfaceLanguage)
{
    L10n::configure(QStringLiteral("en"));
    const QString english = entry(SettingsCatalog::shortcuts(hotkey, "@"), "key-hide").gesture;
    const QString save = entry(SettingsCatalog::shortcuts(hotkey, "@"), "key-save").gesture;
    L10n::configure(QStringLiteral("fr"));
    EXPECT_EQ(english, "Esc");
    EXPECT_EQ(save, "Ctrl+Return");
}

TEST(SettingsCatalogTest, TheGuidesMarkdownExamplesAreInTheInterfaceLanguage)
{
    L10n::configure(QStringLiteral("en"));
    const QList<SettingsEntry> guide = SettingsCatalog::guide(hotkey, "@");
    L10n::configure(QStringLiteral("fr"));
    EXPECT_TRUE(entry(guide, "guide-link").gesture.startsWith("[[note]] · [[note|label]]"));
    EXPECT_EQ(entry(guide, "guide-tag").gesture, "#tag · #tag/child");
    EXPECT_EQ(entry(guide, "guide-markdown").gesture, "# heading · **bold** · *italic* · `code` · ```");
}

// Two rows of one title would read as one thing said twice, in any language.
TEST(SettingsCatalogTest, NoTwoGuideRowsShareATitleInAnyShippedLanguage)
{
    const QStringList languages = L10n::availableLanguages();
    ASSERT_GE(languages.size(), 5);
    for (const QString& language : languages) {
        L10n::configure(language);
        const QList<SettingsEntry> guide = SettingsCatalog::guide(hotkey, "@");
        L10n::configure(QStringLiteral("fr"));
        QHash<QString, QString> rowOfTitle;
        for (const SettingsEntry& each : guide) {
            const QString other = rowOfTitle.value(each.title);
            EXPECT_TRUE(other.isEmpty()) << language.toStdString() << ": " << other.toStdString() << " and "
                                         << each.id.toStdString() << " are both " << each.title.toStdString();
            rowOfTitle.insert(each.title, each.id);
        }
    }
}

TEST(SettingsCatalogTest, GroupsComeFromTheIdentifierWithoutItsGuidePrefix)
{
    const QList<std::pair<QString, ShortcutGroup>> cases = {
        {"key-open", ShortcutGroup::capture},       {"key-quit", ShortcutGroup::capture},
        {"key-settings", ShortcutGroup::capture},   {"key-route", ShortcutGroup::suggestions},
        {"guide-route", ShortcutGroup::suggestions}, {"guide-images", ShortcutGroup::suggestions},
        {"key-link", ShortcutGroup::suggestions},   {"key-edit", ShortcutGroup::editing},
        {"guide-task", ShortcutGroup::editing},     {"guide-open-links", ShortcutGroup::editing},
        {"guide-recovery", ShortcutGroup::editing}, {"language", ShortcutGroup::editing},
    };
    for (const auto& [id, group] : cases)
        EXPECT_EQ(SettingsEntry{id}.shortcutGroup(), group) << id.toStdString();
    EXPECT_EQ(ShortcutGroups::fromRawValue("suggestions"), ShortcutGroup::suggestions);
    EXPECT_EQ(ShortcutGroups::fromRawValue("Capture"), std::nullopt);
}

TEST(SettingsCatalogTest, GesturesFollowTheHotKeyAndThePrefix)
{
    const QList<SettingsEntry> all = SettingsCatalog::entries(QStringLiteral("Super+Espace"), QStringLiteral("#"));
    EXPECT_EQ(entry(all, "capture").gesture, "Super+Espace");
    EXPECT_EQ(entry(all, "key-open").gesture, "Super+Espace");
    for (const char* id : {"prefix", "guide-route"})
        EXPECT_EQ(entry(all, id).gesture, "#destination") << id;
    EXPECT_EQ(entry(SettingsCatalog::entries(hotkey, "@"), "prefix").gesture, "@destination");
}

TEST(SettingsCatalogTest, EveryWordMustOccurIgnoringCaseAndDiacritics)
{
    // The key names are Qt's, in French as the program installs them.
    const ScopedQtTexts french(QStringLiteral("fr"));
    if (!french.loaded())
        GTEST_SKIP() << "Qt's French texts are not installed";
    struct Case {
        QString query;
        QStringList includes;
        QStringList excludes;
    };
    const QList<Case> cases = {
        // Through a keyword, a detail and the section title "Raccourcis clavier".
        {"raccourci", {"capture", "key-open", "key-save", "key-quit", "key-images"}, {"language"}},
        {"QUILLOR", {"about"}, {}},
        {"glage", {"key-settings"}, {"language"}},
        {"note ouvrir", {"latest"}, {"language"}},
        {"ÉCHAP", {"key-hide", "guide-suggest"}, {}},
        {"echap", {"key-hide"}, {}},
        {"ctrl v", {"key-images", "key-edit", "guide-images"}, {"guide-task"}},
        {"maj+tab", {"key-indent", "guide-indent"}, {"key-edit"}},
        {"effacer", {"draft"}, {"key-edit", "guide-list"}},
        {"#destination", {}, {"prefix"}},
        {"tâche", {"guide-task", "guide-list"}, {}},
        {"  \t\n ", {"language", "guide-language"}, {}},
        {"introuvable", {}, {"language"}},
    };
    for (const Case& each : cases) {
        const QStringList results = found(each.query);
        for (const QString& id : each.includes)
            EXPECT_TRUE(results.contains(id)) << each.query.toStdString() << " → " << id.toStdString();
        for (const QString& id : each.excludes)
            EXPECT_FALSE(results.contains(id)) << each.query.toStdString() << " ↛ " << id.toStdString();
    }
    EXPECT_EQ(found("   ").size(), 40);
    EXPECT_EQ(found("effacer"), QStringList({"draft"}));
    // The shortcut entries all match through their section's title.
    for (const QString& id : ids(SettingsCatalog::shortcuts(hotkey, "@")))
        EXPECT_TRUE(found("raccourci").contains(id)) << id.toStdString();
    EXPECT_TRUE(found("#destination", "#").contains("prefix"));
    EXPECT_TRUE(found("#destination", "#").contains("guide-route"));
}

} // namespace
} // namespace quillor
