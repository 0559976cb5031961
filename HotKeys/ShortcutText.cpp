// Display strings of shortcuts: symbols for modifiers, characters for keys.
#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/CarbonKeyTable.h"
#include "HotKeys/HotKeys.h"

#include <QKeySequence>
#include <QTextBoundaryFinder>

#include <array>
#include <xkbcommon/xkbcommon.h>

namespace HotKeys {
namespace {

using namespace CarbonKey;

struct SpecialKey
{
    int carbon;
    const char16_t* text;
};

// U+20E3 (combining enclosing keycap) marks keypad keys.
constexpr SpecialKey specialKeys[] = {
    {Return, u"↩"},
    {Delete, u"⌫"},
    {ForwardDelete, u"⌦"},
    {End, u"↘"},
    {Escape, u"⎋"},
    {Help, u"?\u20DD"},
    {Home, u"↖"},
    {Space, u"Space"},
    {Tab, u"⇥"},
    {PageUp, u"⇞"},
    {PageDown, u"⇟"},
    {UpArrow, u"↑"},
    {RightArrow, u"→"},
    {DownArrow, u"↓"},
    {LeftArrow, u"←"},
    {F1, u"F1"},
    {F2, u"F2"},
    {F3, u"F3"},
    {F4, u"F4"},
    {F5, u"F5"},
    {F6, u"F6"},
    {F7, u"F7"},
    {F8, u"F8"},
    {F9, u"F9"},
    {F10, u"F10"},
    {F11, u"F11"},
    {F12, u"F12"},
    {F13, u"F13"},
    {F14, u"F14"},
    {F15, u"F15"},
    {F16, u"F16"},
    {F17, u"F17"},
    {F18, u"F18"},
    {F19, u"F19"},
    {F20, u"F20"},
    {ANSI_Keypad0, u"0\u20E3"},
    {ANSI_Keypad1, u"1\u20E3"},
    {ANSI_Keypad2, u"2\u20E3"},
    {ANSI_Keypad3, u"3\u20E3"},
    {ANSI_Keypad4, u"4\u20E3"},
    {ANSI_Keypad5, u"5\u20E3"},
    {ANSI_Keypad6, u"6\u20E3"},
    {ANSI_Keypad7, u"7\u20E3"},
    {ANSI_Keypad8, u"8\u20E3"},
    {ANSI_Keypad9, u"9\u20E3"},
    {ANSI_KeypadClear, u"☒\u20E3"},
    {ANSI_KeypadDecimal, u".\u20E3"},
    {ANSI_KeypadDivide, u"/\u20E3"},
    {ANSI_KeypadEnter, u"↩\u20E3"},
    {ANSI_KeypadEquals, u"=\u20E3"},
    {ANSI_KeypadMinus, u"-\u20E3"},
    {ANSI_KeypadMultiply, u"*\u20E3"},
    {ANSI_KeypadPlus, u"+\u20E3"},
};

// The characters that menus use for function keys, U+F704 (F1) to U+F717 (F20).
constexpr char16_t firstFunctionKeyCharacter = 0xF704;

std::optional<QString> specialKeyText(int carbonKeyCode)
{
    for (const SpecialKey& key : specialKeys) {
        if (key.carbon == carbonKeyCode)
            return QString::fromUtf16(key.text);
    }
    return std::nullopt;
}

// Keys are grabbed by keysym, so the keysym's character is the one the layout shows for it.
std::optional<QString> keysymText(int carbonKeyCode)
{
    const auto keysym = CarbonKeyTable::keysymForCarbonKey(carbonKeyCode);
    if (!keysym)
        return std::nullopt;
    std::array<char, 8> utf8{};
    if (xkb_keysym_to_utf8(*keysym, utf8.data(), utf8.size()) <= 0)
        return std::nullopt;
    const QString text = QString::fromUtf8(utf8.data());
    if (text.isEmpty() || !text.at(0).isPrint())
        return std::nullopt;
    return text;
}

QString capitalized(QString text)
{
    bool wordStart = true;
    for (QChar& character : text) {
        if (wordStart && character.isLetter())
            character = character.toUpper();
        wordStart = character.isSpace();
    }
    return text;
}

int graphemeCount(const QString& text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

QString keyEquivalentTableText(int carbonKeyCode)
{
    if (carbonKeyCode == Space)
        return QStringLiteral(" ");
    for (int index = 0; index < 20; ++index) {
        if (functionKeys[index] == carbonKeyCode)
            return QString(QChar(firstFunctionKeyCharacter + index));
    }
    return QString();
}

} // namespace

QString modifierSymbols(ModifierFlags flags)
{
    QString symbols;
    if (flags.testFlag(ModifierFlag::Control))
        symbols += u"⌃";
    if (flags.testFlag(ModifierFlag::Option))
        symbols += u"⌥";
    if (flags.testFlag(ModifierFlag::Shift))
        symbols += u"⇧";
    if (flags.testFlag(ModifierFlag::Command))
        symbols += u"⌘";
    if (flags.testFlag(ModifierFlag::Function))
        symbols += QString::fromUtf16(u"\U0001F310\uFE0E");
    return symbols;
}

std::optional<QString> keyToCharacter(int carbonKeyCode)
{
    if (auto special = specialKeyText(carbonKeyCode))
        return special;
    return keysymText(carbonKeyCode);
}

QString shortcutDescription(const Shortcut& shortcut)
{
    const QString key = keyToCharacter(shortcut.carbonKeyCode).value_or(QString(QChar(0xFFFD)));
    return modifierSymbols(shortcut.modifierFlags()) + capitalized(key);
}

QString keyEquivalentString(const Shortcut& shortcut)
{
    const QString character = keyToCharacter(shortcut.carbonKeyCode).value_or(QString());
    if (graphemeCount(character) > 1)
        return keyEquivalentTableText(shortcut.carbonKeyCode);
    return character;
}

QString nativeShortcutText(const Shortcut& shortcut)
{
    const auto combination = shortcut.qtCombination();
    if (!combination)
        return shortcutDescription(shortcut);
    return QKeySequence(*combination).toString(QKeySequence::NativeText);
}

} // namespace HotKeys
