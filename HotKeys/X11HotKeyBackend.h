#pragma once

#include "HotKeys/HotKeyBackend.h"

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QObject>

#include <map>
#include <memory>
#include <vector>
#include <xcb/xcb.h>

struct _XCBKeySymbols;

namespace HotKeys {

// Global shortcuts on an X server: passive key grabs on the root windows, one for every
// keycode of the key's keysym and every combination of Caps Lock and Num Lock, so the
// shortcut works whatever those locks are. Presses and releases arrive through Qt's native
// event filter; holding the key down gives one press and one release. (XKB's detectable
// auto-repeat would also hide the repeats, but it is a setting of Qt's whole connection and
// would change the auto-repeat flag of every key event the application sees.)
class X11HotKeyBackend : public HotKeyBackend, public QAbstractNativeEventFilter
{
public:
    // Nothing when the application does not run on X11.
    static std::unique_ptr<X11HotKeyBackend> create();
    ~X11HotKeyBackend() override;

    bool registerHotKey(const Shortcut& shortcut, std::uint32_t id) override;
    void unregisterHotKey(std::uint32_t id) override;
    bool installEventHandler(EventCallback callback) override;
    void setHotKeyEventsEnabled(bool enabled) override;
    void setObserver(Observer observer) override;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    struct Grab
    {
        Shortcut shortcut;
        std::vector<xcb_keycode_t> keycodes;
        std::uint16_t modifiers = 0;
    };

    explicit X11HotKeyBackend(xcb_connection_t* connection);

    void readModifierMap();
    void findXkbEvents();
    bool resolve(Grab& grab) const;
    std::uint16_t xModifiers(int carbonModifiers) const;
    std::vector<std::uint16_t> lockVariants() const;
    bool grabKeys(const Grab& grab);
    void ungrabKeys(const Grab& grab);
    void scheduleRegrab();
    void regrabAll();

    bool isRootWindow(xcb_window_t window) const;
    bool handleKeyPress(const xcb_key_press_event_t* event);
    bool handleKeyRelease(const xcb_key_release_event_t* event);
    void sendMarker(std::uint32_t serial);
    bool handleMarker(const xcb_client_message_event_t* event);
    void releaseKey(xcb_keycode_t keycode);
    void deliver(HotKeyEvent::Kind kind, std::uint32_t id, xcb_timestamp_t time);

    xcb_connection_t* m_connection;
    std::vector<xcb_window_t> m_roots;
    _XCBKeySymbols* m_symbols = nullptr;
    std::uint16_t m_numLockMask = 0;
    std::uint16_t m_altMask = 0;
    std::uint16_t m_superMask = 0;
    std::uint8_t m_xkbFirstEvent = 0;
    std::map<std::uint32_t, Grab> m_grabs;
    struct PendingRelease
    {
        xcb_timestamp_t time = 0;
        std::uint32_t markerSerial = 0;
    };

    // The hot key each held key belongs to, from its press to its release.
    QHash<xcb_keycode_t, std::uint32_t> m_held;
    // Releases waiting for their marker, to tell them from auto-repeat.
    std::map<xcb_keycode_t, PendingRelease> m_pendingReleases;
    xcb_window_t m_markerWindow = XCB_NONE;
    std::uint32_t m_markerSerial = 0;
    EventCallback m_callback;
    Observer m_observer;
    bool m_eventsEnabled = false;
    bool m_regrabPending = false;
    // Owns the queued calls, so none runs after the backend is gone.
    QObject m_context;
};

} // namespace HotKeys
