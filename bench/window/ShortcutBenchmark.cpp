// Shortcut release to window shown: Vorlane running under openbox on a home with 50
// applications, Shift+Ctrl+Space pressed and released through XTest, timed from the release to
// the window being mapped and to the window manager reporting it active.
// Runs under an X server (scripts/session.sh): bench_window_shortcut [toggles]
#include "BenchmarkHome.h"
#include "DesktopSession.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

namespace {
constexpr xcb_keysym_t shiftKeysym = 0xffe1;
constexpr xcb_keysym_t controlKeysym = 0xffe3;
constexpr xcb_keysym_t spaceKeysym = 0x20;
// Presses come a tenth of a second apart, quicker than a person presses a shortcut twice. Sent
// within a millisecond of the window manager mapping or focusing the window, a press can reach
// Vorlane before the window manager's own news of that change, and is taken for a press on the
// window as it was before.
constexpr unsigned long pauseBetweenPresses = 100;

class XDisplay
{
public:
    XDisplay()
        : m_connection(xcb_connect(nullptr, nullptr))
        , m_symbols(xcb_key_symbols_alloc(m_connection))
    {
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
        m_activeWindow = atom("_NET_ACTIVE_WINDOW");
        const std::uint32_t rootMask = XCB_EVENT_MASK_PROPERTY_CHANGE;
        xcb_change_window_attributes(m_connection, m_root, XCB_CW_EVENT_MASK, &rootMask);
    }
    ~XDisplay()
    {
        xcb_key_symbols_free(m_symbols);
        xcb_disconnect(m_connection);
    }

    void watch(xcb_window_t window)
    {
        m_window = window;
        const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_connection, window, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(m_connection);
    }

    // Presses the shortcut and releases it; the clock starts when the release is sent.
    QElapsedTimer pressShortcut()
    {
        key(XCB_KEY_PRESS, shiftKeysym);
        key(XCB_KEY_PRESS, controlKeysym);
        key(XCB_KEY_PRESS, spaceKeysym);
        xcb_flush(m_connection);
        key(XCB_KEY_RELEASE, spaceKeysym);
        xcb_flush(m_connection);
        QElapsedTimer released;
        released.start();
        key(XCB_KEY_RELEASE, controlKeysym);
        key(XCB_KEY_RELEASE, shiftKeysym);
        xcb_flush(m_connection);
        return released;
    }

    // Waits for the watched window to be mapped (or unmapped); false after the timeout.
    bool waitForMapping(bool mapped, int timeoutMs = 10000)
    {
        const std::uint8_t wanted = mapped ? XCB_MAP_NOTIFY : XCB_UNMAP_NOTIFY;
        return waitFor(
            [&](const xcb_generic_event_t* event) {
                return (event->response_type & 0x7f) == wanted &&
                       reinterpret_cast<const xcb_map_notify_event_t*>(event)->window == m_window;
            },
            timeoutMs);
    }

    bool waitForActive()
    {
        if (activeWindow() == m_window)
            return true;
        return waitFor([&](const xcb_generic_event_t* event) {
            return (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY &&
                   reinterpret_cast<const xcb_property_notify_event_t*>(event)->atom ==
                       m_activeWindow &&
                   activeWindow() == m_window;
        });
    }

private:
    xcb_atom_t atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            m_connection,
            xcb_intern_atom(m_connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t value = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
        return value;
    }

    xcb_window_t activeWindow()
    {
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            m_connection,
            xcb_get_property(m_connection, 0, m_root, m_activeWindow, XCB_ATOM_WINDOW, 0, 1),
            nullptr);
        xcb_window_t window = 0;
        if (reply && xcb_get_property_value_length(reply) >= 4)
            window = *static_cast<xcb_window_t*>(xcb_get_property_value(reply));
        std::free(reply);
        return window;
    }

