#pragma once

#include <QtGlobal>
#include <qnamespace.h>

#include <optional>

namespace quillor {

// The design's virtual key codes and modifier masks, as stored in the settings,
// translated to what an X server understands: key symbols (turned into the
// keyboard's own keycodes by the grab layer) and modifier bits.
namespace HotKeyMapping {

constexpr quint32 commandMask = 0x100;
constexpr quint32 shiftMask = 0x200;
constexpr quint32 optionMask = 0x800;
constexpr quint32 controlMask = 0x1000;

// Where the keyboard's Alt, Super and NumLock keys sit among Mod1..Mod5; these
// vary between keymaps, so the grab layer reads them from the server. The
// defaults are the usual Mod1, Mod4 and Mod2.
struct X11ModifierBits {
    quint16 alt = 0x08;
    quint16 super = 0x40;
    quint16 numLock = 0x10;

    bool operator==(const X11ModifierBits&) const = default;
};

// The key symbol of a virtual key code, or nothing for a code with no key on
// an X keyboard.
std::optional<quint32> keysym(quint32 code);

// The virtual key code a key symbol is stored as (the way back, for the
// recorder); letters match in either case.
std::optional<quint32> keyCode(quint32 keysym);

// Qt's key for a virtual key code, for showing it; nothing for a code with
// no key on an X keyboard.
std::optional<Qt::Key> qtKey(quint32 code);

// Qt's modifiers of a stored mask; bits of no modifier are left out.
Qt::KeyboardModifiers qtModifiers(quint32 modifiers);

// X modifier bits of a stored mask: control → Control, option → Alt, shift →
// Shift, command → Super. Nothing when the mask holds any other bit, since the
// grab would then not be the combination the user recorded.
std::optional<quint16> xModifiers(quint32 modifiers, const X11ModifierBits& bits = {});

} // namespace HotKeyMapping

} // namespace quillor
