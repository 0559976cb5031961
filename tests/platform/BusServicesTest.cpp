// The services that meet the session bus, on a private bus of the test's own: the appearance read
// from a stand-in desktop portal and its changes, one instance per session with the hand-over of
// later starts, the launcher signal and the launcher's presence.
#include "AppearanceService.h"
#include "DesktopSession.h"
#include "LauncherSignal.h"
#include "NotificationCenter.h"
#include "PortalAppearanceService.h"
#include "RunningApplications.h"
#include "SingleInstance.h"
#include "StandInPortal.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cstdio>

namespace {
QString busAddress;

class SignalListener : public QObject
{
    Q_OBJECT

public:
    explicit SignalListener(const QString& name)
        : m_name(name)
        , m_bus(QDBusConnection::connectToBus(busAddress, name))
    {
        m_bus.connect(QString(), LauncherSignal::objectPath, LauncherSignal::interfaceName,
                      LauncherSignal::name, this, SLOT(received(QDBusMessage)));
    }
    ~SignalListener() override { QDBusConnection::disconnectFromBus(m_name); }
    QStringList arguments;

public Q_SLOTS:
    void received(const QDBusMessage& message)
    {
        arguments << message.arguments().value(0).toString();
    }

private:
    QString m_name;
    QDBusConnection m_bus;
};
} // namespace

// The stand-in portal answers on a thread of its own, as a separate program would, so that a
// blocking call from the service under test gets its answer.
class PortalOnItsThread
{
public:
    PortalOnItsThread()
        : portal(new StandInPortal(busAddress))
    {
        portal->moveToThread(&thread);
        thread.start();
    }
    ~PortalOnItsThread()
    {
        thread.quit();
        thread.wait();
        delete portal;
    }
    StandInPortal* portal;
    QThread thread;
};

class BusServicesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aDarkPreferenceReadsDark()
    {
        PortalOnItsThread standIn;
        StandInPortal& portal = *standIn.portal;
        QVERIFY(portal.isRegistered());
        portal.setColorScheme(1);
        PortalAppearanceService service;
        QCOMPARE(service.interfaceStyle(), QStringLiteral("Dark"));
        QCOMPARE(service.colorScheme(), 1);
    }

    void noPreferenceAndLightReadNothing()
    {
        PortalOnItsThread standIn;
        StandInPortal& portal = *standIn.portal;
        for (const uint scheme : {0u, 2u}) {
            portal.setColorScheme(scheme);
            PortalAppearanceService service;
            QCOMPARE(service.interfaceStyle(), QString());
        }
    }

    void changesAreFollowedAndAnnounced()
    {
        PortalOnItsThread standIn;
        StandInPortal& portal = *standIn.portal;
        portal.setColorScheme(0);
        PortalAppearanceService service;
        QSignalSpy changes(&service, &AppearanceService::interfaceStyleChanged);
        int notifications = 0;
        const auto token = NotificationCenter::defaultCenter().addObserver(
            NotificationName::interfaceThemeChanged, {},
            [&notifications](const Notification&) { ++notifications; });
        portal.setColorScheme(1);
        QTRY_COMPARE(service.interfaceStyle(), QStringLiteral("Dark"));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(notifications, 1);
        portal.setColorScheme(0);
        QTRY_COMPARE(service.interfaceStyle(), QString());
        NotificationCenter::defaultCenter().removeObserver(token);
    }

    void withoutAPortalStartUpIsLightAndQuick()
    {
        QElapsedTimer timer;
        timer.start();
        PortalAppearanceService service;
        QCOMPARE(service.interfaceStyle(), QString());
        QVERIFY2(timer.elapsed() < 2000, qPrintable(QString::number(timer.elapsed())));
    }

    void startupIdentifiersCarryTheUserTime()
    {
        QCOMPARE(
            SingleInstance::timestampFromStartupId(QStringLiteral("launcher-12-host-x_TIME8765")),
            8765u);
        QCOMPARE(SingleInstance::timestampFromStartupId(QStringLiteral("no time here")), 0u);
        QCOMPARE(SingleInstance::timestampFromStartupId(QString()), 0u);
    }

    void theFirstStartOwnsTheNameAndHearsLaterOnes()
    {
        SingleInstance instance;
        QVERIFY(instance.claim());
        QSignalSpy reopened(&instance, &SingleInstance::reopenRequested);
        QSignalSpy toggled(&instance, &SingleInstance::toggleRequested);
        // A later start, as another program on the bus.
        QProcess later;
        later.start(
            QStringLiteral("dbus-send"),
            {QStringLiteral("--session"), QStringLiteral("--print-reply"),
             QStringLiteral("--dest=com.ostrel.Vorlane"), QStringLiteral("/com/ostrel/Vorlane"),
             QStringLiteral("com.ostrel.Vorlane.Reopen"), QStringLiteral("string:id_TIME4242")});
        QTRY_COMPARE_WITH_TIMEOUT(reopened.count(), 1, 20000);
        QCOMPARE(reopened.constFirst().constFirst().value<std::uint32_t>(), 4242u);
        QTRY_COMPARE_WITH_TIMEOUT(later.state(), QProcess::NotRunning, 20000);
        QCOMPARE(later.exitCode(), 0);
        QVERIFY(SingleInstance::handOver(SingleInstance::Request::toggle, QString(), QString()));
        QTRY_COMPARE(toggled.count(), 1);
    }

    // Every request reaches the running instance. On Wayland its window may take the focus only
    // with the token the desktop gave the start that asked for it.
    void theHandOverCarriesTheRequestAndTheActivationToken_data()
    {
        QTest::addColumn<SingleInstance::Request>("request");
        QTest::addColumn<QString>("token");
        QTest::newRow("reopen") << SingleInstance::Request::reopen
                                << QStringLiteral("token-of-a-second-start");
        QTest::newRow("toggle") << SingleInstance::Request::toggle
                                << QStringLiteral("token-of-vorlane-toggle");
        QTest::newRow("center") << SingleInstance::Request::centerWindow
                                << QStringLiteral("token-of-the-action");
        QTest::newRow("reset size") << SingleInstance::Request::resetWindowSize << QString();
    }

    void theHandOverCarriesTheRequestAndTheActivationToken()
    {
        QFETCH(SingleInstance::Request, request);
        QFETCH(QString, token);
        qputenv("XDG_ACTIVATION_TOKEN", "token-of-an-earlier-start");
        SingleInstance instance;
        QVERIFY(instance.claim());
        QList<std::pair<SingleInstance::Request, QString>> asked;
        const auto note = [&](SingleInstance::Request what) {
            return [&asked, what] {
                asked.append({what, qEnvironmentVariable("XDG_ACTIVATION_TOKEN")});
            };
        };
        connect(&instance, &SingleInstance::reopenRequested, this,
                note(SingleInstance::Request::reopen));
        connect(&instance, &SingleInstance::toggleRequested, this,
                note(SingleInstance::Request::toggle));
        connect(&instance, &SingleInstance::centerWindowRequested, this,
                note(SingleInstance::Request::centerWindow));
        connect(&instance, &SingleInstance::resetWindowSizeRequested, this,
                note(SingleInstance::Request::resetWindowSize));
        QVERIFY(SingleInstance::handOver(request, QStringLiteral("id_TIME1"), token));
        QTRY_COMPARE(asked.size(), 1);
        QCOMPARE(asked.constFirst().first, request);
        QCOMPARE(asked.constFirst().second, token);
        qunsetenv("XDG_ACTIVATION_TOKEN");
    }

    void aTakenNameMakesTheStartHandOver()
    {
        {
            QDBusConnection other =
                QDBusConnection::connectToBus(busAddress, QStringLiteral("other"));
            QVERIFY(other.registerService(QStringLiteral("com.ostrel.Vorlane")));
            SingleInstance instance;
            QVERIFY(!instance.claim());
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("other"));
        // Nobody answers a hand-over now.
        QTRY_VERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(
            QStringLiteral("com.ostrel.Vorlane")));
        QVERIFY(!SingleInstance::handOver(SingleInstance::Request::reopen, QString(), QString()));
    }

    void theLauncherHearsKillLauncher()
    {
        SignalListener launcher(QStringLiteral("launcher"));
        QVERIFY(LauncherSignal::postKillLauncher());
        QTRY_COMPARE(launcher.arguments, QStringList{QStringLiteral("com.ostrel.Vorlane")});
    }

    // Only a launcher in this session counts: its name on the bus, not a program's name.
    void theLauncherRunsWhileItOwnsItsName()
    {
        const QString launcher = QStringLiteral("com.ostrel.VorlaneHelper");
        QTemporaryDir folder;
        const QString program = folder.filePath(QStringLiteral("VorlaneHelper"));
        QVERIFY(QFile::copy(QStringLiteral("/bin/sleep"), program));
        QProcess sameName;
        sameName.start(program, {QStringLiteral("60")});
        QVERIFY(sameName.waitForStarted());
        QVERIFY(!RunningApplications::isRunning(launcher));
        sameName.kill();
        sameName.waitForFinished();
        {
            QDBusConnection other =
                QDBusConnection::connectToBus(busAddress, QStringLiteral("launcher"));
            QVERIFY(other.registerService(launcher));
            QVERIFY(RunningApplications::isRunning(launcher));
        }
        QDBusConnection::disconnectFromBus(QStringLiteral("launcher"));
        QTRY_VERIFY(!RunningApplications::isRunning(launcher));
    }
};

int main(int argc, char** argv)
{
    QGuiApplication application(argc, argv);
    DesktopSession::PrivateBus bus;
    if (bus.address().isEmpty()) {
        std::printf("no dbus-daemon: skipped\n");
        return 77;
    }
    busAddress = bus.address();
    // Every connection of this process, the services' included, goes to the private bus.
    qputenv("DBUS_SESSION_BUS_ADDRESS", busAddress.toUtf8());
    BusServicesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "BusServicesTest.moc"
