// Becoming active on a real X server: the program is active while one of its windows has the
// keyboard focus. When the user activates it by a window other than the main window, the About,
// onboarding or preferences window, the main window comes forward.
#include "AppDelegate.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "SharedReferences.h"
#include "TelemetryClient.h"
#include "UserDefaults.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QHash>
#include <QPointer>
#include <QTest>

#include <cstdio>

class ActivationTest : public QObject
{
    Q_OBJECT

public:
    explicit ActivationTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        // The welcome window would take the focus at every start.
        UserDefaults::standard().setObject(QStringLiteral("OnboardingCompleted"), true);
        QVERIFY(refreshStoreAndWait());
    }

    void cleanup() { m_delegate.reset(); }

    void becomingActiveShowsTheWindowUnlessAnotherOfItsWindowsIsMain_data()
    {
        QTest::addColumn<QString>("role");
        QTest::addColumn<bool>("shown");
        QTest::newRow("a preview") << QString() << true;
        QTest::newRow("the About window") << QStringLiteral("about") << false;
        QTest::newRow("the onboarding window") << QStringLiteral("onboarding") << false;
        QTest::newRow("the preferences window") << QStringLiteral("preferences") << false;
    }

    void becomingActiveShowsTheWindowUnlessAnotherOfItsWindowsIsMain()
    {
        QFETCH(QString, role);
        QFETCH(bool, shown);
        m_delegate = std::make_unique<AppDelegate>();
        m_delegate->applicationWillFinishLaunching();
        m_delegate->applicationDidFinishLaunching();
        MainWindow* main = m_delegate->mainWindowController()->window();
        QVERIFY(QTest::qWaitForWindowActive(main));
        MainWindowHelper::hideMainWindow();
        // The focus has gone to another program.
        QTRY_COMPARE(QGuiApplication::applicationState(), Qt::ApplicationInactive);
        const qsizetype tracked = TelemetryClient::shared().trackedEvents().size();

        QWidget window;
        const QHash<QString, QPointer<QWidget>*> roles{
            {QStringLiteral("about"), &sharedAboutWindow},
            {QStringLiteral("onboarding"), &sharedOnboardingWindow},
            {QStringLiteral("preferences"), &sharedPreferencesWindow}};
        if (QPointer<QWidget>* reference = roles.value(role))
            *reference = &window;
        // The user activates Vorlane by one of its windows.
        window.resize(200, 200);
        window.show();
        window.activateWindow();
        QTRY_COMPARE(QGuiApplication::applicationState(), Qt::ApplicationActive);
        QCOMPARE(main->isShown(), shown);
        if (shown) {
            QVERIFY(QTest::qWaitForWindowActive(main));
            QCOMPARE(TelemetryClient::shared().trackedEvents().mid(tracked),
                     QStringList{QStringLiteral("appDidBecomeActive")});
        } else {
            QVERIFY(QTest::qWaitForWindowActive(&window));
        }
    }

private:
    WindowTestHome& m_home;
    std::unique_ptr<AppDelegate> m_delegate;
};

int main(int argc, char** argv)
{
    // Focus is the X server's to give.
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("no X display: skipped\n");
        return 77;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    QApplication application(argc, argv);
    WindowTestHome home;
    ActivationTest test(home);
    return QTest::qExec(&test, argc, argv);
}

#include "ActivationTest.moc"
