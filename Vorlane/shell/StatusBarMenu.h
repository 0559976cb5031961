#pragma once

#include <QMenu>

class DockMenu;

// The menu of Vorlane's tray item: open the window (showing the global shortcut), switch the
// files between list and grid, the task-bar menu's window commands, the preferences, the
// onboarding and About windows, Vorlane's web pages, and quit.
class StatusBarMenu : public QMenu
{
    Q_OBJECT

public:
    // The task-bar menu's commands are listed here too, when there is one.
    explicit StatusBarMenu(DockMenu* dockMenu = nullptr, QWidget* parent = nullptr);

    // The item that opens the window; it carries the shortcut of the name toggleApp.
    QAction* openButton() const { return m_openButton; }
    // Shown under it while the window system refuses that shortcut: how to summon Vorlane.
    QAction* shortcutHint() const { return m_shortcutHint; }
    // The item that opens the onboarding window again.
    QAction* showOnboardingButton() const { return m_showOnboardingButton; }
    // The two views of the files, the current one checked whenever the menu opens.
    QAction* listViewItem() const { return m_listViewItem; }
    QAction* gridViewItem() const { return m_gridViewItem; }

    void toggleListView();
    void toggleGridView();
    void showOB();
    void showMainWindowWithSender();
    void showPreferencesWithSender();
    void sendFeedback();
    void showAboutWithSender();
    void quitWithSender();
    void launchWebsite();
    // The product's page to follow its news.
    void launchTwitter();

private:
    void updateShortcutHint();
    void checkCurrentViewType();

    QAction* m_openButton;
    QAction* m_shortcutHint;
    QAction* m_showOnboardingButton = nullptr;
    QAction* m_listViewItem = nullptr;
    QAction* m_gridViewItem = nullptr;
};
