#include "StatusBarMenu.h"

#include "ButtonSegmentedControl.h"
#include "ButtonsViewController.h"
#include "FilesViewController.h"
#include "MainWindowHelper.h"
#include "SharedReferences.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QDesktopServices>
#include <QUrl>

const QUrl StatusBarMenu::websiteUrl(QStringLiteral("https://ostrel.com/vorlane"));
const QUrl StatusBarMenu::feedbackUrl(QStringLiteral("https://ostrel.com/vorlane/feedback"));

namespace {
QString filesViewType()
{
    const UserDefaults& defaults = UserDefaults::standard();
    const QString key = QStringLiteral("FilesViewType");
    return defaults.objectIsPresent(key) ? defaults.stringForKey(key) : QStringLiteral("grid");
}
} // namespace

StatusBarMenu::StatusBarMenu(QWidget* parent)
    : QMenu(parent)
    , m_openButton(
          addAction(QStringLiteral("Open Vorlane"), this, &StatusBarMenu::showMainWindowWithSender))
{
    setObjectName(QStringLiteral("StatusBarMenu"));
    addAction(QStringLiteral("List View"), this, &StatusBarMenu::toggleListView);
    addAction(QStringLiteral("Grid View"), this, &StatusBarMenu::toggleGridView);
    addSeparator();
    addAction(QStringLiteral("Vorlane Website"), this, &StatusBarMenu::launchWebsite);
    addAction(QStringLiteral("Send Feedback…"), this, &StatusBarMenu::sendFeedback);
    addSeparator();
    addAction(QStringLiteral("Quit Vorlane"), this, &StatusBarMenu::quitWithSender);
}

void StatusBarMenu::showMainWindowWithSender()
{
    MainWindowHelper::showMainWindow();
}

void StatusBarMenu::toggleListView()
{
    if (filesViewType() == u"list")
        return;
    if (sharedButtonsViewController)
        sharedButtonsViewController->toggleViewTypeSC()->setSelectedSegment(0);
    if (sharedFilesViewController)
        sharedFilesViewController->showListView();
}

void StatusBarMenu::toggleGridView()
{
    if (filesViewType() == u"grid")
        return;
    if (sharedButtonsViewController)
        sharedButtonsViewController->toggleViewTypeSC()->setSelectedSegment(1);
    if (sharedFilesViewController)
        sharedFilesViewController->showGridView();
}

void StatusBarMenu::launchWebsite()
{
    QDesktopServices::openUrl(websiteUrl);
}

void StatusBarMenu::sendFeedback()
{
    QDesktopServices::openUrl(feedbackUrl);
}

void StatusBarMenu::quitWithSender()
{
    QApplication::quit();
}
