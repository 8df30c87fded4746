#include "platform/ShortcutCombination.h"

#include "platform/HotKeyMapping.h"

#include <QKeySequence>

namespace quillor {

std::optional<QKeyCombination> keyCombination(const ShortcutCombination& combination)
{
    const std::optional<Qt::Key> key = HotKeyMapping::qtKey(combination.code);
    if (!key)
        return std::nullopt;
    return QKeyCombination(HotKeyMapping::qtModifiers(combination.modifiers), *key);
}

QString shortcutDisplayLabel(const ShortcutCombination& combination)
{
    const std::optional<QKeyCombination> keys = keyCombination(combination);
    return keys ? QKeySequence(*keys).toString(QKeySequence::NativeText) : combination.label;
}

} // namespace quillor
