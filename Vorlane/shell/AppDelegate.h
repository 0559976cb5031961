#pragma once

#include "FileMonitor.h"
#include "SingleInstance.h"

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <memory>

class AboutController;
class DockMenu;
class MainWindowController;
class OnboardingController;
class PreferencesController;
class QDBusServiceWatcher;
class QWindow;
class SingleInstance;
class StatusBarMenu;
class StatusItem;

// Vorlane's start-up and its answers to the desktop: it installs the file actions, makes the
// window, brings the stored preferences into force, stops the login launcher, starts the file
// monitor, binds the global shortcut, and shows the window when the user activates or starts
// Vorlane again.
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
    // What a first start's arguments ask for beyond a start: the task-bar menu's commands.
    void applyStartRequest(SingleInstance::Request request);

    // Makes the tray item with the status-bar menu (again).
    void createStatusItem();
    void removeStatusItem();
    // Whether the window has its place in the task bar (the Dock icon's stand-in).
    void setDockIconShown(bool shown);

    // Vorlane's other windows, each made on first use.
    PreferencesController* preferencesController();
    AboutController* aboutController();
    OnboardingController* onboardingController();

    MainWindowController* mainWindowController() const { return m_mainWindowController.get(); }
    StatusBarMenu* statusBarMenu() const { return m_statusBarMenu.get(); }
    DockMenu* dockMenu() const { return m_dockMenu.get(); }
    StatusItem* statusItem() const { return m_statusItem.get(); }
    FileMonitor& fileMonitor() { return m_fileMonitor; }
    bool startedAtLogin() const { return m_startedAtLogin; }
    bool dockIconShown() const { return m_dockIconShown; }

Q_SIGNALS:
    // A tray host came or went.
    void trayAvailabilityChanged();

private:
    void applyStoredLoginItem();
    void applyDockIcon();
    void applyMenuBarIcon();
    void applyWindowMode();
    void detectStartAtLogin();
    void startFileMonitor();
    void bindShortcut();
    void updateTaskbarPresence();
    void watchTrayHost();
    void applicationStateChanged(Qt::ApplicationState state);
    // Whether the focused window is (or belongs to) the main window, the About, onboarding or
    // preferences window.
    bool isMainWindow(const QWindow* focused) const;

    std::unique_ptr<MainWindowController> m_mainWindowController;
    FileMonitor m_fileMonitor;
    std::unique_ptr<DockMenu> m_dockMenu;
    std::unique_ptr<StatusBarMenu> m_statusBarMenu;
    std::unique_ptr<StatusItem> m_statusItem;
    // Declared after the menus they use, so they go first.
    std::unique_ptr<PreferencesController> m_preferencesController;
    std::unique_ptr<AboutController> m_aboutController;
    std::unique_ptr<OnboardingController> m_onboardingController;
    // A tray host that comes or goes (at login the panel may start after Vorlane).
    QDBusServiceWatcher* m_trayWatcher = nullptr;
    bool m_dockIconShown = true;
    bool m_startedAtLogin = false;
    bool m_wasActive = false;
};
