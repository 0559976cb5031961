#include "SharedReferences.h"

#include "AppsTableViewController.h"
#include "ButtonsViewController.h"
#include "FilesViewController.h"
#include "MainWindowController.h"
#include "ViewController.h"

QPointer<MainWindowController> sharedMainWindowController;
QPointer<ViewController> sharedViewController;
QPointer<FilesViewController> sharedFilesViewController;
QPointer<AppsTableViewController> sharedAppsViewController;
QPointer<ButtonsViewController> sharedButtonsViewController;

QPointer<QWidget> sharedOnboardingWindow;
QPointer<QWidget> sharedPreferencesWindow;
QPointer<QWidget> sharedAboutWindow;
std::function<void()> showPreferencesWindow;

bool commandKeyHeld = false;
