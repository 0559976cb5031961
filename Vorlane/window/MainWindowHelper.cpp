#include "MainWindowHelper.h"

#include "AppsTableViewController.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "SharedReferences.h"
#include "UserDefaults.h"
#include "WindowFrame.h"

void MainWindowHelper::showMainWindow()
{
    if (!sharedMainWindowController || !sharedMainWindowController->window())
        return;
    MainWindow* window = sharedMainWindowController->window();
    if (!restoreFrameForScreen(window))
        centerOnMainScreen(window, false);
    // Both modes take the focus: the panel is there to be typed into at once.
    sharedMainWindowController->showWindow();
}

void MainWindowHelper::hideMainWindow()
{
    if (!sharedMainWindowController || !sharedMainWindowController->window())
        return;
    MainWindow* window = sharedMainWindowController->window();
    // The focus leaves a hidden window only after a moment, and not at all when the window is
    // shown again at once: the frame is kept now.
    if (window->isShown())
        saveFrameForScreen(window);
    // In the ordinary mode the window goes to the task bar, as a hidden program stays in the
    // Dock; only the auto-hide panel (or a window without its place in the task bar) is hidden.
    sharedMainWindowController->putAway();
    // Hiding a whole program has no counterpart here: when the window goes, the window manager
    // gives the focus back to the window that had it, and the program's other windows stay.
}

void toggleMainWindow()
{
    if (!sharedMainWindowController || !sharedMainWindowController->window())
        return;
    if (sharedMainWindowController->window()->isMainWindow())
        MainWindowHelper::hideMainWindow();
    else
        MainWindowHelper::showMainWindow();
}

void setWindowAutoHide(bool enabled)
{
    if (!sharedMainWindowController || !sharedMainWindowController->window())
        return;
    sharedMainWindowController->setFloatingPanel(enabled);
    UserDefaults::standard().setObject(QStringLiteral("AutoHideWindow"), enabled);
    if (sharedAppsViewController)
        sharedAppsViewController->updateTopInset();
}
