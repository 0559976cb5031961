#pragma once

#include "HotKeys/HotKeyBackend.h"
#include "HotKeys/HotKeyEvent.h"
#include "HotKeys/Shortcut.h"

#include <QList>

#include <cstdint>
#include <functional>
#include <memory>

namespace HotKeys {

// The registration layer: every system hot key the facility holds, under ids that are never
// reused, and the event callback that turns the window system's events into calls of their
// key-down and key-up functions. While a menu is open the window system sends no hot-key
// events (the menu holds the keyboard), so the layer then matches the menu's raw key events.
class CarbonHotKeys
{
public:
    using Action = std::function<void(const Shortcut&)>;

    struct HotKey
    {
        Shortcut shortcut;
        std::uint32_t carbonHotKeyId = 0;
        // False while soft-unregistered.
        bool carbonHotKey = false;
        Action onKeyDown;
        Action onKeyUp;
    };

    // The signature of every registration, 'VLHK'.
    static constexpr std::uint32_t signature = 0x564C484B;

    static void registerHotKey(const Shortcut& shortcut, Action onKeyDown, Action onKeyUp);
    static void unregisterHotKey(const Shortcut& shortcut);
    static void registerAllHotKeys();
    static void unregisterAllHotKeys();
    static void updateEventHandler();
    static int handleEvent(const HotKeyEvent& event);

    static void installMenuTrackingObservers();
    static bool menuTracking();
    static std::uint32_t lastEventTimestamp();

    // The window system behind the layer; created for the session on first use unless set.
    // Either way it is released when the application object goes, before Qt closes its
    // connection to the window system.
    static void setBackend(std::unique_ptr<HotKeyBackend> backend);
    // What the window system made of the registration of a shortcut, for one of its names;
    // refused when there is no registration (the window system said no, or took it back).
    static SystemBinding systemBinding(const Shortcut& shortcut, const QString& name);
    // The current registrations, by id.
    static QList<HotKey> hotKeys();
};

} // namespace HotKeys
