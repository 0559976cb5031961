#include "AppDelegate.h"

#include "AutostartLoginItems.h"
#include "Diagnostics.h"
#include "DockMenu.h"
#include "FileMonitorError.h"
#include "HotKeys/HotKeys.h"
#include "LauncherSignal.h"
#include "LoginItemService.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "NotificationCenter.h"
#include "RecordLocations.h"
#include "RunningApplications.h"
#include "SharedReferences.h"
#include "SingleInstance.h"
#include "StatusBarMenu.h"
#include "StatusItem.h"
#include "SystemLog.h"
#include "TelemetryClient.h"
#include "UserDefaults.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QUrl>

const QString AppDelegate::appSecret = QStringLiteral("6f0d4c1e-5b7a-4f2e-9c3d-8a1b2c3d4e5f");

namespace {
QPointer<AppDelegate> sharedAppDelegate;

const QString loginItemKey = QStringLiteral("LoginItem");
const QString showDockIconKey = QStringLiteral("ShowDockIcon");
const QString showMenuBarIconKey = QStringLiteral("ShowMenuBarIcon");
const QString autoHideWindowKey = QStringLiteral("AutoHideWindow");
const QString onboardingCompletedKey = QStringLiteral("OnboardingCompleted");
const QString appearanceKey = QStringLiteral("Appearance");

void log(const QString& line)
{
    SystemLog::write(line);
}

UserDefaults& defaults()
{
    return UserDefaults::standard();
}
} // namespace

AppDelegate::AppDelegate(QObject* parent)
    : QObject(parent)
{
    sharedAppDelegate = this;
}

AppDelegate::~AppDelegate()
{
    m_fileMonitor.stop();
    if (sharedMainWindowController == m_mainWindowController.get())
        sharedMainWindowController = nullptr;
}

AppDelegate* AppDelegate::shared()
{
    return sharedAppDelegate;
}

void AppDelegate::applicationWillFinishLaunching()
{
    m_mainWindowController = std::make_unique<MainWindowController>();
    sharedMainWindowController = m_mainWindowController.get();
    defaults().setObject(QStringLiteral("NSFullScreenMenuItemEverywhere"), false);
    if (!defaults().objectIsPresent(appearanceKey))
        defaults().setObject(appearanceKey, QStringLiteral("system"));
    applyLoginItem();
    m_statusBarMenu = std::make_unique<StatusBarMenu>();
    m_dockMenu = std::make_unique<DockMenu>();
    applyDockIcon();
    applyMenuBarIcon();
    applyWindowMode();
    setRecordFileSuffix(QStringLiteral(".sfl3"));
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            &AppDelegate::applicationStateChanged);
    watchTrayHost();
}

void AppDelegate::watchTrayHost()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    m_trayWatcher = new QDBusServiceWatcher(QStringLiteral("org.kde.StatusNotifierWatcher"), bus,
                                            QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(m_trayWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            [this] { updateTaskbarPresence(); });
}

void AppDelegate::applyLoginItem()
{
    const bool enable =
        !defaults().objectIsPresent(loginItemKey) || defaults().boolForKey(loginItemKey);
    log(enable ? QStringLiteral("-- VORLANE: Enable start at login")
               : QStringLiteral("-- VORLANE: Disable start at login"));
    defaults().setObject(loginItemKey, enable);
    LoginItemService::shared().setEnabled(LauncherSignal::launcherIdentifier, enable);
}

void AppDelegate::applyDockIcon()
{
    // The test is on "AutoHideWindow", which the onboarding and the preferences always write.
    m_dockIconShown =
        !defaults().objectIsPresent(autoHideWindowKey) || defaults().boolForKey(showDockIconKey);
    defaults().setObject(showDockIconKey, m_dockIconShown);
    updateTaskbarPresence();
}

void AppDelegate::applyMenuBarIcon()
{
    // true means the icon is hidden.
    if (defaults().boolForKey(showMenuBarIconKey)) {
        defaults().setObject(showMenuBarIconKey, true);
        removeStatusItem();
    } else {
        defaults().setObject(showMenuBarIconKey, false);
        createStatusItem();
    }
}

void AppDelegate::applyWindowMode()
{
    // Before the onboarding is completed the window keeps the mode its set-up gives it.
    if (defaults().boolForKey(onboardingCompletedKey))
        setWindowAutoHide(defaults().boolForKey(autoHideWindowKey));
}

void AppDelegate::createStatusItem()
{
    m_statusItem = std::make_unique<StatusItem>(m_statusBarMenu.get());
    connect(m_statusItem.get(), &StatusItem::clicked, this,
            [] { MainWindowHelper::showMainWindow(); });
    updateTaskbarPresence();
}

