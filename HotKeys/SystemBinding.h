#pragma once

#include <QString>

namespace HotKeys {

// What the window system made of a name's shortcut: whether pressing it will do anything.
struct SystemBinding
{
    enum class State
    {
        // Nothing was asked of the window system: no shortcut, or no handler wants it yet.
        unregistered,
        // Asked; the desktop has not answered yet.
        pending,
        // The shortcut works.
        granted,
        // The window system or the desktop said no; pressing the shortcut does nothing.
        refused
    };

    State state = State::unregistered;
    // The desktop's own words for the trigger it bound, when the desktop chooses the trigger
    // (the portal); empty where the stored shortcut is the trigger.
    QString trigger;

    friend bool operator==(const SystemBinding&, const SystemBinding&) = default;
};

} // namespace HotKeys
