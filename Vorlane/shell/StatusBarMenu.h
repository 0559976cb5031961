#pragma once

#include <QMenu>

// The menu of Vorlane's tray item: open the window (showing the global shortcut), switch the
// files between list and grid, the web site and feedback links, and quit.
class StatusBarMenu : public QMenu
{
    Q_OBJECT

public:
    static const QUrl websiteUrl;
    static const QUrl feedbackUrl;

    explicit StatusBarMenu(QWidget* parent = nullptr);

    // The item that opens the window; it carries the shortcut of the name toggleApp.
    QAction* openButton() const { return m_openButton; }
    // Shown under it while the window system refuses that shortcut: how to summon Vorlane.
    QAction* shortcutHint() const { return m_shortcutHint; }

    void showMainWindowWithSender();
    void toggleListView();
    void toggleGridView();
    void launchWebsite();
    void sendFeedback();
    void quitWithSender();

private:
    void updateShortcutHint();

    QAction* m_openButton;
    QAction* m_shortcutHint;
};