void AppDelegate::removeStatusItem()
{
    m_statusItem.reset();
    updateTaskbarPresence();
}

void AppDelegate::updateTaskbarPresence()
{
    if (!m_mainWindowController)
        return;
    // With no tray to click, the task bar is where the window stays reachable.
    m_mainWindowController->setTaskbarPresence(m_dockIconShown,
                                               m_statusItem && StatusItem::isTrayAvailable());
}

void AppDelegate::applicationDidFinishLaunching()
{
    detectStartAtLogin();
    TelemetryClient::shared().start(appSecret,
                                    {QStringLiteral("Analytics"), QStringLiteral("Crashes")});
    startFileMonitor();
    bindShortcut();
    if (!m_startedAtLogin)
        MainWindowHelper::showMainWindow();
    // The onboarding window opens here until it has been completed; it does not exist yet.
}

void AppDelegate::detectStartAtLogin()
{
    if (!RunningApplications::isRunning(LauncherSignal::launcherIdentifier))
        return;
    m_startedAtLogin = true;
    log(QStringLiteral("--VORLANE STARTED AT LOGIN"));
    LauncherSignal::postKillLauncher();
    MainWindowHelper::hideMainWindow();
    log(QStringLiteral("-- VORLANE KILLED THE LAUNCHER"));
}

void AppDelegate::startFileMonitor()
{
    const QPointer<AppDelegate> self(this);
    try {
        // The handler runs on the monitor's thread: it only passes the news on.
        m_fileMonitor.start(QUrl::fromLocalFile(recordFolderPath()), [self](const QUrl&) {
            NotificationCenter::defaultCenter().post(
                NotificationName::backgroundUpdate,
                QVariant::fromValue(static_cast<QObject*>(self.data())));
        });
    } catch (const FileMonitorError& error) {
        Diagnostics::write(QStringLiteral("Error starting file monitor: ") +
                           QString::fromLocal8Bit(error.what()));
    }
}

void AppDelegate::bindShortcut()
{
    HotKeys::bindMenuItemToShortcut(m_statusBarMenu->openButton(), HotKeys::Name::toggleApp());
    HotKeys::addKeyUpHandler(HotKeys::Name::toggleApp(), [] {
        // The key's own time lets the window manager give the window the focus.
        if (sharedMainWindowController)
            sharedMainWindowController->setActivationTime(HotKeys::lastEventTimestamp());
        toggleMainWindow();
    });
}

void AppDelegate::applicationStateChanged(Qt::ApplicationState state)
{
    const bool active = state == Qt::ApplicationActive;
    if (active == m_wasActive)
        return;
    m_wasActive = active;
    if (active)
        applicationDidBecomeActive();
    else
        applicationDidResignActive();
}

void AppDelegate::applicationDidBecomeActive()
{
    if (!m_mainWindowController || !m_mainWindowController->window())
        return;
    // Another of Vorlane's windows (or a menu of it) has the focus: leave the window alone.
    if (QApplication::activeWindow() || QApplication::activePopupWidget())
        return;
    MainWindowHelper::showMainWindow();
}

void AppDelegate::applicationDidResignActive()
{
    NotificationCenter::defaultCenter().post(NotificationName::resignActive,
                                             QVariant::fromValue(static_cast<QObject*>(this)));
}

bool AppDelegate::applicationShouldHandleReopen(std::uint32_t timestamp)
{
    if (sharedMainWindowController)
        sharedMainWindowController->setActivationTime(timestamp);
    MainWindowHelper::showMainWindow();
    return true;
}

void AppDelegate::toggleFromOutside(std::uint32_t timestamp)
{
    if (sharedMainWindowController)
        sharedMainWindowController->setActivationTime(timestamp);
    toggleMainWindow();
}

void AppDelegate::listenTo(SingleInstance* instance)
{
    connect(instance, &SingleInstance::reopenRequested, this,
            &AppDelegate::applicationShouldHandleReopen);
    connect(instance, &SingleInstance::toggleRequested, this, &AppDelegate::toggleFromOutside);
    connect(instance, &SingleInstance::centerWindowRequested, this,
            [this](std::uint32_t timestamp) {
                performDockMenuAction(&DockMenu::centerWindow, timestamp);
            });
    connect(instance, &SingleInstance::resetWindowSizeRequested, this,
            [this](std::uint32_t timestamp) {
                performDockMenuAction(&DockMenu::resetWindowSize, timestamp);
            });
}

void AppDelegate::performDockMenuAction(void (DockMenu::*action)(), std::uint32_t timestamp)
{
    if (sharedMainWindowController)
        sharedMainWindowController->setActivationTime(timestamp);
    if (m_dockMenu)
        (m_dockMenu.get()->*action)();
}
