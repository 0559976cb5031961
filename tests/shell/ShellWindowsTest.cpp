// The onboarding of a first start (its entrance, its look, Continue and closing), the About
// window's version, the tray menu's windows, the task-bar menu's commands from the menu and from
// the desktop entry, and the window changing mode in place.
#include "AboutController.h"
#include "AppDelegate.h"
#include "ButtonsViewController.h"
#include "CommandLineOptions.h"
#include "DockMenu.h"
#include "EntranceAnimation.h"
#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/HotKeys.h"
#include "IconButton.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "OnboardingButton.h"
#include "OnboardingController.h"
#include "PreferencesController.h"
#include "SharedReferences.h"
#include "ShellTestSupport.h"
#include "SingleInstance.h"
#include "StatusBarMenu.h"
#include "ThemePalette.h"
#include "ToggleShortcut.h"
#include "UserDefaults.h"
#include "VorlaneVersion.h"
#include "WindowTestSupport.h"

#include <QAbstractAnimation>
#include <QApplication>
#include <QGraphicsOpacityEffect>
#include <QLabel>
#include <QRegularExpression>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <cmath>

namespace {
UserDefaults& defaults()
{
    return UserDefaults::standard();
}

QString setting(const char* key)
{
    return WindowTestHome::setting(QString::fromLatin1(key));
}

qreal opacity(const QWidget* view)
{
    const auto* effect = qobject_cast<const QGraphicsOpacityEffect*>(view->graphicsEffect());
    return effect ? effect->opacity() : 1.0;
}

// Counts the times a window leaves the screen.
class HideCounter : public QObject
{
public:
    explicit HideCounter(QWidget* window) { window->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Hide)
            ++count;
        return false;
    }
    int count = 0;
};

QAction* menuItem(const QMenu* menu, const QString& title)
{
    for (QAction* action : menu->actions()) {
        if (action->text() == title)
            return action;
    }
    qFatal("no menu item %s", qPrintable(title));
}
} // namespace

