// Placing the window: centring with whole-point rounding, the frame remembered per display and
// both on the display with the pointer (two offscreen screens), the two modes and the toggle.
#include "WindowFrame.h"

#include "AppsTableViewController.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "SharedReferences.h"
#include "TelemetryClient.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QCursor>
#include <QScreen>
#include <QTest>

class WindowFrameTest : public QObject
{
    Q_OBJECT

public:
    explicit WindowFrameTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        QVERIFY(refreshStoreAndWait());
    }

    void init()
    {
        pointAt(QGuiApplication::primaryScreen());
        m_controller.reset();
        m_controller = std::make_unique<MainWindowController>();
        sharedMainWindowController = m_controller.get();
    }

    void centringRoundsHalvesAwayFromZero()
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        MainWindow* window = m_controller->window();
        window->setMinimumSize(1, 1);
        centerOnMainScreen(window, false, 781, 441);
        QCOMPARE(window->size(), QSize(781, 441));
        const double x = screen.x() + screen.width() * 0.5 - 781 * 0.5;
        const double y = screen.y() + screen.height() * 0.5 - 441 * 0.5;
        QCOMPARE(window->pos().x(), static_cast<int>(x + (x >= 0 ? 0.5 : -0.5)));
        QCOMPARE(window->pos().y(), static_cast<int>(y + (y >= 0 ? 0.5 : -0.5)));
    }

    void theResetSizeIsCentredOnTheWholeScreen()
    {
        MainWindow* window = m_controller->window();
        centerOnMainScreen(window, false, defaultWindowSize.width(), defaultWindowSize.height());
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(window->geometry().center().x() - screen.center().x(), 0);
        QCOMPARE(window->size(), defaultWindowSize);
    }

    void theFrameIsRememberedForItsDisplay()
    {
        MainWindow* window = m_controller->window();
        window->show();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QRect frame(screen->geometry().topLeft() + QPoint(40, 30), QSize(700, 420));
        window->setGeometry(frame);
        QTRY_COMPARE(window->geometry(), frame);
        saveFrameForScreen(window);
        const std::optional<quint32> number = screenNumber(screen);
        QVERIFY(number);
        QCOMPARE(WindowTestHome::setting(frameKey(*number)),
                 QStringLiteral("%1 %2 700 420").arg(frame.x()).arg(frame.y()));
        window->setGeometry(100, 100, 500, 350);
        QVERIFY(restoreFrameForScreen(window));
        QTRY_COMPARE(window->geometry(), frame);
    }

    void aFrameOffTheDisplayIsNotRestored()
    {
        const std::optional<quint32> number = screenNumber(QGuiApplication::primaryScreen());
        QVERIFY(number);
        UserDefaults::standard().setObject(frameKey(*number),
                                           QStringLiteral("90000 90000 700 400"));
        QVERIFY(!restoreFrameForScreen(m_controller->window()));
        UserDefaults::standard().setObject(frameKey(*number), QStringLiteral("nonsense"));
        QVERIFY(!restoreFrameForScreen(m_controller->window()));
    }

    // A frame saved partly off the display, or under a larger scale, comes back whole on it.
    void aRestoredFrameIsClampedIntoTheDisplay_data()
    {
        QTest::addColumn<QRect>("saved");
        QTest::addColumn<QRect>("restored");
        QTest::newRow("inside") << QRect(40, 30, 700, 420) << QRect(40, 30, 700, 420);
        QTest::newRow("off the right and bottom")
            << QRect(1000, 600, 700, 420) << QRect(580, 380, 700, 420);
        QTest::newRow("off the left and top")
            << QRect(-300, -200, 700, 420) << QRect(0, 0, 700, 420);
        QTest::newRow("larger than the display")
            << QRect(100, 50, 1800, 1000) << QRect(0, 0, 1280, 800);
    }

    void aRestoredFrameIsClampedIntoTheDisplay()
    {
        QFETCH(QRect, saved);
        QFETCH(QRect, restored);
        // The rows are relative to the display's available area, 1280 × 800 here.
        const QScreen* screen = QGuiApplication::primaryScreen();
        const QPoint origin = screen->availableGeometry().topLeft();
        QCOMPARE(screen->availableGeometry().size(), QSize(1280, 800));
        saved.translate(origin);
        restored.translate(origin);
        UserDefaults::standard().setObject(frameKey(*screenNumber(screen)),
                                           QStringLiteral("%1 %2 %3 %4")
                                               .arg(saved.x())
                                               .arg(saved.y())
                                               .arg(saved.width())
                                               .arg(saved.height()));
        MainWindow* window = m_controller->window();
        QVERIFY(restoreFrameForScreen(window));
        QCOMPARE(window->geometry(), restored);
    }

    void theWindowOpensOnTheScreenWithThePointer()
    {
        const QList<QScreen*> screens = QGuiApplication::screens();
        QCOMPARE(screens.size(), 2);
        MainWindow* window = m_controller->window();
        for (QScreen* screen : screens) {
            UserDefaults::standard().removeObject(frameKey(*screenNumber(screen)));
            pointAt(screen);
            MainWindowHelper::showMainWindow();
            QTRY_COMPARE(window->geometry().center(), screen->geometry().center());
            MainWindowHelper::hideMainWindow();
        }
    }

    void eachScreenGetsBackItsOwnFrame()
    {
        const QList<QScreen*> screens = QGuiApplication::screens();
        QCOMPARE(screens.size(), 2);
        MainWindow* window = m_controller->window();
        QList<QRect> frames;
        for (QScreen* screen : screens) {
            pointAt(screen);
            MainWindowHelper::showMainWindow();
            frames << QRect(screen->geometry().topLeft() + QPoint(60, 50), QSize(640, 400));
            window->setGeometry(frames.last());
            QTRY_COMPARE(window->geometry(), frames.last());
            // Hiding keeps the frame for the screen the window is on.
            MainWindowHelper::hideMainWindow();
        }
        for (qsizetype i = screens.size() - 1; i >= 0; --i) {
            pointAt(screens.at(i));
            MainWindowHelper::showMainWindow();
            QTRY_COMPARE(window->geometry(), frames.at(i));
            MainWindowHelper::hideMainWindow();
        }
    }

    void theDisplayNumberIsStable()
    {
        QScreen* screen = QGuiApplication::primaryScreen();
        QCOMPARE(screenNumber(screen), screenNumber(screen));
        QCOMPARE(frameKey(42), QStringLiteral("NSWindow Frame 42"));
    }

    void autoHideSwitchesTheModeAndStoresIt()
    {
        setWindowAutoHide(true);
        QCOMPARE(WindowTestHome::setting(QStringLiteral("AutoHideWindow")), QStringLiteral("true"));
        QVERIFY(m_controller->isFloatingPanel());
        QVERIFY(m_controller->window()->windowFlags() & Qt::FramelessWindowHint);
        QVERIFY(m_controller->window()->windowFlags() & Qt::WindowStaysOnTopHint);
        QVERIFY(m_controller->skipsTaskbar());
        QCOMPARE(content()->appsViewController()->topInset(), 0);
        setWindowAutoHide(false);
        QCOMPARE(WindowTestHome::setting(QStringLiteral("AutoHideWindow")),
                 QStringLiteral("false"));
        QVERIFY(!(m_controller->window()->windowFlags() & Qt::FramelessWindowHint));
        QCOMPARE(content()->appsViewController()->topInset(), 0);
    }

    void withoutATrayTheWindowStaysInTheTaskBar()
    {
        setWindowAutoHide(true);
        m_controller->setTaskbarPresence(false, false);
        QVERIFY(!m_controller->skipsTaskbar());
        m_controller->setTaskbarPresence(false, true);
        QVERIFY(m_controller->skipsTaskbar());
        setWindowAutoHide(false);
        m_controller->setTaskbarPresence(true, true);
        QVERIFY(!m_controller->skipsTaskbar());
    }

    // Put away, the ordinary window waits iconified in the task bar, where the user finds it
    // again; the auto-hide panel (or a window the tray keeps out of the task bar) is hidden.
    void puttingAwayIconifiesWhereTheTaskBarKeepsTheWindow_data()
    {
        QTest::addColumn<bool>("autoHide");
        QTest::addColumn<bool>("taskBarPresence");
        QTest::addColumn<bool>("trayAvailable");
        QTest::addColumn<bool>("iconified");
        QTest::newRow("ordinary, no tray") << false << true << false << true;
        QTest::newRow("ordinary, with a tray") << false << true << true << true;
        QTest::newRow("ordinary, out of the task bar") << false << false << true << false;
        QTest::newRow("auto-hide, with a tray") << true << false << true << false;
        QTest::newRow("auto-hide, no tray") << true << false << false << false;
    }

    void puttingAwayIconifiesWhereTheTaskBarKeepsTheWindow()
    {
        QFETCH(bool, autoHide);
        QFETCH(bool, taskBarPresence);
        QFETCH(bool, trayAvailable);
        QFETCH(bool, iconified);
        MainWindow* window = m_controller->window();
        setWindowAutoHide(autoHide);
        m_controller->setTaskbarPresence(taskBarPresence, trayAvailable);
        MainWindowHelper::showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QTest::keyClick(window, Qt::Key_Escape);
        QVERIFY(!window->isShown());
        QCOMPARE(window->isVisible(), iconified);
        QCOMPARE(window->isMinimized(), iconified);
        // The shortcut brings it back, from the task bar or from nowhere.
        toggleMainWindow();
        QVERIFY(window->isShown());
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    void autoHideHidesOnFocusLossAndTheOrdinaryModeStays()
    {
        QWidget other;
        other.resize(200, 200);
        setWindowAutoHide(false);
        MainWindowHelper::showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_controller->window()));
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        QVERIFY(m_controller->window()->isVisible());

        setWindowAutoHide(true);
        MainWindowHelper::showMainWindow();
        QTRY_VERIFY(m_controller->window()->isActiveWindow());
        other.activateWindow();
        QTRY_VERIFY(!m_controller->window()->isVisible());
    }

    // Qt may report the focus a hidden panel lost only once the panel is shown again, before the
    // window manager has focused it: that late news must not hide the panel as it appears.
    void thePanelOutlivesLateNewsOfAnEarlierFocusLoss()
    {
        QWidget other;
        other.resize(200, 200);
        setWindowAutoHide(true);
        MainWindowHelper::showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_controller->window()));
        MainWindowHelper::hideMainWindow();
        MainWindowHelper::showMainWindow();
        m_controller->windowDidResignKey();
        QVERIFY(m_controller->window()->isVisible());
        QVERIFY(QTest::qWaitForWindowActive(m_controller->window()));
        QTest::qWait(1200);
        QVERIFY(m_controller->window()->isVisible());
        // Once focused, the panel hides as soon as the focus goes.
        other.show();
        other.activateWindow();
        QTRY_VERIFY(!m_controller->window()->isVisible());
    }

    void theToggleHidesOnlyTheWindowThatHasTheFocus()
    {
        QWidget other;
        other.resize(200, 200);
        toggleMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_controller->window()));
        // Visible behind another window: the toggle brings it forward.
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        toggleMainWindow();
        QTRY_VERIFY(m_controller->window()->isActiveWindow());
        toggleMainWindow();
        QVERIFY(!m_controller->window()->isShown());
    }

    void gainingFocusIsTracked()
    {
        MainWindowHelper::showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_controller->window()));
        QVERIFY(TelemetryClient::shared().trackedEvents().contains(
            QStringLiteral("appDidBecomeActive")));
    }

    void nothingHappensWithoutAController()
    {
        sharedMainWindowController = nullptr;
        MainWindowHelper::showMainWindow();
        toggleMainWindow();
        setWindowAutoHide(true);
        MainWindowHelper::hideMainWindow();
        QVERIFY(!m_controller->window()->isVisible());
        QVERIFY(!m_controller->isFloatingPanel());
    }

private:
    static void pointAt(const QScreen* screen)
    {
        QCursor::setPos(screen->geometry().center());
        QTRY_COMPARE(QGuiApplication::screenAt(QCursor::pos()), screen);
    }
    ViewController* content() const { return m_controller->contentViewController(); }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
};

WINDOW_TEST_MAIN(WindowFrameTest)
#include "WindowFrameTest.moc"