    void key(std::uint8_t type, xcb_keysym_t keysym)
    {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(m_symbols, keysym);
        if (codes && codes[0] != XCB_NO_SYMBOL)
            xcb_test_fake_input(m_connection, type, codes[0], XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        std::free(codes);
    }

    template <typename Match>
    bool waitFor(Match match, int timeoutMs = 10000)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < timeoutMs) {
            xcb_generic_event_t* event = xcb_poll_for_event(m_connection);
            if (!event) {
                QThread::usleep(200);
                continue;
            }
            const bool matched = match(event);
            std::free(event);
            if (matched)
                return true;
        }
        return false;
    }

    xcb_connection_t* m_connection;
    xcb_key_symbols_t* m_symbols;
    xcb_window_t m_root = 0;
    xcb_window_t m_window = 0;
    xcb_atom_t m_activeWindow = 0;
};

// A user past the onboarding: no welcome window takes the focus from the main window, where a
// press would bring the main window forward instead of hiding it.
void skipOnboarding(const TestHome& home)
{
    home.writeFile(home.path() + QStringLiteral("/.config/ostrel/Vorlane.conf"),
                   "[General]\nOnboardingCompleted=true\n");
}

// The shortcut is registered just after the first frame: until then a press reaches the window
// as an ordinary key. Pressed again until it hides the window.
bool hideOnceRegistered(XDisplay& display)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        display.pressShortcut();
        if (display.waitForMapping(false, 500))
            return true;
    }
    return false;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("needs an X display (run it through scripts/session.sh)\n");
        return 77;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    const int toggles = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    DesktopSession::WindowManager manager(QStringLiteral("openbox"));
    if (!manager.isRunning()) {
        std::printf("openbox did not start\n");
        return 1;
    }
    BenchmarkHome home(50, 4);
    skipOnboarding(home.home());
    QProcess vorlane;
    vorlane.setProcessEnvironment(home.environment());
    vorlane.setProcessChannelMode(QProcess::ForwardedOutputChannel);
    vorlane.start(QStringLiteral(VORLANE_EXECUTABLE), {});
    quint64 id = 0;
    DesktopSession::waitUntil(
        [&] { return (id = DesktopSession::visibleWindow(QStringLiteral("Vorlane"))) != 0; });
    if (!id) {
        std::printf("Vorlane's window did not show\n");
        return 1;
    }
    XDisplay display;
    display.watch(static_cast<xcb_window_t>(id));
    if (!display.waitForActive()) {
        std::printf("Vorlane's window did not become active\n");
        return 1;
    }
    QList<double> mapped;
    QList<double> active;
    if (!hideOnceRegistered(display)) {
        std::printf("the shortcut did not hide the window\n");
        return 1;
    }
    for (int toggle = 0; toggle < toggles; ++toggle) {
        QThread::msleep(pauseBetweenPresses);
        const QElapsedTimer released = display.pressShortcut();
        if (!display.waitForMapping(true))
            return std::printf("toggle %d: not shown\n", toggle + 1), 1;
        mapped << static_cast<double>(released.nsecsElapsed()) / 1e6;
        if (!display.waitForActive())
            return std::printf("toggle %d: not active\n", toggle + 1), 1;
        active << static_cast<double>(released.nsecsElapsed()) / 1e6;
        std::printf("toggle %2d: mapped %.1f ms, active %.1f ms\n", toggle + 1, mapped.constLast(),
                    active.constLast());
        QThread::msleep(pauseBetweenPresses);
        display.pressShortcut();
        if (!display.waitForMapping(false))
            return std::printf("toggle %d: not hidden\n", toggle + 1), 1;
    }
    std::printf("shortcut release to window shown (median of %d): mapped %.1f ms, active with "
                "the focus %.1f ms; slowest %.1f ms\n",
                toggles, median(mapped), median(active),
                *std::max_element(active.cbegin(), active.cend()));
    vorlane.terminate();
    vorlane.waitForFinished(10000);
    return 0;
}
