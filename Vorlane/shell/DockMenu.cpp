#include "DockMenu.h"

#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "SharedReferences.h"
#include "WindowFrame.h"

namespace {
bool hasWindow()
{
    return sharedMainWindowController && sharedMainWindowController->window();
}
} // namespace

DockMenu::DockMenu(QWidget* parent)
    : QMenu(parent)
{
    addAction(tr("Center Window"), this, &DockMenu::centerWindow);
    addAction(tr("Reset Window Size"), this, &DockMenu::resetWindowSize);
}

void DockMenu::centerWindow()
{
    if (!hasWindow())
        return;
    MainWindowHelper::showMainWindow();
    centerOnMainScreen(sharedMainWindowController->window(), true);
}

void DockMenu::resetWindowSize()
{
    if (!hasWindow())
        return;
    MainWindowHelper::showMainWindow();
    centerOnMainScreen(sharedMainWindowController->window(), true, defaultWindowSize.width(),
                       defaultWindowSize.height());
}
