// Display strings, the key table and the modifier conversions.
#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/CarbonKeyTable.h"
#include "HotKeys/HotKeys.h"

#include <gtest/gtest.h>

using namespace HotKeys;

namespace {
constexpr int cmd = CarbonModifier::cmdKey;
constexpr int shift = CarbonModifier::shiftKey;
constexpr int option = CarbonModifier::optionKey;
constexpr int control = CarbonModifier::controlKey;
} // namespace

TEST(ModifierSymbols, ComeInControlOptionShiftCommandOrder)
{
    const ModifierFlags all =
        ModifierFlag::Command | ModifierFlag::Shift | ModifierFlag::Option | ModifierFlag::Control;
    EXPECT_EQ(modifierSymbols(all), u"⌃⌥⇧⌘");
    EXPECT_EQ(modifierSymbols(ModifierFlag::Function), QString::fromUtf16(u"\U0001F310\uFE0E"));
    EXPECT_EQ(modifierSymbols(ModifierFlag::CapsLock | ModifierFlag::NumericPad), u"");
}

TEST(ModifierConversion, KeepsOnlyTheFourModifiersBothWays)
{
    const ModifierFlags flags = ModifierFlag::Command | ModifierFlag::Shift |
                                ModifierFlag::CapsLock | ModifierFlag::Function;
    EXPECT_EQ(carbonModifiersFromFlags(flags), cmd | shift);
    EXPECT_EQ(flagsFromCarbonModifiers(cmd | shift | option | control | 0x4000),
              ModifierFlag::Command | ModifierFlag::Shift | ModifierFlag::Option |
                  ModifierFlag::Control);
    EXPECT_EQ(Shortcut::fromKey(CarbonKey::ANSI_A, flags),
              (Shortcut{CarbonKey::ANSI_A, cmd | shift}));
}

TEST(ModifierConversion, CommandIsCtrlAndControlIsMeta)
{
    EXPECT_EQ(qtModifiersFromFlags(ModifierFlag::Command), Qt::ControlModifier);
    EXPECT_EQ(qtModifiersFromFlags(ModifierFlag::Control), Qt::MetaModifier);
    EXPECT_EQ(qtModifiersFromFlags(ModifierFlag::Option), Qt::AltModifier);
    EXPECT_EQ(flagsFromQtModifiers(Qt::ControlModifier | Qt::ShiftModifier),
              ModifierFlag::Command | ModifierFlag::Shift);
}

TEST(KeyToCharacter, SpecialKeysHaveTheirSymbols)
{
    EXPECT_EQ(keyToCharacter(CarbonKey::Return), u"↩");
    EXPECT_EQ(keyToCharacter(CarbonKey::Space), u"Space");
    EXPECT_EQ(keyToCharacter(CarbonKey::Help), u"?\u20DD");
    EXPECT_EQ(keyToCharacter(CarbonKey::F20), u"F20");
    EXPECT_EQ(keyToCharacter(CarbonKey::ANSI_Keypad7), u"7\u20E3");
    EXPECT_EQ(keyToCharacter(CarbonKey::ANSI_KeypadClear), u"☒\u20E3");
}

TEST(KeyToCharacter, OtherKeysGiveTheirCharacter)
{
    EXPECT_EQ(keyToCharacter(CarbonKey::ANSI_K), u"k");
    EXPECT_EQ(keyToCharacter(CarbonKey::ANSI_Slash), u"/");
    EXPECT_EQ(keyToCharacter(CarbonKey::ANSI_Grave), u"`");
    EXPECT_FALSE(keyToCharacter(CarbonKey::VolumeUp).has_value());
    EXPECT_FALSE(keyToCharacter(0x7F).has_value());
}

TEST(ShortcutDescription, IsSymbolsAndTheCapitalisedKey)
{
    EXPECT_EQ(shortcutDescription({CarbonKey::Space, cmd | shift}), u"⇧⌘Space");
    EXPECT_EQ(shortcutDescription({CarbonKey::ANSI_A, control}), u"⌃A");
    EXPECT_EQ(shortcutDescription({CarbonKey::F5, 0}), u"F5");
    EXPECT_EQ(shortcutDescription({0x7F, cmd}), u"⌘\uFFFD");
}

