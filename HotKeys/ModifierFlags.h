#pragma once

#include <QFlags>
#include <Qt>

#include <cstdint>

namespace HotKeys {

// Modifier flags with the bit values of the original platform's event flags. Display strings
// and conversions are defined on these; Qt modifiers and Carbon bits convert through them.
enum class ModifierFlag : std::uint32_t
{
    CapsLock = 0x10000,
    Shift = 0x20000,
    Control = 0x40000,
    Option = 0x80000,
    Command = 0x100000,
    NumericPad = 0x200000,
    Function = 0x800000,
};
Q_DECLARE_FLAGS(ModifierFlags, ModifierFlag)
Q_DECLARE_OPERATORS_FOR_FLAGS(ModifierFlags)

// Carbon modifier bits as stored in a shortcut.
namespace CarbonModifier {
inline constexpr int cmdKey = 0x100;
inline constexpr int shiftKey = 0x200;
inline constexpr int optionKey = 0x800;
inline constexpr int controlKey = 0x1000;
} // namespace CarbonModifier

// Only Command, Shift, Option and Control have Carbon bits; everything else is dropped.
int carbonModifiersFromFlags(ModifierFlags flags);
ModifierFlags flagsFromCarbonModifiers(int carbonModifiers);

// On Linux Command is Ctrl and Control is Meta, as Qt maps them on the original platform.
ModifierFlags flagsFromQtModifiers(Qt::KeyboardModifiers modifiers);
Qt::KeyboardModifiers qtModifiersFromFlags(ModifierFlags flags);

// The four modifiers a shortcut may hold.
inline constexpr ModifierFlags shortcutModifierMask = ModifierFlags(ModifierFlag::Command) |
                                                      ModifierFlag::Shift | ModifierFlag::Option |
                                                      ModifierFlag::Control;

} // namespace HotKeys
