#pragma once

#include "FileMonitor.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <memory>

class DockMenu;
class MainWindowController;
class QDBusServiceWatcher;
class SingleInstance;
class StatusBarMenu;
class StatusItem;

// Vorlane's start-up and its answers to the desktop: it makes the window, brings the stored
// preferences into force, stops the login launcher, starts the file monitor, binds the global
// shortcut, and shows the window when the user activates or starts Vorlane again.
class AppDelegate : public QObject
{
    Q_OBJECT

public:
    static const QString appSecret;

    explicit AppDelegate(QObject* parent = nullptr);
    ~AppDelegate() override;

    // The process-wide delegate while one exists.
    static AppDelegate* shared();

    // Start-up, in this order: the window and the preferences, then everything that needs them.
    void applicationWillFinishLaunching();
    void applicationDidFinishLaunching();

    void applicationDidBecomeActive();
    void applicationDidResignActive();
    // Vorlane was started again or asked for from outside: show the window.
    bool applicationShouldHandleReopen(std::uint32_t timestamp = 0);
    // Vorlane --toggle from outside: what the shortcut does.
    void toggleFromOutside(std::uint32_t timestamp = 0);
    // Listens to the running instance's requests from later starts.
    void listenTo(SingleInstance* instance);

    // Makes the tray item with the status-bar menu (again).
    void createStatusItem();
    void removeStatusItem();

    MainWindowController* mainWindowController() const { return m_mainWindowController.get(); }
    StatusBarMenu* statusBarMenu() const { return m_statusBarMenu.get(); }
    // The task-bar menu, whose actions the desktop entry offers.
    DockMenu* applicationDockMenu() const { return m_dockMenu.get(); }
    StatusItem* statusItem() const { return m_statusItem.get(); }
    FileMonitor& fileMonitor() { return m_fileMonitor; }
    bool startedAtLogin() const { return m_startedAtLogin; }
    bool dockIconShown() const { return m_dockIconShown; }

private:
    void applyLoginItem();
    void applyDockIcon();
    void applyMenuBarIcon();
    void applyWindowMode();
    void detectStartAtLogin();
    void startFileMonitor();
    void bindShortcut();
    void updateTaskbarPresence();
    void watchTrayHost();
    void applicationStateChanged(Qt::ApplicationState state);
    void performDockMenuAction(void (DockMenu::*action)(), std::uint32_t timestamp);

    std::unique_ptr<MainWindowController> m_mainWindowController;
    FileMonitor m_fileMonitor;
    std::unique_ptr<StatusBarMenu> m_statusBarMenu;
    std::unique_ptr<DockMenu> m_dockMenu;
    std::unique_ptr<StatusItem> m_statusItem;
    // A tray host that comes or goes (at login the panel may start after Vorlane).
    QDBusServiceWatcher* m_trayWatcher = nullptr;
    bool m_dockIconShown = true;
    bool m_startedAtLogin = false;
    bool m_wasActive = false;
};
