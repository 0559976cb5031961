#include "DockMenu.h"

#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "SharedReferences.h"
#include "WindowFrame.h"

DockMenu::DockMenu(QWidget* parent)
    : QMenu(parent)
    , m_centerWindow(addAction(tr("Center Window"), &DockMenu::centerWindow))
    , m_resetWindowSize(addAction(tr("Reset Window Size"), &DockMenu::resetWindowSize))
{
    setObjectName(QStringLiteral("DockMenu"));
}

void DockMenu::centerWindow()
{
    if (!sharedMainWindowController || !sharedMainWindowController->window())
        return;
    MainWindowHelper::showMainWindow();
    centerOnMainScreen(sharedMainWindowController->window(), true);
}

void DockMenu::resetWindowSize()
{
    if (!sharedMainWindowController || !sharedMainWindowController->window())
        return;
    MainWindowHelper::showMainWindow();
    centerOnMainScreen(sharedMainWindowController->window(), true, defaultWindowSize.width(),
                       defaultWindowSize.height());
}
