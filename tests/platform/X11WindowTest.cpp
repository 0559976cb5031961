// The window-manager requests on a real X server: the panel's states on an unmapped window, the
// server's time, and the filter that keeps keyboard grabs from looking like focus changes.
#include "X11Window.h"

#include "X11FocusGrabFilter.h"

#include <QGuiApplication>
#include <QProcess>
#include <QTest>
#include <QWindow>

#include <cstdio>
#include <xcb/xcb.h>

namespace {
QString windowProperty(WId window, const char* name)
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"),
                {QStringLiteral("-id"), QString::number(window), QString::fromLatin1(name)});
    xprop.waitForFinished(10000);
    return QString::fromUtf8(xprop.readAllStandardOutput());
}
} // namespace

class X11WindowTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void panelStatesAreSetBeforeTheWindowIsMapped()
    {
        QVERIFY(X11Window::isAvailable());
        QWindow window;
        window.create();
        X11Window::setPanelStates(&window, {.sticky = true, .skipTaskbar = true});
        const QString states = windowProperty(window.winId(), "_NET_WM_STATE");
        QVERIFY2(states.contains(QStringLiteral("_NET_WM_STATE_STICKY")), qPrintable(states));
        QVERIFY(states.contains(QStringLiteral("_NET_WM_STATE_SKIP_TASKBAR")));
        QVERIFY(states.contains(QStringLiteral("_NET_WM_STATE_SKIP_PAGER")));
        QVERIFY(windowProperty(window.winId(), "_NET_WM_DESKTOP")
                    .contains(QStringLiteral("4294967295")));
        X11Window::setPanelStates(&window, {.sticky = false, .skipTaskbar = false});
        const QString cleared = windowProperty(window.winId(), "_NET_WM_STATE");
        QVERIFY2(!cleared.contains(QStringLiteral("STICKY")), qPrintable(cleared));
        QVERIFY(!cleared.contains(QStringLiteral("SKIP_TASKBAR")));
    }

    void theServerTellsItsTime()
    {
        const std::uint32_t first = X11Window::serverTime();
        QVERIFY(first > 0);
        QTest::qWait(20);
        QVERIFY(X11Window::serverTime() >= first);
    }

    void grabFocusChangesAreKeptFromQt_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("filtered");
        QTest::newRow("focus out, grab") << int(XCB_FOCUS_OUT) << int(XCB_NOTIFY_MODE_GRAB) << true;
        QTest::newRow("focus in, ungrab")
            << int(XCB_FOCUS_IN) << int(XCB_NOTIFY_MODE_UNGRAB) << true;
        QTest::newRow("focus out, normal")
            << int(XCB_FOCUS_OUT) << int(XCB_NOTIFY_MODE_NORMAL) << false;
        QTest::newRow("focus out, while grabbed")
            << int(XCB_FOCUS_OUT) << int(XCB_NOTIFY_MODE_WHILE_GRABBED) << false;
        QTest::newRow("key press") << int(XCB_KEY_PRESS) << int(XCB_NOTIFY_MODE_GRAB) << false;
    }

    void grabFocusChangesAreKeptFromQt()
    {
        QFETCH(int, type);
        QFETCH(int, mode);
        QFETCH(bool, filtered);
        xcb_focus_in_event_t event{};
        event.response_type = static_cast<std::uint8_t>(type);
        event.mode = static_cast<std::uint8_t>(mode);
        X11FocusGrabFilter filter;
        QCOMPARE(filter.nativeEventFilter("xcb_generic_event_t", &event, nullptr), filtered);
    }
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("no X display: skipped\n");
        return 77;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QGuiApplication application(argc, argv);
    X11WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "X11WindowTest.moc"
