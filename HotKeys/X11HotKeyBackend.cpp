#include "HotKeys/X11HotKeyBackend.h"

#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/CarbonKeyTable.h"

#include <QCoreApplication>
#include <QGuiApplication>

#include <algorithm>
#include <cstdlib>
#include <xcb/xcb_keysyms.h>
// The XKB header names a structure member "explicit", a keyword in C++.
#if defined(__clang__)
#pragma clang diagnostic push
#pragma clang diagnostic ignored "-Wkeyword-macro"
#endif
#define explicit explicit_
#include <xcb/xkb.h>
#undef explicit
#if defined(__clang__)
#pragma clang diagnostic pop
#endif

namespace HotKeys {
namespace {

constexpr xcb_keysym_t numLockKeysym = 0xff7f;
constexpr xcb_keysym_t altLeftKeysym = 0xffe9;
constexpr xcb_keysym_t altRightKeysym = 0xffea;
constexpr xcb_keysym_t superLeftKeysym = 0xffeb;
constexpr xcb_keysym_t superRightKeysym = 0xffec;

// X events carry a "sent by another client" bit in their type.
std::uint8_t eventType(const xcb_generic_event_t* event)
{
    return event->response_type & 0x7f;
}

template <typename Reply>
using ReplyPointer = std::unique_ptr<Reply, decltype(&std::free)>;

template <typename Reply>
ReplyPointer<Reply> owned(Reply* reply)
{
    return ReplyPointer<Reply>(reply, &std::free);
}

} // namespace

std::unique_ptr<X11HotKeyBackend> X11HotKeyBackend::create()
{
    auto* application =
        qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!application || !application->connection())
        return nullptr;
    return std::unique_ptr<X11HotKeyBackend>(new X11HotKeyBackend(application->connection()));
}

X11HotKeyBackend::X11HotKeyBackend(xcb_connection_t* connection)
    : m_connection(connection)
    , m_symbols(xcb_key_symbols_alloc(connection))
{
    for (auto screen = xcb_setup_roots_iterator(xcb_get_setup(connection)); screen.rem;
         xcb_screen_next(&screen))
        m_roots.push_back(screen.data->root);
    readModifierMap();
    findXkbEvents();
    QCoreApplication::instance()->installNativeEventFilter(this);
}

X11HotKeyBackend::~X11HotKeyBackend()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeNativeEventFilter(this);
    for (const auto& [id, grab] : m_grabs)
        ungrabKeys(grab);
    if (m_markerWindow != XCB_NONE)
        xcb_destroy_window(m_connection, m_markerWindow);
    xcb_flush(m_connection);
    xcb_key_symbols_free(m_symbols);
}

// Alt, Super and Num Lock sit on whichever modifier bits the keymap gives them.
void X11HotKeyBackend::readModifierMap()
{
    m_numLockMask = 0;
    m_altMask = 0;
    m_superMask = 0;
    const auto reply = owned(xcb_get_modifier_mapping_reply(
        m_connection, xcb_get_modifier_mapping(m_connection), nullptr));
    if (reply) {
        const xcb_keycode_t* keycodes = xcb_get_modifier_mapping_keycodes(reply.get());
        const int perModifier = reply->keycodes_per_modifier;
        for (int modifier = 0; modifier < 8; ++modifier) {
            const auto bit = static_cast<std::uint16_t>(1U << modifier);
            for (int index = 0; index < perModifier; ++index) {
                const xcb_keycode_t keycode = keycodes[modifier * perModifier + index];
                for (int column = 0; keycode != 0 && column < 4; ++column) {
                    const xcb_keysym_t keysym =
                        xcb_key_symbols_get_keysym(m_symbols, keycode, column);
                    if (keysym == numLockKeysym)
                        m_numLockMask |= bit;
                    if (keysym == altLeftKeysym || keysym == altRightKeysym)
                        m_altMask |= bit;
                    if (keysym == superLeftKeysym || keysym == superRightKeysym)
                        m_superMask |= bit;
                }
            }
        }
    }
    // The usual places, for keymaps that do not say.
    if (m_numLockMask == 0)
        m_numLockMask = XCB_MOD_MASK_2;
    if (m_altMask == 0)
        m_altMask = XCB_MOD_MASK_1;
    if (m_superMask == 0)
        m_superMask = XCB_MOD_MASK_4;
}

// Keymap changes arrive as XKB events; their type number depends on the server.
void X11HotKeyBackend::findXkbEvents()
{
    const xcb_query_extension_reply_t* extension =
        xcb_get_extension_data(m_connection, &xcb_xkb_id);
    if (extension && extension->present)
        m_xkbFirstEvent = extension->first_event;
}

