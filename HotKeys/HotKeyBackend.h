#pragma once

#include "HotKeys/HotKeyEvent.h"
#include "HotKeys/Shortcut.h"
#include "HotKeys/SystemBinding.h"

#include <functional>
#include <memory>

namespace HotKeys {

// What the hot-key layer needs from the window system: system-wide registration of a key
// combination under an id, and delivery of its presses and releases to one callback.
class HotKeyBackend
{
public:
    using EventCallback = std::function<int(const HotKeyEvent&)>;

    virtual ~HotKeyBackend() = default;

    // False when the combination cannot be had (another program holds it, unknown key).
    virtual bool registerHotKey(const Shortcut& shortcut, std::uint32_t id) = 0;
    virtual void unregisterHotKey(std::uint32_t id) = 0;
    virtual bool installEventHandler(EventCallback callback) = 0;
    // Whether hot-key events reach the callback (they are held back while a menu is open).
    virtual void setHotKeyEventsEnabled(bool enabled) = 0;

    // What the window system says after registerHotKey has answered.
    struct Observer
    {
        // It took back a registration it had granted (a new keymap without the key).
        std::function<void(std::uint32_t id)> revoked;
        // The desktop answered about its bindings, or changed them.
        std::function<void()> bindingsChanged;
    };
    virtual void setObserver(Observer observer);
    // How the window system holds a granted registration for one of the names it serves.
    // Backends that decide at once answer granted, with the stored shortcut as the trigger.
    virtual SystemBinding binding(std::uint32_t id, const QString& name) const;

    // X11 grabs, the desktop portal on Wayland, else a backend that registers nothing.
    static std::unique_ptr<HotKeyBackend> createForSession();
};

} // namespace HotKeys
