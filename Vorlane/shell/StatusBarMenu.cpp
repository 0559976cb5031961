#include "StatusBarMenu.h"

#include "ButtonSegmentedControl.h"
#include "ButtonsViewController.h"
#include "FilesViewController.h"
#include "HotKeys/HotKeys.h"
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
    m_shortcutHint = addAction(QStringLiteral(
        "No global shortcut: bind \u201cVorlane --toggle\u201d in the keyboard settings"));
    m_shortcutHint->setEnabled(false);
    m_shortcutHint->setVisible(false);
    // Checked whenever the menu opens, and when the desktop answers while it is open.
    connect(this, &QMenu::aboutToShow, this, &StatusBarMenu::updateShortcutHint);
    connect(&HotKeys::ShortcutNotifier::instance(),
            &HotKeys::ShortcutNotifier::systemBindingDidChange, this,
            &StatusBarMenu::updateShortcutHint);
    addAction(QStringLiteral("List View"), this, &StatusBarMenu::toggleListView);
    addAction(QStringLiteral("Grid View"), this, &StatusBarMenu::toggleGridView);
    addSeparator();
    addAction(QStringLiteral("Vorlane Website"), this, &StatusBarMenu::launchWebsite);
    addAction(QStringLiteral("Send Feedback…"), this, &StatusBarMenu::sendFeedback);
    addSeparator();
    addAction(QStringLiteral("Quit Vorlane"), this, &StatusBarMenu::quitWithSender);
}

void StatusBarMenu::updateShortcutHint()
{
    const std::optional<QString> name = HotKeys::boundShortcutName(m_openButton);
    m_shortcutHint->setVisible(name && HotKeys::systemBinding(HotKeys::Name(*name)).state ==
                                           HotKeys::SystemBinding::State::refused);
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