std::uint16_t X11HotKeyBackend::xModifiers(int carbonModifiers) const
{
    std::uint16_t mask = 0;
    if (carbonModifiers & CarbonModifier::cmdKey)
        mask |= XCB_MOD_MASK_CONTROL;
    if (carbonModifiers & CarbonModifier::shiftKey)
        mask |= XCB_MOD_MASK_SHIFT;
    if (carbonModifiers & CarbonModifier::optionKey)
        mask |= m_altMask;
    if (carbonModifiers & CarbonModifier::controlKey)
        mask |= m_superMask;
    return mask;
}

std::vector<std::uint16_t> X11HotKeyBackend::lockVariants() const
{
    const auto capsLock = static_cast<std::uint16_t>(XCB_MOD_MASK_LOCK);
    return {0, capsLock, m_numLockMask, static_cast<std::uint16_t>(capsLock | m_numLockMask)};
}

bool X11HotKeyBackend::resolve(Grab& grab) const
{
    grab.keycodes.clear();
    const auto keysym = CarbonKeyTable::keysymForCarbonKey(grab.shortcut.carbonKeyCode);
    if (!keysym)
        return false;
    grab.modifiers = xModifiers(grab.shortcut.carbonModifiers);
    xcb_keycode_t* keycodes = xcb_key_symbols_get_keycode(m_symbols, *keysym);
    for (xcb_keycode_t* keycode = keycodes; keycode && *keycode != XCB_NO_SYMBOL; ++keycode)
        grab.keycodes.push_back(*keycode);
    std::free(keycodes);
    return !grab.keycodes.empty();
}

