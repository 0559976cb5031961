// Vorlane as a user meets it, on a real X server with a real window manager: started on a home
// with records, summoned and dismissed by Shift+Ctrl+Space with the keyboard focus, refreshed
// live when an application records a document, following the desktop's dark preference, and
// handing a second start over to the running one; the auto-hide panel moved by its blank top
// strip only. Screenshots of both looks are kept.
#include "DesktopSession.h"
#include "StandInPortal.h"
#include "StandInTrayHost.h"
#include "TestHome.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QScreen>
#include <QTest>
#include <QWidget>

#include <cstdio>

using namespace DesktopSession;

namespace {
const QString windowTitle = QStringLiteral("Vorlane");
const QString shortcut = QStringLiteral("shift+ctrl+space");

struct Application
{
    QString id;
    QString name;
    QColor colour; // invalid: no icon of its own
};

const QList<Application>& applications()
{
    static const QList<Application> list{
        {QStringLiteral("org.example.Writer"), QStringLiteral("Writer"), QColor(0x2f6feb)},
        {QStringLiteral("org.example.Photos"), QStringLiteral("Photos"), QColor(0x1f9d55)},
        {QStringLiteral("org.example.Reader"), QStringLiteral("Reader"), QColor(0xf08c00)},
        {QStringLiteral("org.example.Sheets"), QStringLiteral("Sheets"), QColor(0x0ca5a5)},
        {QStringLiteral("org.example.Music"), QStringLiteral("Music"), QColor(0xd6336c)},
        {QStringLiteral("org.example.Notes"), QStringLiteral("Notes"), QColor()},
    };
    return list;
}

const Application ruby{QStringLiteral("org.example.Ruby"), QStringLiteral("Ruby"),
                       QColor(0xe02020)};

bool closeTo(QRgb pixel, const QColor& colour)
{
    return std::abs(qRed(pixel) - colour.red()) <= 10 &&
           std::abs(qGreen(pixel) - colour.green()) <= 10 &&
           std::abs(qBlue(pixel) - colour.blue()) <= 10;
}

// The mean height of the pixels of a colour in an area; -1 when there are too few to be an icon.
int rowOfColour(const QImage& image, const QRect& area, const QColor& colour)
{
    qint64 sum = 0;
    int count = 0;
    const QRect inside = area.intersected(image.rect());
    for (int y = inside.top(); y <= inside.bottom(); ++y)
        for (int x = inside.left(); x <= inside.right(); ++x)
            if (closeTo(image.pixel(x, y), colour)) {
                sum += y;
                ++count;
            }
    return count >= 200 ? static_cast<int>(sum / count) : -1;
}

QImage screenImage()
{
    return QGuiApplication::primaryScreen()->grabWindow(0).toImage();
}
} // namespace

class ShortcutEndToEndTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QDir().mkpath(QStringLiteral(VORLANE_TEST_ARTIFACTS)); }

    void userSession_data()
    {
        QTest::addColumn<QString>("windowManager");
        QTest::addColumn<bool>("autoHide");
        QTest::newRow("openbox, ordinary window") << QStringLiteral("openbox") << false;
        // metacity refuses the focus to a window that asks without a fresh user time stamp.
        QTest::newRow("metacity, auto-hide panel") << QStringLiteral("metacity") << true;
    }

    void userSession()
    {
        QFETCH(QString, windowManager);
        QFETCH(bool, autoHide);
        // The desktop first, with the system's own data folders; then the user's home.
        WindowManager manager(windowManager);
        QVERIFY2(manager.isRunning(), qPrintable(windowManager + QStringLiteral(" did not start")));
        PrivateBus bus;
        QVERIFY2(!bus.address().isEmpty(), "no private session bus");
        StandInPortal portal(bus.address());
        QVERIFY2(portal.isRegistered(), "the stand-in portal could not take its name");
        StandInTrayHost tray(bus.address());
        QVERIFY2(tray.isRegistered(), "the stand-in tray host could not take its name");
        const QString systemDataDirs =
            qEnvironmentVariable("XDG_DATA_DIRS", QStringLiteral("/usr/local/share:/usr/share"));
        TestHome home;
        populate(home, autoHide);
        // The home's applications first, then the system's icon themes.
        qputenv("XDG_DATA_DIRS", (home.systemDataDir() + u':' + systemDataDirs).toUtf8());

        m_vorlane = startVorlane(home, bus.address());
        const quint64 window = waitForWindow();
        QVERIFY2(window, "the window did not show at start");
        QVERIFY2(waitUntil([&] { return focusedWindow() == window; }),
                 qPrintable(QStringLiteral("the window did not get the keyboard focus at start: "
                                           "%1 has it, not %2; %3")
                                .arg(focusedWindow())
                                .arg(window)
                                .arg(log(home))));
        checkApplicationOrder(home, window);
        checkTrayItem(tray);
        saveScreenshot(window, windowManager + QStringLiteral("-light"));

        // The shortcut, released, hides the window that has the focus and brings it back.
        QVERIFY(pressKeys(shortcut));
        QVERIFY2(waitUntil([] { return visibleWindow(windowTitle) == 0; }),
                 "the shortcut did not hide the window");
        QVERIFY(pressKeys(shortcut));
        QVERIFY2(waitUntil([&] { return visibleWindow(windowTitle) == window; }),
                 "the shortcut did not show the window");
        QVERIFY2(waitUntil([&] { return focusedWindow() == window; }),
                 "the window shown by the shortcut has no keyboard focus");
        // The keys work at once: Escape reaches the list and hides the window.
        QVERIFY(pressKeys(QStringLiteral("Escape")));
        QVERIFY2(waitUntil([] { return visibleWindow(windowTitle) == 0; }),
                 "Escape did not reach the window");
        QVERIFY(pressKeys(shortcut));
        QVERIFY(waitUntil([&] { return focusedWindow() == window; }));

        checkFocusLoss(home, window, autoHide);
        if (autoHide)
            checkTitleStripDrags(window);
        checkLiveRecord(home, window);
        checkDarkLook(portal, window, windowManager);
        checkSecondStart(home, bus.address(), window);
        stopVorlane();
    }

    void cleanup() { stopVorlane(); }

