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

    void showMainWindowWithSender();
    void toggleListView();
    void toggleGridView();
    void launchWebsite();
    void sendFeedback();
    void quitWithSender();

private:
    QAction* m_openButton;
};
