#pragma once

// Showing and hiding the browsing window, for every part of the program. Each does nothing
// while there is no window controller.
class MainWindowHelper
{
public:
    // Puts the window back where it was on the main display (or centres it) and shows it in
    // front with the keyboard focus.
    static void showMainWindow();
    // Keeps the window's frame for its display and puts the window away: iconified in the task
    // bar in the ordinary mode, hidden in the auto-hide mode. The window manager gives the focus
    // back to the window before it.
    static void hideMainWindow();
};

// Hides the window when it has the focus, otherwise shows it: a window that is visible behind
// another program's window comes forward rather than going away.
void toggleMainWindow();

// Switches the window's mode (auto-hide or ordinary), stores the choice under
// "AutoHideWindow" and lets the applications list lay out again.
void setWindowAutoHide(bool enabled);
