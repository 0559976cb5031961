#pragma once

#include <cstdint>

class QWindow;

// What the window manager is asked for on X11: keep a window above the others, on every
// workspace, out of the task bar, and give it the keyboard focus with the time stamp of the
// user's input. Every call does nothing on other platforms (Wayland, offscreen tests).
namespace X11Window {

bool isAvailable();
// Whether a window manager (one that says so, as EWMH asks) manages the windows.
bool windowManagerRuns();

struct PanelStates
{
    bool sticky = false;
    bool skipTaskbar = false;
};

// Sets or clears _NET_WM_STATE_STICKY (with _NET_WM_DESKTOP all), _NET_WM_STATE_SKIP_TASKBAR and
// _NET_WM_STATE_SKIP_PAGER: on the property while the window is unmapped, through the window
// manager while it is mapped.
void setPanelStates(QWindow* window, PanelStates states);

// Raises the window and asks for the focus with _NET_ACTIVE_WINDOW, source "application", at
// the given user-input time; without a window manager the focus is set directly.
void activate(QWindow* window, std::uint32_t timestamp);

// Whether the X server gives the keyboard focus to the window (or a window inside it) now. Qt
// learns of focus changes from events it may not have read yet, and names a window that lost
// the focus as focused for a moment longer.
bool hasInputFocus(const QWindow* window);

// The X server's current time, for requests the user made without an input event of ours.
std::uint32_t serverTime();

} // namespace X11Window