// All or nothing: a combination another program holds fails with BadAccess.
bool X11HotKeyBackend::grabKeys(const Grab& grab)
{
    std::vector<xcb_void_cookie_t> cookies;
    for (xcb_window_t root : m_roots) {
        for (xcb_keycode_t keycode : grab.keycodes) {
            for (std::uint16_t locks : lockVariants()) {
                cookies.push_back(xcb_grab_key_checked(m_connection, 0, root,
                                                       grab.modifiers | locks, keycode,
                                                       XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
            }
        }
    }
    bool granted = true;
    for (xcb_void_cookie_t cookie : cookies) {
        if (auto error = owned(xcb_request_check(m_connection, cookie)))
            granted = false;
    }
    if (!granted)
        ungrabKeys(grab);
    return granted;
}

void X11HotKeyBackend::ungrabKeys(const Grab& grab)
{
    for (xcb_window_t root : m_roots) {
        for (xcb_keycode_t keycode : grab.keycodes) {
            for (std::uint16_t locks : lockVariants())
                xcb_ungrab_key(m_connection, keycode, root, grab.modifiers | locks);
        }
    }
    xcb_flush(m_connection);
}

bool X11HotKeyBackend::registerHotKey(const Shortcut& shortcut, std::uint32_t id)
{
    Grab grab{shortcut, {}, 0};
    if (!resolve(grab) || !grabKeys(grab))
        return false;
    m_grabs[id] = grab;
    return true;
}

void X11HotKeyBackend::unregisterHotKey(std::uint32_t id)
{
    const auto found = m_grabs.find(id);
    if (found == m_grabs.end())
        return;
    ungrabKeys(found->second);
    m_grabs.erase(found);
}

bool X11HotKeyBackend::installEventHandler(EventCallback callback)
{
    m_callback = std::move(callback);
    return true;
}

void X11HotKeyBackend::setHotKeyEventsEnabled(bool enabled)
{
    m_eventsEnabled = enabled;
}

void X11HotKeyBackend::setObserver(Observer observer)
{
    m_observer = std::move(observer);
}

// A new keymap may move keysyms to other keycodes and modifiers to other bits.
void X11HotKeyBackend::scheduleRegrab()
{
    if (m_regrabPending)
        return;
    m_regrabPending = true;
    QMetaObject::invokeMethod(
        &m_context, [this] { regrabAll(); }, Qt::QueuedConnection);
}

// A key the new keymap lacks, or a combination another program took meanwhile, is lost: the
// layer hears of it rather than counting a grab that no longer exists.
void X11HotKeyBackend::regrabAll()
{
    m_regrabPending = false;
    for (auto& [id, grab] : m_grabs)
        ungrabKeys(grab);
    xcb_key_symbols_free(m_symbols);
    m_symbols = xcb_key_symbols_alloc(m_connection);
    readModifierMap();
    std::vector<std::uint32_t> lost;
    for (auto& [id, grab] : m_grabs) {
        if (!resolve(grab) || !grabKeys(grab))
            lost.push_back(id);
    }
    for (std::uint32_t id : lost) {
        m_grabs.erase(id);
        if (m_observer.revoked)
            m_observer.revoked(id);
    }
}

bool X11HotKeyBackend::nativeEventFilter(const QByteArray& type, void* message, qintptr*)
{
    if (type != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    switch (eventType(event)) {
    case XCB_KEY_PRESS:
        return handleKeyPress(reinterpret_cast<const xcb_key_press_event_t*>(event));
    case XCB_KEY_RELEASE:
        return handleKeyRelease(reinterpret_cast<const xcb_key_release_event_t*>(event));
    case XCB_CLIENT_MESSAGE:
        return handleMarker(reinterpret_cast<const xcb_client_message_event_t*>(event));
    case XCB_MAPPING_NOTIFY:
        scheduleRegrab();
        return false;
    default:
        break;
    }
    if (m_xkbFirstEvent != 0 && eventType(event) == m_xkbFirstEvent) {
        // The XKB event kind sits in the second byte of every XKB event.
        const std::uint8_t xkbType = reinterpret_cast<const std::uint8_t*>(event)[1];
        if (xkbType == XCB_XKB_NEW_KEYBOARD_NOTIFY || xkbType == XCB_XKB_MAP_NOTIFY)
            scheduleRegrab();
    }
    return false;
}

bool X11HotKeyBackend::isRootWindow(xcb_window_t window) const
{
    return std::find(m_roots.begin(), m_roots.end(), window) != m_roots.end();
}

bool X11HotKeyBackend::handleKeyPress(const xcb_key_press_event_t* event)
{
    if (!isRootWindow(event->event))
        return false;
    const auto pending = m_pendingReleases.find(event->detail);
    if (pending != m_pendingReleases.end()) {
        // Auto-repeat sends a release and a press with one time stamp: the key never went up.
        if (pending->second.time == event->time) {
            m_pendingReleases.erase(pending);
            return true;
        }
        releaseKey(event->detail);
    }
    const std::uint16_t relevant =
        XCB_MOD_MASK_SHIFT | XCB_MOD_MASK_CONTROL | m_altMask | m_superMask;
    const std::uint16_t modifiers = event->state & relevant;
    for (const auto& [id, grab] : m_grabs) {
        const bool sameKey = std::find(grab.keycodes.begin(), grab.keycodes.end(), event->detail) !=
                             grab.keycodes.end();
        if (!sameKey || grab.modifiers != modifiers)
            continue;
        if (m_held.contains(event->detail))
            return true;
        m_held.insert(event->detail, id);
        deliver(HotKeyEvent::Kind::HotKeyPressed, id, event->time);
        return true;
    }
    return false;
}

// A release may be the first half of an auto-repeat pair, whose press the server sends right
// after it. A marker sent through the server arrives after that press, so when the marker
// comes back without the press, the key really went up.
bool X11HotKeyBackend::handleKeyRelease(const xcb_key_release_event_t* event)
{
    if (!m_held.contains(event->detail))
        return false;
    m_pendingReleases[event->detail] = PendingRelease{event->time, ++m_markerSerial};
    sendMarker(m_markerSerial);
    return true;
}

void X11HotKeyBackend::sendMarker(std::uint32_t serial)
{
    if (m_markerWindow == XCB_NONE) {
        m_markerWindow = xcb_generate_id(m_connection);
        xcb_create_window(m_connection, XCB_COPY_FROM_PARENT, m_markerWindow, m_roots.front(), 0, 0,
                          1, 1, 0, XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
    }
    xcb_client_message_event_t marker{};
    marker.response_type = XCB_CLIENT_MESSAGE;
    marker.format = 32;
    marker.window = m_markerWindow;
    marker.type = XCB_ATOM_INTEGER;
    marker.data.data32[0] = serial;
    xcb_send_event(m_connection, 0, m_markerWindow, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&marker));
    xcb_flush(m_connection);
}

bool X11HotKeyBackend::handleMarker(const xcb_client_message_event_t* event)
{
    if (m_markerWindow == XCB_NONE || event->window != m_markerWindow)
        return false;
    const std::uint32_t serial = event->data.data32[0];
    std::vector<xcb_keycode_t> released;
    for (const auto& [keycode, pending] : m_pendingReleases) {
        if (pending.markerSerial <= serial)
            released.push_back(keycode);
    }
    for (xcb_keycode_t keycode : released)
        releaseKey(keycode);
    return true;
}

void X11HotKeyBackend::releaseKey(xcb_keycode_t keycode)
{
    const auto pending = m_pendingReleases.find(keycode);
    const auto held = m_held.find(keycode);
    if (pending == m_pendingReleases.end() || held == m_held.end())
        return;
    const xcb_timestamp_t time = pending->second.time;
    const std::uint32_t id = held.value();
    m_pendingReleases.erase(pending);
    m_held.erase(held);
    deliver(HotKeyEvent::Kind::HotKeyReleased, id, time);
}

void X11HotKeyBackend::deliver(HotKeyEvent::Kind kind, std::uint32_t id, xcb_timestamp_t time)
{
    if (!m_eventsEnabled || !m_callback)
        return;
    HotKeyEvent hotKeyEvent;
    hotKeyEvent.kind = kind;
    hotKeyEvent.signature = CarbonHotKeys::signature;
    hotKeyEvent.id = id;
    hotKeyEvent.timestamp = time;
    m_callback(hotKeyEvent);
}

} // namespace HotKeys
