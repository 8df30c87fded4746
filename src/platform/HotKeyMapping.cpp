#include "platform/HotKeyMapping.h"

namespace quillor::HotKeyMapping {

namespace {

struct KeyRow {
    quint32 code;
    quint32 keysym;
};

// Virtual key codes name key positions of a US keyboard; each row gives the
// symbol that position carries there.
constexpr KeyRow keyTable[] = {
    {0x00, 'a'}, {0x01, 's'}, {0x02, 'd'}, {0x03, 'f'}, {0x04, 'h'}, {0x05, 'g'},
    {0x06, 'z'}, {0x07, 'x'}, {0x08, 'c'}, {0x09, 'v'}, {0x0A, 0x3c /* less: ISO key */},
    {0x0B, 'b'}, {0x0C, 'q'}, {0x0D, 'w'}, {0x0E, 'e'}, {0x0F, 'r'}, {0x10, 'y'},
    {0x11, 't'}, {0x12, '1'}, {0x13, '2'}, {0x14, '3'}, {0x15, '4'}, {0x16, '6'},
    {0x17, '5'}, {0x18, '='}, {0x19, '9'}, {0x1A, '7'}, {0x1B, '-'}, {0x1C, '8'},
    {0x1D, '0'}, {0x1E, ']'}, {0x1F, 'o'}, {0x20, 'u'}, {0x21, '['}, {0x22, 'i'},
    {0x23, 'p'}, {0x24, 0xff0d /* Return */}, {0x25, 'l'}, {0x26, 'j'}, {0x27, '\''},
    {0x28, 'k'}, {0x29, ';'}, {0x2A, '\\'}, {0x2B, ','}, {0x2C, '/'}, {0x2D, 'n'},
    {0x2E, 'm'}, {0x2F, '.'}, {0x30, 0xff09 /* Tab */}, {0x31, ' '}, {0x32, '`'},
    {0x33, 0xff08 /* BackSpace */}, {0x35, 0xff1b /* Escape */},
    // Keypad.
    {0x41, 0xffae}, {0x43, 0xffaa}, {0x45, 0xffab}, {0x47, 0xff7f /* Clear sits on NumLock */},
    {0x4B, 0xffaf}, {0x4C, 0xff8d}, {0x4E, 0xffad}, {0x51, 0xffbd}, {0x52, 0xffb0},
    {0x53, 0xffb1}, {0x54, 0xffb2}, {0x55, 0xffb3}, {0x56, 0xffb4}, {0x57, 0xffb5},
    {0x58, 0xffb6}, {0x59, 0xffb7}, {0x5B, 0xffb8}, {0x5C, 0xffb9},
    // Function keys F1..F20 (0xffbe + n - 1).
    {0x7A, 0xffbe}, {0x78, 0xffbf}, {0x63, 0xffc0}, {0x76, 0xffc1}, {0x60, 0xffc2},
    {0x61, 0xffc3}, {0x62, 0xffc4}, {0x64, 0xffc5}, {0x65, 0xffc6}, {0x6D, 0xffc7},
    {0x67, 0xffc8}, {0x6F, 0xffc9}, {0x69, 0xffca}, {0x6B, 0xffcb}, {0x71, 0xffcc},
    {0x6A, 0xffcd}, {0x40, 0xffce}, {0x4F, 0xffcf}, {0x50, 0xffd0}, {0x5A, 0xffd1},
    // Navigation.
    {0x72, 0xff6a /* Help */}, {0x73, 0xff50 /* Home */}, {0x74, 0xff55 /* Prior */},
    {0x75, 0xffff /* Delete */}, {0x77, 0xff57 /* End */}, {0x79, 0xff56 /* Next */},
    {0x7B, 0xff51 /* Left */}, {0x7C, 0xff53 /* Right */}, {0x7D, 0xff54 /* Down */},
    {0x7E, 0xff52 /* Up */},
    // Media keys.
    {0x48, 0x1008ff13 /* XF86AudioRaiseVolume */}, {0x49, 0x1008ff11 /* XF86AudioLowerVolume */},
    {0x4A, 0x1008ff12 /* XF86AudioMute */},
    // Japanese keyboards.
    {0x5D, 0xa5 /* yen */}, {0x5E, 0x5f /* underscore */}, {0x5F, 0xffac /* KP_Separator */},
    {0x66, 0xff2f /* Eisu_toggle */}, {0x68, 0xff2d /* Kana_Lock */},
};

struct NamedKey {
    quint32 keysym;
    Qt::Key key;
};

// The keys of the table that are not characters.
constexpr NamedKey namedKeys[] = {
    {0xff0d, Qt::Key_Return},     {0xff09, Qt::Key_Tab},        {0xff08, Qt::Key_Backspace},
    {0xff1b, Qt::Key_Escape},     {0xff6a, Qt::Key_Help},       {0xff50, Qt::Key_Home},
    {0xff55, Qt::Key_PageUp},     {0xffff, Qt::Key_Delete},     {0xff57, Qt::Key_End},
    {0xff56, Qt::Key_PageDown},   {0xff51, Qt::Key_Left},       {0xff53, Qt::Key_Right},
    {0xff54, Qt::Key_Down},       {0xff52, Qt::Key_Up},         {0xff7f, Qt::Key_NumLock},
    {0xff8d, Qt::Key_Enter},      {0xffae, Qt::Key_Period},     {0xffaa, Qt::Key_Asterisk},
    {0xffab, Qt::Key_Plus},       {0xffac, Qt::Key_Comma},      {0xffad, Qt::Key_Minus},
    {0xffaf, Qt::Key_Slash},      {0xffbd, Qt::Key_Equal},      {0xff2f, Qt::Key_Eisu_toggle},
    {0xff2d, Qt::Key_Kana_Lock},  {0x1008ff13, Qt::Key_VolumeUp}, {0x1008ff11, Qt::Key_VolumeDown},
    {0x1008ff12, Qt::Key_VolumeMute},
};

quint32 lowerCase(quint32 symbol)
{
    return symbol >= 'A' && symbol <= 'Z' ? symbol + ('a' - 'A') : symbol;
}

} // namespace

std::optional<quint32> keysym(quint32 code)
{
    for (const KeyRow& row : keyTable) {
        if (row.code == code)
            return row.keysym;
    }
    return std::nullopt;
}

std::optional<quint32> keyCode(quint32 symbol)
{
    const quint32 wanted = lowerCase(symbol);
    for (const KeyRow& row : keyTable) {
        if (row.keysym == wanted)
            return row.code;
    }
    return std::nullopt;
}

std::optional<Qt::Key> qtKey(quint32 code)
{
    const std::optional<quint32> symbol = keysym(code);
    if (!symbol)
        return std::nullopt;
    // Qt names Latin-1 keys by their capital letter's code point.
    if ((*symbol >= 0x20 && *symbol <= 0x7e) || (*symbol >= 0xa0 && *symbol <= 0xff))
        return Qt::Key(*symbol >= 'a' && *symbol <= 'z' ? *symbol - ('a' - 'A') : *symbol);
    constexpr quint32 keypadZero = 0xffb0;
    constexpr quint32 functionOne = 0xffbe;
    if (*symbol >= keypadZero && *symbol <= keypadZero + 9)
        return Qt::Key(Qt::Key_0 + int(*symbol - keypadZero));
    if (*symbol >= functionOne && *symbol < functionOne + 20)
        return Qt::Key(Qt::Key_F1 + int(*symbol - functionOne));
    for (const NamedKey& named : namedKeys) {
        if (named.keysym == *symbol)
            return named.key;
    }
    return std::nullopt;
}

Qt::KeyboardModifiers qtModifiers(quint32 modifiers)
{
    Qt::KeyboardModifiers result;
    if (modifiers & controlMask)
        result |= Qt::ControlModifier;
    if (modifiers & optionMask)
        result |= Qt::AltModifier;
    if (modifiers & shiftMask)
        result |= Qt::ShiftModifier;
    if (modifiers & commandMask)
        result |= Qt::MetaModifier;
    return result;
}

std::optional<quint16> xModifiers(quint32 modifiers, const X11ModifierBits& bits)
{
    constexpr quint16 xShift = 0x01;
    constexpr quint16 xControl = 0x04;
    if (modifiers & ~(commandMask | shiftMask | optionMask | controlMask))
        return std::nullopt;
    quint16 result = 0;
    if (modifiers & controlMask)
        result |= xControl;
    if (modifiers & optionMask)
        result |= bits.alt;
    if (modifiers & shiftMask)
        result |= xShift;
    if (modifiers & commandMask)
        result |= bits.super;
    return result;
}

} // namespace quillor::HotKeyMapping
