#pragma once

#include <QString>
#include <QtGlobal>

namespace quillor {

// One global hot key as the settings store it: a virtual key code of the
// design's keyboard table (49 is the Space bar), a modifier mask (command 0x100,
// shift 0x200, option 0x800, control 0x1000) and the label the user saw.
struct ShortcutCombination {
    quint32 code = 0;
    quint32 modifiers = 0;
    QString label;

    bool operator==(const ShortcutCombination&) const = default;
};

// The label shown for a hot key: a Space bar recorded under another interface
// language is renamed in the current one, so "⌃Space" reads "⌃Espace" in French.
QString shortcutDisplayLabel(quint32 code, const QString& label);

} // namespace quillor
