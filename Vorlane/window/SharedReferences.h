#pragma once

#include <QPointer>
#include <QSize>
#include <QWidget>

#include <functional>

class AppsTableViewController;
class ButtonsViewController;
class FilesViewController;
class MainWindowController;
class ViewController;

// The window's process-wide references, set by their owners and empty until then; every user
// checks a reference and skips its step while it is empty. Main thread only.
extern QPointer<MainWindowController> sharedMainWindowController;
extern QPointer<ViewController> sharedViewController;
extern QPointer<FilesViewController> sharedFilesViewController;
extern QPointer<AppsTableViewController> sharedAppsViewController;
extern QPointer<ButtonsViewController> sharedButtonsViewController;

// The program's other windows, set by the shell when it makes them: hiding the main window
// leaves the program in front while one of them is open.
extern QPointer<QWidget> sharedOnboardingWindow;
extern QPointer<QWidget> sharedPreferencesWindow;
extern QPointer<QWidget> sharedAboutWindow;

// Brings the preferences window forward, centred and with the keyboard focus: what the
// toolbar's preferences button does. Set by the shell, which makes that window; empty until then.
extern std::function<void()> showPreferencesWindow;

// Whether Command (Ctrl here) is held while the window has the focus.
extern bool commandKeyHeld;

// The size the reset-size actions give the window.
inline constexpr QSize defaultWindowSize{780, 440};
