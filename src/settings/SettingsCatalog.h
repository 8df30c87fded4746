#pragma once

#include "core/SettingsSection.h"

#include <QList>
#include <QString>

#include <optional>

namespace quillor {

// The groups of the keyboard reference, in the order they are listed.
enum class ShortcutGroup { capture, editing, suggestions };

namespace ShortcutGroups {
QList<ShortcutGroup> allCases();
QString rawValue(ShortcutGroup group);
std::optional<ShortcutGroup> fromRawValue(const QString& rawValue);
// The header above the group's rows, localised each time it is read.
QString header(ShortcutGroup group);
} // namespace ShortcutGroups

// One row of the settings window that the search can find; the shortcut and
// guide sections list these rows too.
struct SettingsEntry {
    QString id;   // the row's identifier, its scroll and search target
    SettingsSection section = SettingsSection::general;
    QString title;
    QString detail;
    QString gesture;
    QString keywords;   // never shown

    ShortcutGroup shortcutGroup() const;
    // Every word of the query occurs somewhere in the entry, ignoring case and
    // diacritics; a query without words matches every entry.
    bool matches(const QString& query) const;

    bool operator==(const SettingsEntry&) const = default;
};

// The searchable rows, rebuilt on each call from the active hot key's text
// and the route prefix so that gestures follow both at once.
namespace SettingsCatalog {

// The settings rows, then the shortcuts, then the guide.
QList<SettingsEntry> entries(const QString& hotkey, const QString& prefix);
QList<SettingsEntry> shortcuts(const QString& hotkey, const QString& prefix);
QList<SettingsEntry> guide(const QString& hotkey, const QString& prefix);
// The entries matching `query`, catalog order kept.
QList<SettingsEntry> search(const QString& query, const QString& hotkey, const QString& prefix);

} // namespace SettingsCatalog
} // namespace quillor
