#pragma once

#include <cstdint>

namespace HotKeys {

// Results of the event callback, with Carbon's values.
inline constexpr int noErr = 0;
inline constexpr int eventNotHandledErr = -9874;

// One keyboard event for the hot-key callback. Hot-key kinds identify a registration by
// signature and id; raw kinds (delivered while a menu is open) carry the key itself.
struct HotKeyEvent
{
    enum class Kind
    {
        RawKeyDown = 1,
        RawKeyUp = 3,
        HotKeyPressed = 5,
        HotKeyReleased = 6
    };

    Kind kind = Kind::HotKeyPressed;
    std::uint32_t signature = 0;
    std::uint32_t id = 0;
    int keyCode = 0;
    int modifiers = 0;
    // The window system's time of the event (X server time); 0 when unknown.
    std::uint32_t timestamp = 0;
};

} // namespace HotKeys
