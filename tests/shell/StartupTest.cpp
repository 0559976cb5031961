// Start-up: the preferences brought into force on a first and on later starts, the tray item and
// its menu, a start at login stopping the launcher, the file monitor refreshing the window, and
// the answers to activation and re-opening.
#include "AppDelegate.h"
#include "AppsListModel.h"
#include "AppsTableViewController.h"
#include "ButtonSegmentedControl.h"
#include "ButtonsViewController.h"
#include "FileActions.h"
#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/HotKeys.h"
#include "LauncherSignal.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "NotificationCenter.h"
#include "RecordLocations.h"
#include "SharedReferences.h"
#include "ShellTestSupport.h"
#include "SingleInstance.h"
#include "StatusBarMenu.h"
#include "StatusItem.h"
#include "SystemLog.h"
#include "TelemetryClient.h"
#include "ToggleShortcut.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "VorlaneController.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QPainter>
#include <QProcess>
#include <QScreen>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

namespace {
// The launcher as Vorlane finds it: its name on the bus, and the launcher signal received on a
// connection of its own.
class LauncherListener : public QObject
{
    Q_OBJECT

public:
    LauncherListener()
        : m_bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                              QStringLiteral("launcher")))
    {
        m_bus.connect(QString(), LauncherSignal::objectPath, LauncherSignal::interfaceName,
                      LauncherSignal::name, this, SLOT(received(QDBusMessage)));
        m_ownsName = m_bus.registerService(LauncherSignal::launcherIdentifier);
    }
    ~LauncherListener() override { QDBusConnection::disconnectFromBus(QStringLiteral("launcher")); }
    bool ownsItsName() const { return m_ownsName; }
    QStringList arguments;

public Q_SLOTS:
    void received(const QDBusMessage& message)
    {
        arguments << message.arguments().value(0).toString();
    }

private:
    QDBusConnection m_bus;
    bool m_ownsName = false;
};

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT

