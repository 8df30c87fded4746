#include "platform/ShortcutCombination.h"

#include "core/L10n.h"

#include <array>

namespace quillor {

QString shortcutDisplayLabel(quint32 code, const QString& label)
{
    constexpr quint32 spaceCode = 49;
    if (code != spaceCode)
        return label;
    // The names a recorder may have written for the Space bar, tried in order.
    static const std::array<QString, 5> spaceNames = {
        QStringLiteral("Espace"), QStringLiteral("Space"), QStringLiteral("Espacio"),
        QStringLiteral("Leertaste"), QStringLiteral("空格")};
    for (const QString& name : spaceNames) {
        if (label.endsWith(name))
            return label.chopped(name.size()) + L10n::text(QStringLiteral("Espace"));
    }
    return label;
}

} // namespace quillor
