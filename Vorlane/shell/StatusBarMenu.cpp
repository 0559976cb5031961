#include "StatusBarMenu.h"

#include "AboutController.h"
#include "AppDelegate.h"
#include "ButtonSegmentedControl.h"
#include "ButtonsViewController.h"
#include "DockMenu.h"
#include "FilesViewController.h"
#include "FilesViewType.h"
#include "HotKeys/HotKeys.h"
#include "MainWindowHelper.h"
#include "OnboardingController.h"
#include "PreferencesController.h"
#include "ProductLinks.h"
#include "SharedReferences.h"
#include "ToggleCommandHint.h"
#include "ToggleShortcut.h"

#include <QActionGroup>
#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

namespace {
QString storedFilesViewType()
{
    return FilesViewType::name(FilesViewType::stored());
}

void showControllersWindow(WindowController* controller)
{
    if (controller)
        controller->showCentred();
}
} // namespace

StatusBarMenu::StatusBarMenu(DockMenu* dockMenu, QWidget* parent)
    : QMenu(parent)
    , m_openButton(addAction(tr("Open Vorlane"), this, &StatusBarMenu::showMainWindowWithSender))
{
    setObjectName(QStringLiteral("StatusBarMenu"));
    m_shortcutHint = addAction(
        tr("No global shortcut: bind \u201cVorlane --toggle\u201d in the keyboard settings"));
    m_shortcutHint->setEnabled(false);
    m_shortcutHint->setVisible(false);
    // Checked whenever the menu opens, and when the desktop answers while it is open.
    connect(this, &QMenu::aboutToShow, this, &StatusBarMenu::updateShortcutHint);
    connect(&HotKeys::ShortcutNotifier::instance(),
            &HotKeys::ShortcutNotifier::systemBindingDidChange, this,
            &StatusBarMenu::updateShortcutHint);
    addSeparator();
    m_listViewItem = addAction(tr("List View"), this, &StatusBarMenu::toggleListView);
    m_gridViewItem = addAction(tr("Grid View"), this, &StatusBarMenu::toggleGridView);
    auto* viewTypes = new QActionGroup(this);
    for (QAction* item : {m_listViewItem, m_gridViewItem}) {
        item->setCheckable(true);
        viewTypes->addAction(item);
    }
    connect(this, &QMenu::aboutToShow, this, &StatusBarMenu::checkCurrentViewType);
    checkCurrentViewType();
    if (dockMenu) {
        addSeparator();
        addActions(dockMenu->actions());
    }
    addSeparator();
    addAction(tr("Preferences\u2026"), this, &StatusBarMenu::showPreferencesWithSender);
    m_showOnboardingButton =
        addAction(tr("Welcome to Vorlane\u2026"), this, &StatusBarMenu::showOB);
    addAction(tr("About Vorlane"), this, &StatusBarMenu::showAboutWithSender);
    addSeparator();
    addAction(tr("Vorlane Website"), this, &StatusBarMenu::launchWebsite);
    addAction(tr("Follow Vorlane"), this, &StatusBarMenu::launchTwitter);
    addAction(tr("Send Feedback\u2026"), this, &StatusBarMenu::sendFeedback);
    addSeparator();
    addAction(tr("Quit Vorlane"), this, &StatusBarMenu::quitWithSender);
}

void StatusBarMenu::updateShortcutHint()
{
    const std::optional<QString> name = HotKeys::boundShortcutName(m_openButton);
    m_shortcutHint->setVisible(name && *name == toggleAppName().rawValue() &&
                               !ToggleCommandHint::toggleShortcutReachesEveryWindow());
}

void StatusBarMenu::checkCurrentViewType()
{
    // The window's switch and Ctrl+1, Ctrl+2 change the view too: the choice is read each time.
    // Anything but "grid" shows the list, as the window reads it.
    const bool grid = storedFilesViewType() == u"grid";
    m_listViewItem->setChecked(!grid);
    m_gridViewItem->setChecked(grid);
}

void StatusBarMenu::showMainWindowWithSender()
{
    MainWindowHelper::showMainWindow();
}

void StatusBarMenu::toggleListView()
{
    if (storedFilesViewType() == u"list")
        return;
    if (sharedButtonsViewController)
        sharedButtonsViewController->toggleViewTypeSC()->setSelectedSegment(0);
    if (sharedFilesViewController)
        sharedFilesViewController->showListView();
}

void StatusBarMenu::toggleGridView()
{
    if (storedFilesViewType() == u"grid")
        return;
    if (sharedButtonsViewController)
        sharedButtonsViewController->toggleViewTypeSC()->setSelectedSegment(1);
    if (sharedFilesViewController)
        sharedFilesViewController->showGridView();
}

void StatusBarMenu::showOB()
{
    if (AppDelegate* delegate = AppDelegate::shared())
        showControllersWindow(delegate->onboardingController());
}

void StatusBarMenu::showPreferencesWithSender()
{
    if (AppDelegate* delegate = AppDelegate::shared())
        showControllersWindow(delegate->preferencesController());
}

void StatusBarMenu::showAboutWithSender()
{
    if (AppDelegate* delegate = AppDelegate::shared())
        showControllersWindow(delegate->aboutController());
}

void StatusBarMenu::sendFeedback()
{
    QDesktopServices::openUrl(ProductLinks::feedback());
}

void StatusBarMenu::launchWebsite()
{
    QDesktopServices::openUrl(ProductLinks::website());
}

void StatusBarMenu::launchTwitter()
{
    QDesktopServices::openUrl(ProductLinks::follow());
}

void StatusBarMenu::quitWithSender()
{
    // Ends the event loop outright: a quit that asks the windows first is refused by the main
    // window, which only goes away when closed.
    QCoreApplication::exit(0);
}
