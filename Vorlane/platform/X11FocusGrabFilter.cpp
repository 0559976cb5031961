#include "X11FocusGrabFilter.h"

#include "X11Window.h"

#include <QCoreApplication>

#include <xcb/xcb.h>

bool X11FocusGrabFilter::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const std::uint8_t type = event->response_type & 0x7f;
    if (type != XCB_FOCUS_IN && type != XCB_FOCUS_OUT)
        return false;
    // Focus-in and focus-out events share their layout.
    const auto* focus = reinterpret_cast<const xcb_focus_in_event_t*>(event);
    return focus->mode == XCB_NOTIFY_MODE_GRAB || focus->mode == XCB_NOTIFY_MODE_UNGRAB;
}

void X11FocusGrabFilter::install()
{
    static X11FocusGrabFilter* filter = nullptr;
    if (filter || !X11Window::isAvailable())
        return;
    filter = new X11FocusGrabFilter;
    QCoreApplication::instance()->installNativeEventFilter(filter);
}