private:
    void populate(TestHome& home, bool autoHide)
    {
        int minutes = 1;
        for (const Application& application : applications()) {
            addApplication(home, application, minutes);
            minutes += 7;
        }
        // A user past the onboarding, so that no welcome window takes the focus at start.
        home.writeFile(home.path() + QStringLiteral("/.config/ostrel/Vorlane.conf"),
                       autoHide ? "[General]\nOnboardingCompleted=true\nAutoHideWindow=true\n"
                                : "[General]\nOnboardingCompleted=true\n");
    }

    static void addApplication(const TestHome& home, const Application& application, int minutesAgo)
    {
        home.installApplication(application.id, application.name);
        if (application.colour.isValid())
            home.writeFile(home.dataHome() + QStringLiteral("/icons/hicolor/scalable/apps/") +
                               application.id + QStringLiteral(".svg"),
                           QStringLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"64\" "
                                          "height=\"64\"><rect x=\"4\" y=\"4\" width=\"56\" "
                                          "height=\"56\" rx=\"14\" fill=\"%1\"/></svg>\n")
                               .arg(application.colour.name())
                               .toUtf8());
        const QDateTime when = QDateTime::currentDateTime().addSecs(-60LL * minutesAgo);
        const QString document = home.createDocument(
            QStringLiteral("Documents/") + application.name + QStringLiteral("/Notes.txt"), when);
        home.writeRecord(application.id, {document}, when);
    }

    static QProcessEnvironment environment(const QString& busAddress)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        environment.remove(QStringLiteral("DESKTOP_STARTUP_ID"));
        environment.remove(QStringLiteral("XDG_CURRENT_DESKTOP"));
        return environment;
    }

    std::unique_ptr<QProcess> startVorlane(const TestHome& home, const QString& busAddress)
    {
        auto process = std::make_unique<QProcess>();
        process->setProcessEnvironment(environment(busAddress));
        process->setStandardOutputFile(home.path() + QStringLiteral("/vorlane.out"));
        process->setStandardErrorFile(home.path() + QStringLiteral("/vorlane.err"));
        process->start(QStringLiteral(VORLANE_EXECUTABLE), {});
        process->waitForStarted(10000);
        return process;
    }

    void stopVorlane()
    {
        if (!m_vorlane)
            return;
        m_vorlane->terminate();
        if (!m_vorlane->waitForFinished(10000))
            m_vorlane->kill();
        m_vorlane->waitForFinished(5000);
        m_vorlane.reset();
    }

    static QString log(const TestHome& home)
    {
        QFile err(home.path() + QStringLiteral("/vorlane.err"));
        err.open(QIODevice::ReadOnly);
        return QString::fromUtf8(err.readAll()).right(2000);
    }

    static quint64 waitForWindow()
    {
        quint64 window = 0;
        waitUntil([&] { return (window = visibleWindow(windowTitle)) != 0; }, 60000);
        return window;
    }

    static QRect applicationsColumn(quint64 window)
    {
        const QRect frame = windowGeometry(window);
        return {frame.x(), frame.y(), 92, frame.height()};
    }

    // The window lists the applications in vorlane-recents's order: each icon's colour is
    // found lower than the one before.
    void checkApplicationOrder(const TestHome& home, quint64 window)
    {
        QProcess recents;
        recents.setProcessEnvironment(environment({}));
        recents.start(QStringLiteral(VORLANE_RECENTS), {QStringLiteral("--json")});
        QVERIFY(recents.waitForFinished(30000));
        const QJsonArray apps = QJsonDocument::fromJson(recents.readAllStandardOutput())
                                    .object()["recentApps"]
                                    .toArray();
        QStringList order;
        for (const QJsonValue& app : apps)
            order << app.toObject()["appName"].toString();
        QStringList expected;
        for (const Application& application : applications())
            expected << application.name;
        QCOMPARE(order, expected);
        Q_UNUSED(home);
        int previous = -1;
        QImage image;
        QVERIFY2(waitUntil([&] {
                     image = screenImage();
                     return rowOfColour(image, applicationsColumn(window),
                                        applications().at(4).colour) >= 0;
                 }),
                 "the application icons were not drawn");
        for (const QString& name : std::as_const(order)) {
            const auto found = std::find_if(applications().cbegin(), applications().cend(),
                                            [&](const Application& a) { return a.name == name; });
            if (!found->colour.isValid())
                continue;
            const int row = rowOfColour(image, applicationsColumn(window), found->colour);
            QVERIFY2(row > previous, qPrintable(name + QStringLiteral(" is out of order")));
            previous = row;
        }
    }

    // The tray item appears in the panel with its menu, whose open item shows the shortcut.
    void checkTrayItem(const StandInTrayHost& tray)
    {
        QVERIFY2(waitUntil([&] { return !tray.items().isEmpty(); }), "no tray item registered");
        QStringList labels;
        QVERIFY2(waitUntil([&] {
                     labels = tray.menuLabels(tray.items().constFirst());
                     return labels.contains(QStringLiteral("Open Vorlane\tControl+Shift+Space"));
                 }),
                 qPrintable(QStringLiteral("the tray menu reads: ") + labels.join(u'|')));
        QVERIFY(labels.contains(QStringLiteral("Quit Vorlane")));
    }

    void checkFocusLoss(const TestHome& home, quint64 window, bool autoHide)
    {
        QWidget other;
        other.setWindowTitle(QStringLiteral("Another program"));
        other.setGeometry(40, 40, 300, 200);
        other.show();
        QVERIFY(QTest::qWaitForWindowExposed(&other));
        QProcess::execute(QStringLiteral("xdotool"),
                          {QStringLiteral("windowactivate"), QString::number(other.winId())});
        QVERIFY(waitUntil([&] { return focusedWindow() == other.winId(); }));
        if (autoHide) {
            QVERIFY2(
                waitUntil([] { return visibleWindow(windowTitle) == 0; }),
                qPrintable(QStringLiteral("the auto-hide panel stayed after losing the focus ") +
                           log(home)));
            // Away from another window, one press brings it back in front.
            QVERIFY(pressKeys(shortcut));
        } else {
            QTest::qWait(300);
            QVERIFY2(visibleWindow(windowTitle) == window, "the ordinary window went away");
            // Visible behind another window: the shortcut brings it forward, not away.
            QVERIFY(pressKeys(shortcut));
        }
        QVERIFY2(waitUntil([&] { return focusedWindow() == window; }),
                 "the shortcut did not bring the window forward with the focus");
    }

    // The auto-hide panel has no title bar: its top strip moves it, but only where nothing else
    // is under the pointer. The first application icon sits in the strip and keeps its drag.
    void checkTitleStripDrags(quint64 window)
    {
        const QRect before = windowGeometry(window);
        QVERIFY(drag(before.topLeft() + QPoint(46, 10), QPoint(80, 60)));
        // Beside the grid's one document the strip is blank: the window follows the pointer
        // (from where the window manager took over), to the left.
        QVERIFY(drag(QPoint(before.right() - 100, before.top() + 10), QPoint(-80, 60)));
        QPoint moved;
        QVERIFY2(waitUntil([&] {
                     moved = windowGeometry(window).topLeft() - before.topLeft();
                     return !moved.isNull();
                 }),
                 "dragging the blank title strip did not move the window");
        QVERIFY2(moved.x() < 0 && moved.y() > 0,
                 qPrintable(QStringLiteral("the window moved by %1, %2: the icon's drag moved it")
                                .arg(moved.x())
                                .arg(moved.y())));
        QVERIFY(waitUntil([&] { return focusedWindow() == window; }));
    }

    // Presses the left button at from, moves by offset in steps paced like a hand, releases.
    static bool drag(const QPoint& from, const QPoint& offset)
    {
        const QString pause = QStringLiteral("0.25");
        QStringList steps{QStringLiteral("mousemove"), QString::number(from.x()),
                          QString::number(from.y()), QStringLiteral("mousedown"),
                          QStringLiteral("1")};
        for (const QPoint& to : {from + offset / 4, from + offset / 2, from + offset})
            steps << QStringLiteral("sleep") << pause << QStringLiteral("mousemove")
                  << QString::number(to.x()) << QString::number(to.y());
        steps << QStringLiteral("sleep") << pause << QStringLiteral("mouseup")
              << QStringLiteral("1");
        return QProcess::execute(QStringLiteral("xdotool"), steps) == 0;
    }

    void checkLiveRecord(const TestHome& home, quint64 window)
    {
        addApplication(home, ruby, 0);
        QVERIFY2(waitUntil([&] {
                     return rowOfColour(screenImage(), applicationsColumn(window), ruby.colour) >=
                            0;
                 }),
                 "the application that recorded a document did not appear");
        const int rubyRow = rowOfColour(screenImage(), applicationsColumn(window), ruby.colour);
        const int writerRow =
            rowOfColour(screenImage(), applicationsColumn(window), applications().at(0).colour);
        QVERIFY2(rubyRow < writerRow, "the newest application is not at the top");
    }

    void checkDarkLook(StandInPortal& portal, quint64 window, const QString& windowManager)
    {
        const QRect frame = windowGeometry(window);
        const QPoint sample(frame.x() + frame.width() / 2, frame.y() + frame.height() / 2);
        QVERIFY(QColor(screenImage().pixel(sample)).lightness() > 160);
        portal.setColorScheme(1);
        QVERIFY2(waitUntil([&] { return QColor(screenImage().pixel(sample)).lightness() < 90; }),
                 "the window did not follow the desktop to dark");
        saveScreenshot(window, windowManager + QStringLiteral("-dark"));
        portal.setColorScheme(0);
        QVERIFY(waitUntil([&] { return QColor(screenImage().pixel(sample)).lightness() > 160; }));
    }

    void checkSecondStart(const TestHome& home, const QString& busAddress, quint64 window)
    {
        QVERIFY(pressKeys(shortcut));
        QVERIFY(waitUntil([] { return visibleWindow(windowTitle) == 0; }));
        QProcess second;
        second.setProcessEnvironment(environment(busAddress));
        second.start(QStringLiteral(VORLANE_EXECUTABLE), {});
        QVERIFY(second.waitForFinished(30000));
        QCOMPARE(second.exitCode(), 0);
        QVERIFY2(waitUntil([&] { return visibleWindow(windowTitle) == window; }),
                 "a second start did not show the running window");
        QVERIFY2(waitUntil([&] { return focusedWindow() == window; }),
                 "the window shown for a second start has no focus");
        Q_UNUSED(home);
    }

    static void saveScreenshot(quint64 window, const QString& name)
    {
        const QRect frame = windowGeometry(window).adjusted(-24, -40, 24, 24);
        const QString path =
            QStringLiteral(VORLANE_TEST_ARTIFACTS "/e2e-") + name + QStringLiteral(".png");
        QVERIFY(screenImage().copy(frame).save(path));
        std::printf("screenshot: %s\n", qPrintable(path));
    }

    std::unique_ptr<QProcess> m_vorlane;
};

int main(int argc, char** argv)
{
    // Nothing to test against without an X server.
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("no X display: skipped\n");
        return 77;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    ShortcutEndToEndTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "ShortcutEndToEndTest.moc"
