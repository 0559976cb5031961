// The shortcut on a real X server: xdotool presses and releases keys the way a person does,
// and the handlers of the default shortcut must run once per press and release.
#include "ApplicationName.h"
#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/CarbonKeyCodes.h"
#include "HotKeys/HotKeys.h"
#include "Wait.h"

#include <QAbstractNativeEventFilter>
#include <QApplication>
#include <QDeadlineTimer>
#include <QMenu>
#include <QProcess>
#include <QTemporaryDir>
#include <QWindow>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <vector>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

using namespace HotKeys;

namespace {

constexpr int cmd = CarbonModifier::cmdKey;
constexpr int option = CarbonModifier::optionKey;
constexpr xcb_keysym_t spaceKeysym = 0x20;

int keyDowns = 0;
int keyUps = 0;

void xdotool(const QStringList& arguments)
{
    ASSERT_EQ(QProcess::execute(QStringLiteral("xdotool"), arguments), 0)
        << arguments.join(u' ').toStdString();
}

xcb_connection_t* qtConnection()
{
    return qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->connection();
}

// A marker event sent to ourselves through the X server. xdotool has finished (and so the
// server has handled its input) before the marker is sent, so when the marker arrives every
// key event that input caused has arrived and been handled before it.
class EventBarrier : public QAbstractNativeEventFilter
{
public:
    EventBarrier()
        : m_window(xcb_generate_id(qtConnection()))
    {
        xcb_connection_t* connection = qtConnection();
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, m_window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        qGuiApp->installNativeEventFilter(this);
    }

    void waitForEarlierEvents()
    {
        xcb_client_message_event_t marker{};
        marker.response_type = XCB_CLIENT_MESSAGE;
        marker.format = 32;
        marker.window = m_window;
        marker.type = XCB_ATOM_STRING;
        marker.data.data32[0] = ++m_sent;
        xcb_send_event(qtConnection(), 0, m_window, XCB_EVENT_MASK_NO_EVENT,
                       reinterpret_cast<const char*>(&marker));
        xcb_flush(qtConnection());
        ASSERT_TRUE(waitUntil([this] { return m_received == m_sent; }));
    }

    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) != XCB_CLIENT_MESSAGE)
            return false;
        const auto* client = reinterpret_cast<const xcb_client_message_event_t*>(event);
        if (client->window != m_window)
            return false;
        m_received = client->data.data32[0];
        return true;
    }

private:
    xcb_window_t m_window;
    std::uint32_t m_sent = 0;
    std::uint32_t m_received = 0;
};

void waitForEarlierEvents()
{
    static EventBarrier barrier;
    barrier.waitForEarlierEvents();
}

// Counts the raw presses of Space the server sends, to see that auto-repeat really happened.
class SpacePressCounter : public QAbstractNativeEventFilter
{
public:
    explicit SpacePressCounter(xcb_keycode_t keycode)
        : m_keycode(keycode)
    {}
    bool nativeEventFilter(const QByteArray&, void* message, qintptr*) override
    {
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7f) == XCB_KEY_PRESS &&
            reinterpret_cast<const xcb_key_press_event_t*>(event)->detail == m_keycode)
            ++presses;
        return false;
    }
    int presses = 0;

private:
    xcb_keycode_t m_keycode;
};

class X11EndToEnd : public testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        const Name& toggleApp = appToggleName();
        addKeyDownHandler(toggleApp, [] { ++keyDowns; });
        addKeyUpHandler(toggleApp, [] { ++keyUps; });
    }

    void SetUp() override
    {
        keyDowns = 0;
        keyUps = 0;
    }

    void pressAndReleaseOnce()
    {
        xdotool({u"keydown"_qs, u"shift+ctrl+space"_qs});
        ASSERT_TRUE(waitUntil([] { return keyDowns == 1; }));
        waitForEarlierEvents();
        EXPECT_EQ(keyUps, 0) << "key-up ran on key-down";
        xdotool({u"keyup"_qs, u"shift+ctrl+space"_qs});
        ASSERT_TRUE(waitUntil([] { return keyUps == 1; }));
        waitForEarlierEvents();
        EXPECT_EQ(keyDowns, 1);
        EXPECT_EQ(keyUps, 1);
    }

    void toggleLock(const QString& key) { xdotool({u"key"_qs, key}); }
};

} // namespace

