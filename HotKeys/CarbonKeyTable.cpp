#include "HotKeys/CarbonKeyTable.h"

#include "HotKeys/CarbonKeyCodes.h"

namespace HotKeys {
namespace {

using namespace CarbonKey;

struct KeyRow
{
    int carbon;
    std::uint32_t keysym;
    Qt::Key qtKey;
    bool keypad;
};

// X keysym values (X11/keysymdef.h, XF86keysym.h) written out so the table needs no X headers.
constexpr std::uint32_t xkF1 = 0xffbe;

constexpr KeyRow keyRows[] = {
    {ANSI_A, 0x61, Qt::Key_A, false},
    {ANSI_B, 0x62, Qt::Key_B, false},
    {ANSI_C, 0x63, Qt::Key_C, false},
    {ANSI_D, 0x64, Qt::Key_D, false},
    {ANSI_E, 0x65, Qt::Key_E, false},
    {ANSI_F, 0x66, Qt::Key_F, false},
    {ANSI_G, 0x67, Qt::Key_G, false},
    {ANSI_H, 0x68, Qt::Key_H, false},
    {ANSI_I, 0x69, Qt::Key_I, false},
    {ANSI_J, 0x6a, Qt::Key_J, false},
    {ANSI_K, 0x6b, Qt::Key_K, false},
    {ANSI_L, 0x6c, Qt::Key_L, false},
    {ANSI_M, 0x6d, Qt::Key_M, false},
    {ANSI_N, 0x6e, Qt::Key_N, false},
    {ANSI_O, 0x6f, Qt::Key_O, false},
    {ANSI_P, 0x70, Qt::Key_P, false},
    {ANSI_Q, 0x71, Qt::Key_Q, false},
    {ANSI_R, 0x72, Qt::Key_R, false},
    {ANSI_S, 0x73, Qt::Key_S, false},
    {ANSI_T, 0x74, Qt::Key_T, false},
    {ANSI_U, 0x75, Qt::Key_U, false},
    {ANSI_V, 0x76, Qt::Key_V, false},
    {ANSI_W, 0x77, Qt::Key_W, false},
    {ANSI_X, 0x78, Qt::Key_X, false},
    {ANSI_Y, 0x79, Qt::Key_Y, false},
    {ANSI_Z, 0x7a, Qt::Key_Z, false},
    {ANSI_0, 0x30, Qt::Key_0, false},
    {ANSI_1, 0x31, Qt::Key_1, false},
    {ANSI_2, 0x32, Qt::Key_2, false},
    {ANSI_3, 0x33, Qt::Key_3, false},
    {ANSI_4, 0x34, Qt::Key_4, false},
    {ANSI_5, 0x35, Qt::Key_5, false},
    {ANSI_6, 0x36, Qt::Key_6, false},
    {ANSI_7, 0x37, Qt::Key_7, false},
    {ANSI_8, 0x38, Qt::Key_8, false},
    {ANSI_9, 0x39, Qt::Key_9, false},
    {ANSI_Equal, 0x3d, Qt::Key_Equal, false},
    {ANSI_Minus, 0x2d, Qt::Key_Minus, false},
    {ANSI_RightBracket, 0x5d, Qt::Key_BracketRight, false},
    {ANSI_LeftBracket, 0x5b, Qt::Key_BracketLeft, false},
    {ANSI_Quote, 0x27, Qt::Key_Apostrophe, false},
    {ANSI_Semicolon, 0x3b, Qt::Key_Semicolon, false},
    {ANSI_Backslash, 0x5c, Qt::Key_Backslash, false},
    {ANSI_Comma, 0x2c, Qt::Key_Comma, false},
    {ANSI_Slash, 0x2f, Qt::Key_Slash, false},
    {ANSI_Period, 0x2e, Qt::Key_Period, false},
    {ANSI_Grave, 0x60, Qt::Key_QuoteLeft, false},
    {ISO_Section, 0xa7, Qt::Key_section, false},
    {JIS_Yen, 0xa5, Qt::Key_yen, false},
    {Return, 0xff0d, Qt::Key_Return, false},
    {Tab, 0xff09, Qt::Key_Tab, false},
    {Space, 0x20, Qt::Key_Space, false},
    {Delete, 0xff08, Qt::Key_Backspace, false},
    {Escape, 0xff1b, Qt::Key_Escape, false},
    {ForwardDelete, 0xffff, Qt::Key_Delete, false},
    // PC keyboards have Insert where the Help key sits.
    {Help, 0xff63, Qt::Key_Insert, false},
    {Home, 0xff50, Qt::Key_Home, false},
    {End, 0xff57, Qt::Key_End, false},
    {PageUp, 0xff55, Qt::Key_PageUp, false},
    {PageDown, 0xff56, Qt::Key_PageDown, false},
    {LeftArrow, 0xff51, Qt::Key_Left, false},
    {UpArrow, 0xff52, Qt::Key_Up, false},
    {RightArrow, 0xff53, Qt::Key_Right, false},
    {DownArrow, 0xff54, Qt::Key_Down, false},
    {F1, xkF1 + 0, Qt::Key_F1, false},
    {F2, xkF1 + 1, Qt::Key_F2, false},
    {F3, xkF1 + 2, Qt::Key_F3, false},
    {F4, xkF1 + 3, Qt::Key_F4, false},
    {F5, xkF1 + 4, Qt::Key_F5, false},
    {F6, xkF1 + 5, Qt::Key_F6, false},
    {F7, xkF1 + 6, Qt::Key_F7, false},
    {F8, xkF1 + 7, Qt::Key_F8, false},
    {F9, xkF1 + 8, Qt::Key_F9, false},
    {F10, xkF1 + 9, Qt::Key_F10, false},
    {F11, xkF1 + 10, Qt::Key_F11, false},
    {F12, xkF1 + 11, Qt::Key_F12, false},
    {F13, xkF1 + 12, Qt::Key_F13, false},
    {F14, xkF1 + 13, Qt::Key_F14, false},
    {F15, xkF1 + 14, Qt::Key_F15, false},
    {F16, xkF1 + 15, Qt::Key_F16, false},
    {F17, xkF1 + 16, Qt::Key_F17, false},
    {F18, xkF1 + 17, Qt::Key_F18, false},
    {F19, xkF1 + 18, Qt::Key_F19, false},
    {F20, xkF1 + 19, Qt::Key_F20, false},
    {ANSI_Keypad0, 0xffb0, Qt::Key_0, true},
    {ANSI_Keypad1, 0xffb1, Qt::Key_1, true},
    {ANSI_Keypad2, 0xffb2, Qt::Key_2, true},
    {ANSI_Keypad3, 0xffb3, Qt::Key_3, true},
    {ANSI_Keypad4, 0xffb4, Qt::Key_4, true},
    {ANSI_Keypad5, 0xffb5, Qt::Key_5, true},
    {ANSI_Keypad6, 0xffb6, Qt::Key_6, true},
    {ANSI_Keypad7, 0xffb7, Qt::Key_7, true},
    {ANSI_Keypad8, 0xffb8, Qt::Key_8, true},
    {ANSI_Keypad9, 0xffb9, Qt::Key_9, true},
    {ANSI_KeypadDecimal, 0xffae, Qt::Key_Period, true},
    {ANSI_KeypadMultiply, 0xffaa, Qt::Key_Asterisk, true},
    {ANSI_KeypadPlus, 0xffab, Qt::Key_Plus, true},
    {ANSI_KeypadMinus, 0xffad, Qt::Key_Minus, true},
    {ANSI_KeypadDivide, 0xffaf, Qt::Key_Slash, true},
    {ANSI_KeypadEnter, 0xff8d, Qt::Key_Enter, true},
    {ANSI_KeypadEquals, 0xffbd, Qt::Key_Equal, true},
    {ANSI_KeypadClear, 0xff0b, Qt::Key_Clear, true},
    {VolumeUp, 0x1008ff13, Qt::Key_VolumeUp, false},
    {VolumeDown, 0x1008ff11, Qt::Key_VolumeDown, false},
    {Mute, 0x1008ff12, Qt::Key_VolumeMute, false},
    // Second names that keyboards and Qt use for keys above; looked up after the first names.
    {Help, 0xff6a, Qt::Key_Help, false},
    {Tab, 0xfe20, Qt::Key_Backtab, false},
    {ANSI_KeypadEnter, 0xff8d, Qt::Key_Enter, false},
    {Return, 0xff0d, Qt::Key_Return, true},
    {ANSI_KeypadClear, 0xff0b, Qt::Key_Clear, false},
};

struct ShiftedRow
{
    Qt::Key qtKey;
    int carbon;
};

// The characters Shift gives on a US keyboard: Qt reports the character, not the key.
constexpr ShiftedRow shiftedRows[] = {
    {Qt::Key_Exclam, ANSI_1},
    {Qt::Key_At, ANSI_2},
    {Qt::Key_NumberSign, ANSI_3},
    {Qt::Key_Dollar, ANSI_4},
    {Qt::Key_Percent, ANSI_5},
    {Qt::Key_AsciiCircum, ANSI_6},
    {Qt::Key_Ampersand, ANSI_7},
    {Qt::Key_Asterisk, ANSI_8},
    {Qt::Key_ParenLeft, ANSI_9},
    {Qt::Key_ParenRight, ANSI_0},
    {Qt::Key_Underscore, ANSI_Minus},
    {Qt::Key_Plus, ANSI_Equal},
    {Qt::Key_BraceLeft, ANSI_LeftBracket},
    {Qt::Key_BraceRight, ANSI_RightBracket},
    {Qt::Key_Bar, ANSI_Backslash},
    {Qt::Key_Colon, ANSI_Semicolon},
    {Qt::Key_QuoteDbl, ANSI_Quote},
    {Qt::Key_Less, ANSI_Comma},
    {Qt::Key_Greater, ANSI_Period},
    {Qt::Key_Question, ANSI_Slash},
    {Qt::Key_AsciiTilde, ANSI_Grave},
};

// Letters arrive as upper-case keysyms when Shift or Caps Lock is down.
std::uint32_t lowerCaseKeysym(std::uint32_t keysym)
{
    if (keysym >= 0x41 && keysym <= 0x5a)
        return keysym + 0x20;
    return keysym;
}

} // namespace

std::optional<std::uint32_t> CarbonKeyTable::keysymForCarbonKey(int carbonKeyCode)
{
    for (const KeyRow& row : keyRows) {
        if (row.carbon == carbonKeyCode)
            return row.keysym;
    }
    return std::nullopt;
}

std::optional<int> CarbonKeyTable::carbonKeyForKeysym(std::uint32_t keysym)
{
    const std::uint32_t wanted = lowerCaseKeysym(keysym);
    for (const KeyRow& row : keyRows) {
        if (row.keysym == wanted)
            return row.carbon;
    }
    return std::nullopt;
}

std::optional<QtKeyOfCarbonKey> CarbonKeyTable::qtKeyForCarbonKey(int carbonKeyCode)
{
    for (const KeyRow& row : keyRows) {
        if (row.carbon == carbonKeyCode)
            return QtKeyOfCarbonKey{row.qtKey, row.keypad};
    }
    return std::nullopt;
}

std::optional<CarbonKeyOfQtKey> CarbonKeyTable::carbonKeyForQtKey(int qtKey, bool keypad)
{
    for (const KeyRow& row : keyRows) {
        if (row.qtKey == qtKey && row.keypad == keypad)
            return CarbonKeyOfQtKey{row.carbon, row.qtKey == Qt::Key_Backtab};
    }
    for (const ShiftedRow& row : shiftedRows) {
        if (row.qtKey == qtKey)
            return CarbonKeyOfQtKey{row.carbon, true};
    }
    // A keypad key whose character has no keypad row still names the main key.
    if (keypad)
        return carbonKeyForQtKey(qtKey, false);
    return std::nullopt;
}

bool CarbonKeyTable::isModifierKey(int qtKey)
{
    switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Meta:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
        return true;
    default:
        return false;
    }
}

} // namespace HotKeys
