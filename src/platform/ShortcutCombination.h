#pragma once

#include <QKeyCombination>
#include <QString>
#include <QtGlobal>

#include <optional>

namespace quillor {

// One global hot key as the settings store it: a virtual key code of the
// design's keyboard table (49 is the Space bar), a modifier mask (command 0x100,
// shift 0x200, option 0x800, control 0x1000) and the label the recorder wrote,
// which only stands in for a code that names no key.
struct ShortcutCombination {
    quint32 code = 0;
    quint32 modifiers = 0;
    QString label;

    bool operator==(const ShortcutCombination&) const = default;
};

// The hot key as Qt's keys; nothing when its code names no key.
std::optional<QKeyCombination> keyCombination(const ShortcutCombination& combination);

// The hot key as shown: made from its code and modifiers in the desktop's own
// notation and the interface language ("Ctrl+Espace", "Ctrl+Alt+J"), so a
// label stored in any notation or language reads the same. Only a code that
// names no key shows the stored label.
QString shortcutDisplayLabel(const ShortcutCombination& combination);

} // namespace quillor