TEST_F(X11EndToEnd, TheDefaultShortcutIsStoredAndGrabbed)
{
    EXPECT_EQ(shortcutForName(appToggleName()), (Shortcut{CarbonKey::Space, 768}));
    bool grabbed = false;
    for (const CarbonHotKeys::HotKey& hotKey : CarbonHotKeys::hotKeys())
        grabbed =
            grabbed || (hotKey.shortcut == Shortcut{CarbonKey::Space, 768} && hotKey.carbonHotKey);
    EXPECT_TRUE(grabbed);
}

TEST_F(X11EndToEnd, PressAndReleaseCallsTheKeyUpHandlerOnce)
{
    pressAndReleaseOnce();
}

TEST_F(X11EndToEnd, HoldingTheKeysForASecondStillCallsItOnce)
{
    xcb_connection_t* connection = qtConnection();
    // Make sure the server repeats held keys, so the hold below really sends repeats.
    const std::uint32_t repeatOn = XCB_AUTO_REPEAT_MODE_ON;
    xcb_change_keyboard_control(connection, XCB_KB_AUTO_REPEAT_MODE, &repeatOn);
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    xcb_keycode_t* spaceKeycodes = xcb_key_symbols_get_keycode(symbols, spaceKeysym);
    SpacePressCounter counter(spaceKeycodes[0]);
    std::free(spaceKeycodes);
    xcb_key_symbols_free(symbols);
    qGuiApp->installNativeEventFilter(&counter);

    xdotool({u"keydown"_qs, u"shift+ctrl+space"_qs});
    ASSERT_TRUE(waitUntil([] { return keyDowns == 1; }));
    // A deliberate hold of one second, not a wait for a result.
    QDeadlineTimer hold(1000);
    while (!hold.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    waitForEarlierEvents();
    EXPECT_GT(counter.presses, 1) << "the server did not repeat the held key";
    EXPECT_EQ(keyDowns, 1);
    EXPECT_EQ(keyUps, 0);

    xdotool({u"keyup"_qs, u"shift+ctrl+space"_qs});
    ASSERT_TRUE(waitUntil([] { return keyUps == 1; }));
    waitForEarlierEvents();
    qGuiApp->removeNativeEventFilter(&counter);
    EXPECT_EQ(keyDowns, 1);
    EXPECT_EQ(keyUps, 1);
}

TEST_F(X11EndToEnd, WorksWithNumLockOn)
{
    toggleLock(u"Num_Lock"_qs);
    pressAndReleaseOnce();
    toggleLock(u"Num_Lock"_qs);
}

TEST_F(X11EndToEnd, WorksWithCapsLockAndNumLockOn)
{
    toggleLock(u"Num_Lock"_qs);
    toggleLock(u"Caps_Lock"_qs);
    pressAndReleaseOnce();
    toggleLock(u"Caps_Lock"_qs);
    toggleLock(u"Num_Lock"_qs);
}

TEST_F(X11EndToEnd, OtherModifiersDoNotTrigger)
{
    xdotool({u"key"_qs, u"shift+ctrl+alt+space"_qs});
    xdotool({u"key"_qs, u"ctrl+space"_qs});
    waitForEarlierEvents();
    EXPECT_EQ(keyDowns, 0);
    EXPECT_EQ(keyUps, 0);
}

TEST_F(X11EndToEnd, ANewShortcutReplacesTheOldGrab)
{
    const Name& toggleApp = appToggleName();
    setShortcutForName(Shortcut{CarbonKey::ANSI_K, cmd | option}, toggleApp);
    xdotool({u"key"_qs, u"shift+ctrl+space"_qs});
    xdotool({u"key"_qs, u"ctrl+alt+k"_qs});
    ASSERT_TRUE(waitUntil([] { return keyUps == 1; }));
    waitForEarlierEvents();
    EXPECT_EQ(keyDowns, 1);
    EXPECT_EQ(keyUps, 1);
    resetShortcutsToDefault({toggleApp});
    keyDowns = 0;
    keyUps = 0;
    pressAndReleaseOnce();
}

// An open menu holds the keyboard, so the key events reach the menu instead of the grab.
TEST_F(X11EndToEnd, WorksWhileAMenuIsOpenAndAfterItCloses)
{
    QMenu menu;
    menu.addAction(u"Item"_qs);
    menu.popup(QPoint(200, 200));
    ASSERT_TRUE(waitUntil([] { return CarbonHotKeys::menuTracking(); }));
    ASSERT_TRUE(waitUntil([&] { return menu.isVisible() && menu.windowHandle()->isExposed(); }));
    waitForEarlierEvents();
    pressAndReleaseOnce();
    EXPECT_TRUE(menu.isVisible());

    menu.hide();
    ASSERT_TRUE(waitUntil([] { return !CarbonHotKeys::menuTracking(); }));
    keyDowns = 0;
    keyUps = 0;
    pressAndReleaseOnce();
}

// Another program holding the combination makes registration fail, silently.
TEST_F(X11EndToEnd, ACombinationHeldByAnotherProgramIsSkippedSilently)
{
    xcb_connection_t* other = xcb_connect(nullptr, nullptr);
    ASSERT_FALSE(xcb_connection_has_error(other));
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(other)).data->root;
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(other);
    xcb_keycode_t* keycodes = xcb_key_symbols_get_keycode(symbols, 0x6c); // l
    const xcb_keycode_t keycode = keycodes[0];
    std::free(keycodes);
    xcb_key_symbols_free(symbols);
    const xcb_void_cookie_t cookie =
        xcb_grab_key_checked(other, 0, root, XCB_MOD_MASK_CONTROL | XCB_MOD_MASK_1, keycode,
                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
    ASSERT_EQ(xcb_request_check(other, cookie), nullptr);

    const Shortcut held{CarbonKey::ANSI_L, cmd | option};
    const Name name(u"heldElsewhere"_qs);
    setShortcutForName(held, name);
    EXPECT_EQ(shortcutForName(name), held);
    for (const CarbonHotKeys::HotKey& hotKey : CarbonHotKeys::hotKeys())
        EXPECT_NE(hotKey.shortcut, held);
    EXPECT_EQ(systemBinding(name).state, SystemBinding::State::refused);
    xcb_disconnect(other);
}

bool isRegistered(const Shortcut& shortcut)
{
    const QList<CarbonHotKeys::HotKey> hotKeys = CarbonHotKeys::hotKeys();
    return std::any_of(hotKeys.begin(), hotKeys.end(), [&](const CarbonHotKeys::HotKey& hotKey) {
        return hotKey.shortcut == shortcut;
    });
}

// A new keymap without the shortcut's key: the grab is gone, and the shortcut no longer
// counts as registered.
TEST_F(X11EndToEnd, AKeymapWithoutTheKeyTakesTheShortcutAway)
{
    const Shortcut shortcut{CarbonKey::ANSI_Y, cmd | option};
    const Name name(u"lostWithTheKeymap"_qs);
    setShortcutForName(shortcut, name);
    ASSERT_TRUE(isRegistered(shortcut));
    ASSERT_EQ(systemBinding(name).state, SystemBinding::State::granted);

    xcb_connection_t* connection = qtConnection();
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    xcb_keycode_t* keycodes = xcb_key_symbols_get_keycode(symbols, 0x79); // y
    const xcb_keycode_t keycode = keycodes[0];
    std::free(keycodes);
    xcb_key_symbols_free(symbols);
    xcb_get_keyboard_mapping_reply_t* mapping = xcb_get_keyboard_mapping_reply(
        connection, xcb_get_keyboard_mapping(connection, keycode, 1), nullptr);
    ASSERT_NE(mapping, nullptr);
    const std::uint8_t perKeycode = mapping->keysyms_per_keycode;
    const std::vector<xcb_keysym_t> original(xcb_get_keyboard_mapping_keysyms(mapping),
                                             xcb_get_keyboard_mapping_keysyms(mapping) +
                                                 perKeycode);
    std::free(mapping);
    const std::vector<xcb_keysym_t> nothing(perKeycode, XCB_NO_SYMBOL);
    xcb_change_keyboard_mapping(connection, 1, keycode, perKeycode, nothing.data());
    xcb_flush(connection);

    EXPECT_TRUE(waitUntil([&] { return !isRegistered(shortcut); }));
    EXPECT_EQ(systemBinding(name).state, SystemBinding::State::refused);
    xcb_change_keyboard_mapping(connection, 1, keycode, perKeycode, original.data());
    xcb_flush(connection);
    waitForEarlierEvents();
}

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::puts("No X display (DISPLAY is unset): skipping the X11 end-to-end test.");
        return 77;
    }
    QTemporaryDir configHome;
    qputenv("XDG_CONFIG_HOME", configHome.path().toUtf8());
    qputenv("QT_QPA_PLATFORM", "xcb");
    qunsetenv("WAYLAND_DISPLAY");
    qunsetenv("XDG_SESSION_TYPE");
    QApplication application(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
