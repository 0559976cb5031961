#include "AppDelegate.h"

#include "AboutController.h"
#include "AutostartLoginItems.h"
#include "DefaultsKeys.h"
#include "Diagnostics.h"
#include "DockMenu.h"
#include "FileActions.h"
#include "FileMonitorError.h"
#include "FirstFrame.h"
#include "HotKeys/HotKeys.h"
#include "LauncherSignal.h"
#include "LoginItem.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "NotificationCenter.h"
#include "OnboardingController.h"
#include "PreferencesController.h"
#include "RecordLocations.h"
#include "RunningApplications.h"
#include "SharedReferences.h"
#include "SingleInstance.h"
#include "StatusBarMenu.h"
#include "StatusItem.h"
#include "SystemLog.h"
#include "TelemetryClient.h"
#include "ToggleShortcut.h"
#include "UserDefaults.h"
#include "ViewController.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusServiceWatcher>
#include <QUrl>
#include <QWindow>

const QString AppDelegate::appSecret = QStringLiteral("6f0d4c1e-5b7a-4f2e-9c3d-8a1b2c3d4e5f");

namespace {
QPointer<AppDelegate> sharedAppDelegate;

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
    showPreferencesWindow = nullptr;
    m_fileMonitor.stop();
    FileActions::install(nullptr);
    if (sharedMainWindowController == m_mainWindowController.get())
        sharedMainWindowController = nullptr;
}

AppDelegate* AppDelegate::shared()
{
    return sharedAppDelegate;
}

void AppDelegate::applicationWillFinishLaunching()
{
    // What opening, showing and previewing a document do, before any view can ask for them.
    FileActions::install(std::make_unique<FileActions>());
    m_mainWindowController = std::make_unique<MainWindowController>();
    sharedMainWindowController = m_mainWindowController.get();
    defaults().setObject(QStringLiteral("NSFullScreenMenuItemEverywhere"), false);
    if (!defaults().objectIsPresent(DefaultsKey::appearance))
        defaults().setObject(DefaultsKey::appearance, QStringLiteral("system"));
    applyStoredLoginItem();
    m_dockMenu = std::make_unique<DockMenu>();
    m_statusBarMenu = std::make_unique<StatusBarMenu>(m_dockMenu.get());
    // The toolbar's preferences button.
    showPreferencesWindow = [this] { preferencesController()->showCentred(); };
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
    connect(m_trayWatcher, &QDBusServiceWatcher::serviceOwnerChanged, this, [this] {
        updateTaskbarPresence();
        Q_EMIT trayAvailabilityChanged();
    });
}

void AppDelegate::applyStoredLoginItem()
{
    ::applyLoginItem(!defaults().objectIsPresent(DefaultsKey::loginItem) ||
                     defaults().boolForKey(DefaultsKey::loginItem));
}

void AppDelegate::applyDockIcon()
{
    // The test is on "AutoHideWindow", which the onboarding and the preferences always write.
    m_dockIconShown = !defaults().objectIsPresent(DefaultsKey::autoHideWindow) ||
                      defaults().boolForKey(DefaultsKey::showDockIcon);
    defaults().setObject(DefaultsKey::showDockIcon, m_dockIconShown);
    updateTaskbarPresence();
}

void AppDelegate::applyMenuBarIcon()
{
    // true means the icon is hidden.
    if (defaults().boolForKey(DefaultsKey::showMenuBarIcon)) {
        defaults().setObject(DefaultsKey::showMenuBarIcon, true);
        removeStatusItem();
    } else {
        defaults().setObject(DefaultsKey::showMenuBarIcon, false);
        createStatusItem();
    }
}

void AppDelegate::applyWindowMode()
{
    // Before the onboarding is completed the window keeps the mode its set-up gives it.
    if (defaults().boolForKey(DefaultsKey::onboardingCompleted))
        setWindowAutoHide(defaults().boolForKey(DefaultsKey::autoHideWindow));
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

void AppDelegate::setDockIconShown(bool shown)
{
    m_dockIconShown = shown;
    updateTaskbarPresence();
}

PreferencesController* AppDelegate::preferencesController()
{
    if (!m_preferencesController)
        m_preferencesController = std::make_unique<PreferencesController>();
    return m_preferencesController.get();
}

AboutController* AppDelegate::aboutController()
{
    if (!m_aboutController)
        m_aboutController = std::make_unique<AboutController>();
    return m_aboutController.get();
}

OnboardingController* AppDelegate::onboardingController()
{
    if (!m_onboardingController)
        m_onboardingController = std::make_unique<OnboardingController>();
    return m_onboardingController.get();
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
    if (m_mainWindowController)
        sharedViewController = m_mainWindowController->contentViewController();
    detectStartAtLogin();
    TelemetryClient::shared().start(appSecret,
                                    {QStringLiteral("Analytics"), QStringLiteral("Crashes")});
    startFileMonitor();
    if (!m_startedAtLogin)
        MainWindowHelper::showMainWindow();
    // Registering the shortcut asks the window system (or the desktop's portal) and waits for
    // its answers: right after the first frame, not before it.
    FirstFrame::after(this, [this] { bindShortcut(); });
    // Making the welcome window takes as long as making the main one: it comes right after the
    // main window's first frame rather than holding that frame up.
    if (!defaults().boolForKey(DefaultsKey::onboardingCompleted))
        FirstFrame::after(this, [this] { onboardingController()->showWindow(); });
}

void AppDelegate::detectStartAtLogin()
{
    if (!RunningApplications::isRunning(LauncherSignal::launcherIdentifier))
        return;
    m_startedAtLogin = true;
    SystemLog::write(QStringLiteral("--VORLANE STARTED AT LOGIN"));
    LauncherSignal::postKillLauncher();
    MainWindowHelper::hideMainWindow();
    SystemLog::write(QStringLiteral("-- VORLANE KILLED THE LAUNCHER"));
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
    HotKeys::bindMenuItemToShortcut(m_statusBarMenu->openButton(), toggleAppName());
    HotKeys::addKeyUpHandler(toggleAppName(), [] {
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
    // Qt calls Vorlane active as soon as one of its windows has the focus, before it names that
    // window active: the focus itself tells which window the user came to.
    if (QApplication::activePopupWidget() || isMainWindow(QGuiApplication::focusWindow()))
        return;
    MainWindowHelper::showMainWindow();
}

bool AppDelegate::isMainWindow(const QWindow* focused) const
{
    const QList<const QWidget*> mainWindows{m_mainWindowController->window(), sharedAboutWindow,
                                            sharedOnboardingWindow, sharedPreferencesWindow};
    // A dialog of one of them (an alert of the preferences) leaves its window the main one.
    for (const QWindow* window = focused; window; window = window->transientParent()) {
        for (const QWidget* candidate : mainWindows) {
            if (candidate && candidate->windowHandle() == window)
                return true;
        }
    }
    return false;
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
    connect(instance, &SingleInstance::centerWindowRequested, this, [](std::uint32_t timestamp) {
        if (sharedMainWindowController)
            sharedMainWindowController->setActivationTime(timestamp);
        DockMenu::centerWindow();
    });
    connect(instance, &SingleInstance::resetWindowSizeRequested, this, [](std::uint32_t timestamp) {
        if (sharedMainWindowController)
            sharedMainWindowController->setActivationTime(timestamp);
        DockMenu::resetWindowSize();
    });
}

void AppDelegate::applyStartRequest(SingleInstance::Request request)
{
    if (request == SingleInstance::Request::centerWindow)
        DockMenu::centerWindow();
    else if (request == SingleInstance::Request::resetWindowSize)
        DockMenu::resetWindowSize();
}
