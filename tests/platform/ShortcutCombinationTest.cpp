#include "platform/HotKeyMapping.h"
#include "platform/ShortcutCombination.h"

#include "../KeyTexts.h"

#include <gtest/gtest.h>

namespace quillor {
namespace {

constexpr quint32 control = HotKeyMapping::controlMask;
constexpr quint32 option = HotKeyMapping::optionMask;
constexpr quint32 shift = HotKeyMapping::shiftMask;
constexpr quint32 command = HotKeyMapping::commandMask;

// The hot key reads in the desktop's notation and Qt's French, whatever
// notation or language its stored label was written in.
TEST(ShortcutCombinationTest, TheHotKeyIsShownFromItsKeysNotFromItsStoredLabel)
{
    const ScopedQtTexts french(QStringLiteral("fr"));
    if (!french.loaded())
        GTEST_SKIP() << "Qt's French texts are not installed";
    const struct {
        ShortcutCombination stored;
        const char* shown;
    } cases[] = {
        {{49, control, QStringLiteral("⌃Space")}, "Ctrl+Espace"},
        {{49, control, QStringLiteral("⌃Espace")}, "Ctrl+Espace"},
        {{49, control, QStringLiteral("Strg+Leertaste")}, "Ctrl+Espace"},
        {{49, control, QString()}, "Ctrl+Espace"},
        {{0x26, control | option, QStringLiteral("⌃⌥J")}, "Ctrl+Alt+J"},
        {{0x26, control | option, QStringLiteral("Ctrl+Alt+J")}, "Ctrl+Alt+J"},
        {{0x30, control | shift, QStringLiteral("⌃⇧Tab")}, "Ctrl+Maj+Tab"},
        {{0x7A, shift, QStringLiteral("⇧F1")}, "Maj+F1"},
        {{0x7E, option, QStringLiteral("⌥↑")}, "Alt+Haut"},
        {{0x2B, control, QStringLiteral("⌃,")}, "Ctrl+,"},
        {{0x53, control, QStringLiteral("⌃1")}, "Ctrl+1"},
        {{0x28, command | shift, QStringLiteral("⇧⌘K")}, "Méta+Maj+K"},
        // No key on an X keyboard: the label is all there is.
        {{0x7F, control, QStringLiteral("⌃?")}, "⌃?"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored.label.toStdString());
        EXPECT_EQ(shortcutDisplayLabel(c.stored), QString::fromUtf8(c.shown));
    }
}

TEST(ShortcutCombinationTest, EveryKeyOfTheTableHasAQtKey)
{
    for (quint32 code = 0; code < 0x80; ++code) {
        if (HotKeyMapping::keysym(code))
            EXPECT_TRUE(HotKeyMapping::qtKey(code).has_value()) << code;
        else
            EXPECT_FALSE(HotKeyMapping::qtKey(code).has_value()) << code;
    }
}

} // namespace
} // namespace quillor