TEST(KeyEquivalentString, UsesTheCharacterOrTheMenuTable)
{
    EXPECT_EQ(keyEquivalentString({CarbonKey::F5, 0}), QString(QChar(0xF708)));
    EXPECT_EQ(keyEquivalentString({CarbonKey::F1, 0}), QString(QChar(0xF704)));
    EXPECT_EQ(keyEquivalentString({CarbonKey::F20, 0}), QString(QChar(0xF717)));
    EXPECT_EQ(keyEquivalentString({CarbonKey::Space, cmd}), u" ");
    EXPECT_EQ(keyEquivalentString({CarbonKey::ANSI_Q, cmd}), u"q");
    // One visible character, even though it is two code points.
    EXPECT_EQ(keyEquivalentString({CarbonKey::ANSI_Keypad1, cmd}), u"1\u20E3");
    EXPECT_EQ(keyEquivalentString({CarbonKey::VolumeUp, cmd}), u"");
}

TEST(NativeShortcutText, UsesThePlatformsWords)
{
    EXPECT_EQ(nativeShortcutText({CarbonKey::Space, cmd | shift}), u"Ctrl+Shift+Space");
    EXPECT_EQ(nativeShortcutText({CarbonKey::ANSI_K, cmd | option}), u"Ctrl+Alt+K");
    EXPECT_EQ(nativeShortcutText({CarbonKey::ANSI_A, control}), u"Meta+A");
    EXPECT_EQ(nativeShortcutText({0x7F, cmd}), u"⌘\uFFFD");
}

// Every key must survive the trips the facility makes: to a keysym for grabbing and back,
// and to a Qt key for recording and menus and back.
TEST(CarbonKeyTable, EveryKeyRoundTrips)
{
    int keys = 0;
    for (int code = 0; code < 0x80; ++code) {
        const auto keysym = CarbonKeyTable::keysymForCarbonKey(code);
        const auto qtKey = CarbonKeyTable::qtKeyForCarbonKey(code);
        ASSERT_EQ(keysym.has_value(), qtKey.has_value()) << code;
        if (!keysym)
            continue;
        ++keys;
        EXPECT_EQ(CarbonKeyTable::carbonKeyForKeysym(*keysym), code) << code;
        const auto back = CarbonKeyTable::carbonKeyForQtKey(qtKey->key, qtKey->keypad);
        ASSERT_TRUE(back.has_value()) << code;
        EXPECT_EQ(back->carbonKeyCode, code) << code;
        EXPECT_FALSE(back->impliesShift) << code;
    }
    // 26 letters, 10 digits, 13 punctuation keys, 11 special keys, 4 arrows, F1 to F20,
    // 18 keypad keys and the three volume keys.
    EXPECT_EQ(keys, 105);
}

TEST(CarbonKeyTable, ShiftedCharactersNameTheirKey)
{
    const auto exclam = Shortcut::fromQtCombination(Qt::CTRL | Qt::Key_Exclam);
    EXPECT_EQ(exclam, (Shortcut{CarbonKey::ANSI_1, cmd | shift}));
    const auto backtab = Shortcut::fromQtCombination(Qt::ALT | Qt::Key_Backtab);
    EXPECT_EQ(backtab, (Shortcut{CarbonKey::Tab, option | shift}));
    const auto keypadPlus = Shortcut::fromQtCombination(
        QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, Qt::Key_Plus));
    EXPECT_EQ(keypadPlus, (Shortcut{CarbonKey::ANSI_KeypadPlus, cmd}));
    EXPECT_EQ(CarbonKeyTable::carbonKeyForKeysym(0x4b), CarbonKey::ANSI_K);
    EXPECT_FALSE(Shortcut::fromQtCombination(Qt::CTRL | Qt::Key_F30).has_value());
}
