#include "X11Window.h"

#include <QGuiApplication>
#include <QList>
#include <QWindow>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <xcb/xcb.h>

namespace {
constexpr std::uint32_t stateRemove = 0;
constexpr std::uint32_t stateAdd = 1;
constexpr std::uint32_t sourceApplication = 1;
constexpr std::uint32_t allDesktops = 0xFFFFFFFF;

struct FreeDeleter
{
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeDeleter>;

xcb_connection_t* connection()
{
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

xcb_window_t rootWindow(xcb_connection_t* c)
{
    return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

xcb_atom_t atom(xcb_connection_t* c, const char* name)
{
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

bool windowManagerAnnounced(xcb_connection_t* c)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c,
        xcb_get_property(c, 0, rootWindow(c), atom(c, "_NET_SUPPORTING_WM_CHECK"), XCB_ATOM_WINDOW,
                         0, 1),
        nullptr));
    return reply && xcb_get_property_value_length(reply.get()) >= 4;
}

void sendToRoot(xcb_connection_t* c, xcb_window_t window, xcb_atom_t type,
                const std::uint32_t (&data)[5])
{
    xcb_client_message_event_t event{};
    event.response_type = XCB_CLIENT_MESSAGE;
    event.format = 32;
    event.window = window;
    event.type = type;
    std::memcpy(event.data.data32, data, sizeof data);
    xcb_send_event(c, 0, rootWindow(c),
                   XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&event));
}

QList<xcb_atom_t> stateProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t netWmState)
{
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        c, xcb_get_property(c, 0, window, netWmState, XCB_ATOM_ATOM, 0, 1024), nullptr));
    QList<xcb_atom_t> atoms;
    if (!reply || reply->format != 32)
        return atoms;
    const auto* values = static_cast<const xcb_atom_t*>(xcb_get_property_value(reply.get()));
    const int count = xcb_get_property_value_length(reply.get()) / 4;
    for (int i = 0; i < count; ++i)
        atoms.append(values[i]);
    return atoms;
}

void writeStateProperty(xcb_connection_t* c, xcb_window_t window, xcb_atom_t netWmState,
                        const QList<std::pair<xcb_atom_t, bool>>& changes)
{
    QList<xcb_atom_t> atoms = stateProperty(c, window, netWmState);
    for (const auto& [state, on] : changes) {
        atoms.removeAll(state);
        if (on)
            atoms.append(state);
    }
    xcb_change_property(c, XCB_PROP_MODE_REPLACE, window, netWmState, XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(atoms.size()), atoms.constData());
}
} // namespace

bool X11Window::isAvailable()
{
    return QGuiApplication::platformName() == u"xcb" && connection();
}

bool X11Window::windowManagerRuns()
{
    return isAvailable() && windowManagerAnnounced(connection());
}

void X11Window::setPanelStates(QWindow* window, PanelStates states)
{
    if (!window || !isAvailable())
        return;
    xcb_connection_t* c = connection();
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_atom_t netWmState = atom(c, "_NET_WM_STATE");
    const QList<std::pair<xcb_atom_t, bool>> changes{
        {atom(c, "_NET_WM_STATE_STICKY"), states.sticky},
        {atom(c, "_NET_WM_STATE_SKIP_TASKBAR"), states.skipTaskbar},
        {atom(c, "_NET_WM_STATE_SKIP_PAGER"), states.skipTaskbar}};
    if (window->isVisible()) {
        for (const auto& [state, on] : changes)
            sendToRoot(c, id, netWmState, {on ? stateAdd : stateRemove, state, 0, 1, 0});
    } else {
        writeStateProperty(c, id, netWmState, changes);
    }
    if (states.sticky) {
        const xcb_atom_t desktop = atom(c, "_NET_WM_DESKTOP");
        if (window->isVisible())
            sendToRoot(c, id, desktop, {allDesktops, 1, 0, 0, 0});
        else
            xcb_change_property(c, XCB_PROP_MODE_REPLACE, id, desktop, XCB_ATOM_CARDINAL, 32, 1,
                                &allDesktops);
    }
    xcb_flush(c);
}

void X11Window::activate(QWindow* window, std::uint32_t timestamp)
{
    if (!window || !isAvailable())
        return;
    xcb_connection_t* c = connection();
    const auto id = static_cast<xcb_window_t>(window->winId());
    if (windowManagerAnnounced(c)) {
        sendToRoot(c, id, atom(c, "_NET_ACTIVE_WINDOW"), {sourceApplication, timestamp, 0, 0, 0});
    } else {
        const std::uint32_t above = XCB_STACK_MODE_ABOVE;
        xcb_configure_window(c, id, XCB_CONFIG_WINDOW_STACK_MODE, &above);
        xcb_set_input_focus(c, XCB_INPUT_FOCUS_PARENT, id,
                            timestamp ? timestamp : XCB_CURRENT_TIME);
    }
    xcb_flush(c);
}

bool X11Window::hasInputFocus(const QWindow* window)
{
    if (!window || !isAvailable())
        return false;
    xcb_connection_t* c = connection();
    const Reply<xcb_get_input_focus_reply_t> focus(
        xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    if (!focus)
        return false;
    const auto id = static_cast<xcb_window_t>(window->winId());
    const xcb_window_t root = rootWindow(c);
    // The focus may sit on a window inside ours: walk up to the root.
    for (xcb_window_t focused = focus->focus;
         focused != XCB_NONE && focused != XCB_INPUT_FOCUS_POINTER_ROOT && focused != root;) {
        if (focused == id)
            return true;
        const Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(c, xcb_query_tree(c, focused), nullptr));
        if (!tree)
            return false;
        focused = tree->parent;
    }
    return false;
}

std::uint32_t X11Window::serverTime()
{
    if (!isAvailable())
        return 0;
    // A property change on a window of a private connection comes back with the server's time,
    // without touching the events of Qt's own connection.
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        return 0;
    }
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, rootWindow(c), 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    xcb_change_property(c, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0,
                        nullptr);
    xcb_flush(c);
    std::uint32_t time = 0;
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const bool isProperty = (event->response_type & 0x7f) == XCB_PROPERTY_NOTIFY;
        if (isProperty)
            time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
        std::free(event);
        if (isProperty)
            break;
    }
    xcb_disconnect(c);
    return time;
}
