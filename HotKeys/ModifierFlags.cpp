#include "HotKeys/ModifierFlags.h"

namespace HotKeys {
namespace {

struct ModifierRow
{
    ModifierFlag flag;
    int carbonBit;
    Qt::KeyboardModifier qtModifier;
};

constexpr ModifierRow modifierRows[] = {
    {ModifierFlag::Control, CarbonModifier::controlKey, Qt::MetaModifier},
    {ModifierFlag::Option, CarbonModifier::optionKey, Qt::AltModifier},
    {ModifierFlag::Shift, CarbonModifier::shiftKey, Qt::ShiftModifier},
    {ModifierFlag::Command, CarbonModifier::cmdKey, Qt::ControlModifier},
};

} // namespace

int carbonModifiersFromFlags(ModifierFlags flags)
{
    int bits = 0;
    for (const ModifierRow& row : modifierRows) {
        if (flags.testFlag(row.flag))
            bits |= row.carbonBit;
    }
    return bits;
}

ModifierFlags flagsFromCarbonModifiers(int carbonModifiers)
{
    ModifierFlags flags;
    for (const ModifierRow& row : modifierRows) {
        if ((carbonModifiers & row.carbonBit) != 0)
            flags |= row.flag;
    }
    return flags;
}

ModifierFlags flagsFromQtModifiers(Qt::KeyboardModifiers modifiers)
{
    ModifierFlags flags;
    for (const ModifierRow& row : modifierRows) {
        if (modifiers.testFlag(row.qtModifier))
            flags |= row.flag;
    }
    if (modifiers.testFlag(Qt::KeypadModifier))
        flags |= ModifierFlag::NumericPad;
    return flags;
}

Qt::KeyboardModifiers qtModifiersFromFlags(ModifierFlags flags)
{
    Qt::KeyboardModifiers modifiers;
    for (const ModifierRow& row : modifierRows) {
        if (flags.testFlag(row.flag))
            modifiers |= row.qtModifier;
    }
    if (flags.testFlag(ModifierFlag::NumericPad))
        modifiers |= Qt::KeypadModifier;
    return modifiers;
}

} // namespace HotKeys