public:
    explicit StartupTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        auto windowSystem = std::make_unique<AnsweringBackend>();
        m_windowSystem = windowSystem.get();
        HotKeys::CarbonHotKeys::setBackend(std::move(windowSystem));
        SystemLog::setSink([this](const QString& line) { m_log << line; });
    }

    void init()
    {
        m_home.clear();
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        m_home.loginItems().calls.clear();
        m_log.clear();
        QVERIFY(refreshStoreAndWait());
    }

    void cleanup() { m_delegate.reset(); }

    void aFirstStartStoresTheDefaultsAndShowsTheWindow()
    {
        start();
        QCOMPARE(m_log, QStringList{QStringLiteral("-- VORLANE: Enable start at login")});
        QCOMPARE(m_home.loginItems().calls,
                 QStringList{QStringLiteral("com.ostrel.VorlaneHelper on")});
        QCOMPARE(setting("LoginItem"), QStringLiteral("true"));
        QCOMPARE(setting("ShowDockIcon"), QStringLiteral("true"));
        QCOMPARE(setting("ShowMenuBarIcon"), QStringLiteral("false"));
        QCOMPARE(setting("Appearance"), QStringLiteral("system"));
        QCOMPARE(setting("NSFullScreenMenuItemEverywhere"), QStringLiteral("false"));
        QVERIFY(m_delegate->statusItem());
        QCOMPARE(recordFileSuffix(), QStringLiteral(".sfl3"));
        QVERIFY(TelemetryClient::shared().isStarted());
        QVERIFY(!m_delegate->startedAtLogin());
        QVERIFY(m_delegate->mainWindowController()->window()->isVisible());
        // Until the onboarding is completed the window keeps its first mode.
        QVERIFY(!m_delegate->mainWindowController()->isFloatingPanel());
    }

    void theFileActionsAreInstalledForAsLongAsTheDelegateRuns()
    {
        QVERIFY(!FileActions::installed());
        start();
        QVERIFY(FileActions::installed());
        m_delegate.reset();
        QVERIFY(!FileActions::installed());
    }

    void aStoredLoginItemChoiceIsKept()
    {
        UserDefaults::standard().setObject(QStringLiteral("LoginItem"), false);
        start();
        QCOMPARE(m_log, QStringList{QStringLiteral("-- VORLANE: Disable start at login")});
        QCOMPARE(m_home.loginItems().calls,
                 QStringList{QStringLiteral("com.ostrel.VorlaneHelper off")});
        QCOMPARE(setting("LoginItem"), QStringLiteral("false"));
    }

    void aHiddenMenuBarIconStaysHidden()
    {
        UserDefaults::standard().setObject(QStringLiteral("ShowMenuBarIcon"), true);
        start();
        QVERIFY(!m_delegate->statusItem());
        QCOMPARE(setting("ShowMenuBarIcon"), QStringLiteral("true"));
    }

    void theDockIconFollowsItsChoiceOnceAutoHideIsStored()
    {
        UserDefaults::standard().setObject(QStringLiteral("AutoHideWindow"), false);
        UserDefaults::standard().setObject(QStringLiteral("ShowDockIcon"), false);
        start();
        QVERIFY(!m_delegate->dockIconShown());
        QCOMPARE(setting("ShowDockIcon"), QStringLiteral("false"));
        // Without a tray to reach it from, the window stays in the task bar all the same.
        QVERIFY(!StatusItem::isTrayAvailable());
        QVERIFY(!m_delegate->mainWindowController()->skipsTaskbar());
    }

    void aCompletedOnboardingAppliesTheStoredMode()
    {
        UserDefaults::standard().setObject(QStringLiteral("OnboardingCompleted"), true);
        UserDefaults::standard().setObject(QStringLiteral("AutoHideWindow"), true);
        start();
        QVERIFY(m_delegate->mainWindowController()->isFloatingPanel());
    }

    void aStartAtLoginStopsTheLauncherAndKeepsTheWindowOffTheScreen()
    {
        LauncherListener launcher;
        QVERIFY(launcher.ownsItsName());
        start();
        QVERIFY(m_delegate->startedAtLogin());
        QCOMPARE(m_log, (QStringList{QStringLiteral("-- VORLANE: Enable start at login"),
                                     QStringLiteral("--VORLANE STARTED AT LOGIN"),
                                     QStringLiteral("-- VORLANE KILLED THE LAUNCHER")}));
        QTRY_COMPARE_WITH_TIMEOUT(launcher.arguments,
                                  QStringList{QStringLiteral("com.ostrel.Vorlane")}, 20000);
        QVERIFY(!m_delegate->mainWindowController()->window()->isShown());
    }

    // A program called VorlaneHelper that is not this session's launcher (another login's, or
    // anything of that name) leaves a normal start alone.
    void onlyTheSessionsLauncherMakesAStartAtLogin()
    {
        QTemporaryDir folder;
        const QString program = folder.filePath(QStringLiteral("VorlaneHelper"));
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), program));
        QProcess sameName;
        sameName.start(program, {QStringLiteral("60")});
        QVERIFY(sameName.waitForStarted());
        start();
        sameName.kill();
        sameName.waitForFinished();
        QVERIFY(!m_delegate->startedAtLogin());
        QVERIFY(m_delegate->mainWindowController()->window()->isVisible());
    }

    void theFileMonitorRefreshesTheWindow()
    {
        start();
        AppsListModel* model = m_delegate->mainWindowController()
                                   ->contentViewController()
                                   ->appsViewController()
                                   ->model();
        QCOMPARE(model->rowCount(), 1);
        m_home.addApplication(QStringLiteral("org.example.Beta"), QStringLiteral("Beta"), 1);
        QTRY_COMPARE_WITH_TIMEOUT(model->rowCount(), 2, 30000);
        QCOMPARE(model->index(0, 0).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Beta"));
    }

    void theOpenItemCarriesTheShortcut_data()
    {
        using State = HotKeys::SystemBinding::State;
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<QKeySequence>("shown");
        QTest::addColumn<bool>("hint");
        QTest::newRow("granted") << int(State::granted) << QString()
                                 << QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Space) << false;
        QTest::newRow("the desktop's own trigger")
            << int(State::granted) << QStringLiteral("Meta+V") << QKeySequence(Qt::META | Qt::Key_V)
            << false;
        QTest::newRow("refused") << int(State::refused) << QString() << QKeySequence() << true;
    }

    void theOpenItemCarriesTheShortcut()
    {
        QFETCH(int, state);
        QFETCH(QString, trigger);
        QFETCH(QKeySequence, shown);
        QFETCH(bool, hint);
        m_windowSystem->answer = {HotKeys::SystemBinding::State(state), trigger};
        // The settings were cleared after the default was first stored: store it again.
        HotKeys::resetShortcutsToDefault({toggleAppName()});
        start();
        StatusBarMenu* menu = m_delegate->statusBarMenu();
        QAction* open = menu->openButton();
        QCOMPARE(HotKeys::boundShortcutName(open), std::optional(QStringLiteral("toggleApp")));
        // The item shows the shortcut once the event loop has run.
        QTRY_COMPARE(open->shortcut(), shown);
        menu->popup(QPoint(10, 10));
        QTRY_VERIFY(menu->isVisible());
        QCOMPARE(menu->shortcutHint()->isVisible(), hint);
        menu->hide();
    }

    void theMenuSwitchesTheViewTypeOnlyWhenItDiffers()
    {
        start();
        UserDefaults::standard().removeObject(QStringLiteral("FilesViewType"));
        ButtonSegmentedControl* toggle = sharedButtonsViewController->toggleViewTypeSC();
        toggle->setSelectedSegment(1);
        m_delegate->statusBarMenu()->toggleGridView();
        QCOMPARE(toggle->selectedSegment(), 1);
        QVERIFY(!UserDefaults::standard().objectIsPresent(QStringLiteral("FilesViewType")));
        m_delegate->statusBarMenu()->toggleListView();
        QCOMPARE(toggle->selectedSegment(), 0);
        QCOMPARE(setting("FilesViewType"), QStringLiteral("list"));
    }

    // The tray menu shows which view is current, whoever chose it.
    void theTrayMenuChecksTheCurrentView()
    {
        start();
        StatusBarMenu* menu = m_delegate->statusBarMenu();
        const QList<std::pair<QString, QAction*>> rows{
            {QString(), menu->gridViewItem()},
            {QStringLiteral("list"), menu->listViewItem()},
            {QStringLiteral("grid"), menu->gridViewItem()},
            {QStringLiteral("other"), menu->listViewItem()}};
        for (const auto& [stored, checked] : rows) {
            if (stored.isEmpty())
                UserDefaults::standard().removeObject(QStringLiteral("FilesViewType"));
            else
                UserDefaults::standard().setObject(QStringLiteral("FilesViewType"), stored);
            Q_EMIT menu->aboutToShow();
            QVERIFY(checked->isChecked());
            QCOMPARE(menu->listViewItem()->isChecked(), checked == menu->listViewItem());
        }
        menu->gridViewItem()->trigger();
        QCOMPARE(setting("FilesViewType"), QStringLiteral("grid"));
        QVERIFY(menu->gridViewItem()->isChecked() && !menu->listViewItem()->isChecked());
    }

    // Panels that look the tray icon up by name draw the symbolic icon in their own colour;
    // the picture for trays that take pictures stands out by 3:1 on light and dark panels.
    void theTrayIconFollowsThePanel()
    {
        start();
        const QIcon icon = m_delegate->statusItem()->trayIcon()->icon();
        QCOMPARE(icon.name(), QStringLiteral("com.ostrel.Vorlane-symbolic"));
        for (const QColor panel : {QColor(0xf0, 0xf0, 0xf0), QColor(0x20, 0x20, 0x22)}) {
            QImage image(22, 22, QImage::Format_RGB32);
            image.fill(panel);
            QPainter painter(&image);
            icon.paint(&painter, image.rect());
            painter.end();
            double strongest = 1;
            for (int y = 0; y < image.height(); ++y)
                for (int x = 0; x < image.width(); ++x)
                    strongest = std::max(strongest, contrastRatio(image.pixel(x, y), panel.rgb()));
            QVERIFY2(strongest >= 3, qPrintable(panel.name() + u' ' + QString::number(strongest)));
        }
    }

    void reopeningShowsTheWindow()
    {
        start();
        MainWindowHelper::hideMainWindow();
        QVERIFY(!m_delegate->mainWindowController()->window()->isShown());
        QVERIFY(m_delegate->applicationShouldHandleReopen());
        QVERIFY(m_delegate->mainWindowController()->window()->isShown());
        m_delegate->toggleFromOutside();
        QTRY_VERIFY(!m_delegate->mainWindowController()->window()->isShown() ||
                    !m_delegate->mainWindowController()->window()->isMainWindow());
    }

    // The desktop entry's actions reach the running instance as requests of a later start.
    void theTaskBarActionsShowTheWindowInTheMiddle_data()
    {
        QTest::addColumn<SingleInstance::Request>("request");
        QTest::addColumn<QSize>("size");
        QTest::newRow("center") << SingleInstance::Request::centerWindow << QSize(600, 400);
        QTest::newRow("reset size") << SingleInstance::Request::resetWindowSize << QSize(780, 440);
    }

    void theTaskBarActionsShowTheWindowInTheMiddle()
    {
        QFETCH(SingleInstance::Request, request);
        QFETCH(QSize, size);
        SingleInstance instance;
        start();
        m_delegate->listenTo(&instance);
        QWidget* window = m_delegate->mainWindowController()->window();
        window->setGeometry(10, 20, 600, 400);
        MainWindowHelper::hideMainWindow();
        if (request == SingleInstance::Request::centerWindow)
            Q_EMIT instance.centerWindowRequested(0);
        else
            Q_EMIT instance.resetWindowSizeRequested(0);
        QVERIFY(window->isVisible());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QTRY_COMPARE(window->geometry(), QRect(screen.x() + (screen.width() - size.width()) / 2,
                                               screen.y() + (screen.height() - size.height()) / 2,
                                               size.width(), size.height()));
    }

    void resigningActivePostsItsNotification()
    {
        start();
        QObject* sender = nullptr;
        const auto token = NotificationCenter::defaultCenter().addObserver(
            NotificationName::resignActive, {},
            [&sender](const Notification& n) { sender = n.object.value<QObject*>(); });
        m_delegate->applicationDidResignActive();
        NotificationCenter::defaultCenter().removeObserver(token);
        QCOMPARE(sender, m_delegate.get());
    }

private:
    void start() { m_delegate = startVorlane(); }
    static QString setting(const char* key)
    {
        return WindowTestHome::setting(QString::fromLatin1(key));
    }

    WindowTestHome& m_home;
    std::unique_ptr<AppDelegate> m_delegate;
    AnsweringBackend* m_windowSystem = nullptr;
    QStringList m_log;
};

WINDOW_TEST_MAIN(StartupTest)
#include "StartupTest.moc"
