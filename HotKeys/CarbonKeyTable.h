#pragma once

#include <Qt>

#include <cstdint>
#include <optional>

namespace HotKeys {

// A Carbon key code as Qt names it: the key and whether it sits on the keypad.
struct QtKeyOfCarbonKey
{
    Qt::Key key;
    bool keypad;
};

// A Carbon key code read from a Qt key. Shifted US characters (as "!" for Shift-1) name the
// unshifted key and say that Shift was part of them.
struct CarbonKeyOfQtKey
{
    int carbonKeyCode;
    bool impliesShift;
};

// The one table between Carbon key codes, X keysyms and Qt keys. Grabbing, recording, display
// and the desktop's reserved shortcuts all translate through it, so they agree on every key.
class CarbonKeyTable
{
public:
    static std::optional<std::uint32_t> keysymForCarbonKey(int carbonKeyCode);
    static std::optional<int> carbonKeyForKeysym(std::uint32_t keysym);
    static std::optional<QtKeyOfCarbonKey> qtKeyForCarbonKey(int carbonKeyCode);
    static std::optional<CarbonKeyOfQtKey> carbonKeyForQtKey(int qtKey, bool keypad);
    static bool isModifierKey(int qtKey);
};

} // namespace HotKeys