class ShellWindowsTest : public QObject
{
    Q_OBJECT

public:
    explicit ShellWindowsTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        HotKeys::CarbonHotKeys::setBackend(std::make_unique<AnsweringBackend>());
    }

    void init()
    {
        m_home.clear();
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        m_home.appearance().setStyle(QString());
        HotKeys::resetShortcutsToDefault({toggleAppName()});
        QVERIFY(refreshStoreAndWait());
    }

    void cleanup() { m_delegate.reset(); }

    void continueCompletesTheOnboardingAndShowsTheMainWindow()
    {
        m_delegate = startVorlane();
        OnboardingController* onboarding = m_delegate->onboardingController();
        QVERIFY(onboarding->isVisible());
        MainWindow* main = m_delegate->mainWindowController()->window();
        main->hide();
        QTest::mouseClick(control<OnboardingButton>(onboarding->window(), "button"),
                          Qt::LeftButton);
        QCOMPARE(setting("OnboardingCompleted"), QStringLiteral("true"));
        QVERIFY(!onboarding->isVisible());
        QVERIFY(main->isVisible());
        // The next start greets nobody.
        m_delegate.reset();
        m_delegate = startVorlane();
        QVERIFY(!m_delegate->onboardingController()->isWindowLoaded());
    }

    // Making the welcome and registering the shortcut must not hold up the main window's first
    // frame: they come right after it.
    void theWelcomeAndTheShortcutFollowTheMainWindowsFirstFrame()
    {
        m_delegate = std::make_unique<AppDelegate>();
        m_delegate->applicationWillFinishLaunching();
        m_delegate->applicationDidFinishLaunching();
        const MainWindow* main = m_delegate->mainWindowController()->window();
        OnboardingController* onboarding = m_delegate->onboardingController();
        const QAction* open = m_delegate->statusBarMenu()->openButton();
        QVERIFY(!main->hasPaintedFirstFrame());
        QVERIFY(!onboarding->isWindowLoaded());
        QVERIFY(!HotKeys::boundShortcutName(open));
        QTRY_VERIFY(main->hasPaintedFirstFrame());
        QCOMPARE(HotKeys::boundShortcutName(open), std::optional(QStringLiteral("toggleApp")));
        QTRY_VERIFY(onboarding->isVisible());
    }

    void closingTheOnboardingOtherwiseLeavesItForTheNextStart()
    {
        m_delegate = startVorlane();
        MainWindow* main = m_delegate->mainWindowController()->window();
        main->hide();
        m_delegate->onboardingController()->close();
        QVERIFY(!defaults().objectIsPresent(QStringLiteral("OnboardingCompleted")));
        // The window mode is stored, and the main window comes forward.
        QCOMPARE(setting("AutoHideWindow"), QStringLiteral("false"));
        QVERIFY(main->isVisible());
        m_delegate.reset();
        m_delegate = startVorlane();
        QVERIFY(m_delegate->onboardingController()->isVisible());
    }

    // Five parts, in order, each rising 60 points into its place and fading in, 50 ms after
    // the one before; the animation's clock is set by hand, so nothing here waits.
    void theOnboardingRisesInPartByPart()
    {
        m_delegate = startVorlane();
        OnboardingController* onboarding = m_delegate->onboardingController();
        QVERIFY(onboarding->animationComplete());
        QAbstractAnimation* entrance = onboarding->entranceAnimation()->animation();
        entrance->pause();
        const QList<QWidget*> parts = onboarding->entranceParts();
        QCOMPARE(parts.size(), 5);
        entrance->setCurrentTime(0);
        QList<QPoint> starts;
        for (QWidget* part : parts) {
            QCOMPARE(opacity(part), 0.0);
            starts << part->pos();
        }
        // The third part has just begun; the fourth has not.
        const int time = 2 * EntranceAnimation::staggerMs + 40;
        entrance->setCurrentTime(time);
        for (qsizetype i = 0; i < parts.size(); ++i) {
            const bool started = i * EntranceAnimation::staggerMs < time;
            QVERIFY2((opacity(parts.at(i)) > 0) == started, qPrintable(QString::number(i)));
            QVERIFY2((parts.at(i)->y() < starts.at(i).y()) == started,
                     qPrintable(QString::number(i)));
        }
        entrance->setCurrentTime(entrance->totalDuration());
        QTRY_VERIFY(onboarding->entranceAnimation()->isFinished());
        for (qsizetype i = 0; i < parts.size(); ++i) {
            QCOMPARE(parts.at(i)->pos(), starts.at(i) - QPoint(0, EntranceAnimation::rise));
            QVERIFY(!parts.at(i)->graphicsEffect());
        }
        // Shown again in this run: no second entrance.
        onboarding->close();
        onboarding->showWindow();
        QVERIFY(onboarding->entranceAnimation()->isFinished());
    }

    void theSpringOvershootsALittleAndSettles()
    {
        qreal peak = 0;
        for (int step = 0; step <= 100; ++step)
            peak = std::max(peak, EntranceAnimation::springProgress(step / 100.0));
        QVERIFY(peak > 1.02 && peak < 1.06);
        QCOMPARE(EntranceAnimation::springProgress(0), 0.0);
        QCOMPARE(EntranceAnimation::springProgress(1), 1.0);
        QVERIFY(std::abs(EntranceAnimation::springProgress(0.99) - 1) < 0.005);
        QVERIFY(EntranceAnimation::settlingMs() > 1000 && EntranceAnimation::settlingMs() < 2000);
    }

    void theOnboardingFollowsTheDesktopsLook()
    {
        m_delegate = startVorlane();
        QWidget* window = m_delegate->onboardingController()->window();
        QCOMPARE(window->palette().color(QPalette::Window), QColor(Qt::white));
        m_home.appearance().setStyle(QStringLiteral("Dark"));
        QTRY_COMPARE(window->palette().color(QPalette::Window),
                     darkWidgetPalette().color(QPalette::Window));
        m_home.appearance().setStyle(QString());
        QTRY_COMPARE(window->palette().color(QPalette::Window), QColor(Qt::white));
    }

    void theContinueButtonIsDrawnInItsColours()
    {
        OnboardingButton button;
        button.resize(200, 40);
        QImage image(button.size(), QImage::Format_ARGB32);
        image.fill(Qt::transparent);
        button.render(&image, {}, {}, QWidget::DrawChildren);
        QCOMPARE(image.pixelColor(8, 20).rgb(), OnboardingButton::fillColor().rgb());
        // Rounded corners: the very corner stays clear.
        QCOMPARE(image.pixelColor(0, 0).alpha(), 0);
        // The white title in the middle.
        bool white = false;
        for (int x = 60; x < 140 && !white; ++x)
            white = image.pixelColor(x, 20) == QColor(Qt::white);
        QVERIFY(white);
    }

    void aboutShowsTheBuildsVersion_data()
    {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("text");
        QTest::newRow("short version and build") << "2.1.57"
                                                 << "Version 2.1 (57)";
        QTest::newRow("no build number") << "2.1"
                                         << "Version 2.1";
        QTest::newRow("four parts") << "1.0.2.3"
                                    << "Version 1.0.2 (3)";
    }

    void aboutShowsTheBuildsVersion()
    {
        QFETCH(QString, version);
        QFETCH(QString, text);
        QCoreApplication::setApplicationVersion(version);
        AboutController about;
        QCOMPARE(control<QLabel>(about.window(), "versionNumber")->text(), text);
    }

    // The project's one version and its build number give both parts.
    void thisBuildsVersionHasBothParts()
    {
        const QString text = AboutController::versionText(AboutController::versionsFrom(
            QStringLiteral(VORLANE_VERSION "." VORLANE_BUILD_NUMBER)));
        QVERIFY2(QRegularExpression(QStringLiteral("^Version \\d+\\.\\d+\\.\\d+ \\(\\d+\\)$"))
                     .match(text)
                     .hasMatch(),
                 qPrintable(text));
    }

    void theTrayMenuOpensTheWindowsCentred_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("title");
        QTest::newRow("preferences") << "Preferences\u2026"
                                     << "Vorlane Preferences";
        QTest::newRow("onboarding") << "Welcome to Vorlane\u2026"
                                    << "Welcome to Vorlane";
        QTest::newRow("About") << "About Vorlane"
                               << "About Vorlane";
    }

    void theTrayMenuOpensTheWindowsCentred()
    {
        QFETCH(QString, item);
        QFETCH(QString, title);
        defaults().setObject(QStringLiteral("OnboardingCompleted"), true);
        m_delegate = startVorlane();
        menuItem(m_delegate->statusBarMenu(), item)->trigger();
        QTRY_VERIFY(QApplication::activeWindow() &&
                    QApplication::activeWindow()->windowTitle() == title);
        const QWidget* shown = QApplication::activeWindow();
        const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
        // Up to the window frame's own margins, unknown until it is first shown.
        QVERIFY2((shown->frameGeometry().center() - screen.center()).manhattanLength() <= 8,
                 qPrintable(QStringLiteral("%1,%2 %3x%4 on %5x%6")
                                .arg(shown->frameGeometry().x())
                                .arg(shown->frameGeometry().y())
                                .arg(shown->frameGeometry().width())
                                .arg(shown->frameGeometry().height())
                                .arg(screen.width())
                                .arg(screen.height())));
    }

    void theGearOpensThePreferences()
    {
        defaults().setObject(QStringLiteral("OnboardingCompleted"), true);
        m_delegate = startVorlane();
        QVERIFY(sharedButtonsViewController);
        sharedButtonsViewController->prefButton()->click();
        QVERIFY(m_delegate->preferencesController()->isVisible());
    }

    // The task-bar menu's commands, from the tray menu and from the desktop entry's actions
    // (a second start with an argument, handed over to the running one).
    void theWindowCommandsFrameTheWindow_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<bool>("reset");
        QTest::newRow("menu: center") << QString() << false;
        QTest::newRow("menu: reset size") << QString() << true;
        QTest::newRow("desktop entry: --center-window") << "--center-window" << false;
        QTest::newRow("desktop entry: --reset-window-size") << "--reset-window-size" << true;
    }

    void theWindowCommandsFrameTheWindow()
    {
        QFETCH(QString, argument);
        QFETCH(bool, reset);
        defaults().setObject(QStringLiteral("OnboardingCompleted"), true);
        SingleInstance instance;
        QVERIFY(instance.claim());
        m_delegate = startVorlane();
        m_delegate->listenTo(&instance);
        MainWindow* main = m_delegate->mainWindowController()->window();
        main->setGeometry(30, 40, 600, 380);
        MainWindowHelper::hideMainWindow();
        if (argument.isEmpty()) {
            DockMenu* dock = m_delegate->dockMenu();
            QAction* item = reset ? dock->resetWindowSizeItem() : dock->centerWindowItem();
            QVERIFY(m_delegate->statusBarMenu()->actions().contains(item));
            item->trigger();
        } else {
            const auto request =
                CommandLineOptions::parse({QStringLiteral("Vorlane"), argument}).request;
            QVERIFY(SingleInstance::handOver(request, QString(), QString()));
        }
        const QSize size = reset ? defaultWindowSize : QSize(600, 380);
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        const QRect expected(
            static_cast<int>(std::lround(screen.x() + screen.width() * 0.5 - size.width() * 0.5)),
            static_cast<int>(std::lround(screen.y() + screen.height() * 0.5 - size.height() * 0.5)),
            size.width(), size.height());
        QTRY_VERIFY(main->isVisible());
        QTRY_COMPARE(main->geometry(), expected);
    }

    // Quitting ends Vorlane, although its main window only ever goes away when closed (a quit
    // that asks the windows first would be refused): from the tray menu and with Ctrl+Q.
    void quittingEndsVorlane_data()
    {
        QTest::addColumn<bool>("fromTheTray");
        QTest::newRow("tray menu") << true;
        QTest::newRow("Ctrl+Q in the window") << false;
    }

    void quittingEndsVorlane()
    {
        QFETCH(bool, fromTheTray);
        defaults().setObject(QStringLiteral("OnboardingCompleted"), true);
        m_delegate = startVorlane();
        MainWindow* main = m_delegate->mainWindowController()->window();
        QVERIFY(QTest::qWaitForWindowActive(main));
        QTimer::singleShot(0, main, [this, main, fromTheTray] {
            const QList<QAction*> items = m_delegate->statusBarMenu()->actions();
            if (fromTheTray)
                items.constLast()->trigger();
            else
                QTest::keyClick(main->focusWidget(), Qt::Key_Q, Qt::ControlModifier);
        });
        // Should quitting be refused, the test ends the loop itself after a while.
        QTimer::singleShot(20000, main, [] { QCoreApplication::exit(1); });
        QCOMPARE(QCoreApplication::exec(), 0);
    }

    // Making the native window anew would take it off the screen for a moment and hand the
    // focus elsewhere; the auto-hide panel would then hide as it lost the focus.
    void anOpenWindowChangesModeInPlace()
    {
        defaults().setObject(QStringLiteral("OnboardingCompleted"), true);
        m_delegate = startVorlane();
        MainWindow* main = m_delegate->mainWindowController()->window();
        QVERIFY(QTest::qWaitForWindowActive(main));
        HideCounter hides(main);
        setWindowAutoHide(true);
        QVERIFY(m_delegate->mainWindowController()->isFloatingPanel());
        QVERIFY(main->windowFlags().testFlag(Qt::FramelessWindowHint));
        setWindowAutoHide(false);
        QVERIFY(!main->windowFlags().testFlag(Qt::FramelessWindowHint));
        QCOMPARE(hides.count, 0);
        QVERIFY(main->isVisible());
        QVERIFY(main->isMainWindow());
    }

private:
    WindowTestHome& m_home;
    std::unique_ptr<AppDelegate> m_delegate;
};

WINDOW_TEST_MAIN(ShellWindowsTest)
#include "ShellWindowsTest.moc"
