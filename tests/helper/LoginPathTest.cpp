// The login path with the real programs, on the X server and a private session bus: a first
// start of Vorlane registers the login item; the session then starts its autostart entry as it
// does at login (through GIO); VorlaneHelper starts Vorlane, which finds the launcher by its bus
// name, logs its two start-at-login lines, stops it and stays hidden. A later launcher start hands
// over to the running Vorlane.
#include "DesktopSession.h"
#include "TestHome.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QProcess>
#include <QTest>

#include <cstdio>
#include <fcntl.h>
#include <gio/gdesktopappinfo.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace DesktopSession;

namespace {
const QString windowTitle = QStringLiteral("Vorlane");
const QString vorlaneName = QStringLiteral("com.ostrel.Vorlane");
const QString helperName = QStringLiteral("com.ostrel.VorlaneHelper");

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool owned(const QString& name)
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(name);
}

uint ownerPid(const QString& name)
{
    return QDBusConnection::sessionBus().interface()->servicePid(name);
}

// Starts a desktop entry as the session starts autostart entries, its output appended to a file.
// The started program is a child of this process; 0 when the entry could not be started.
pid_t launchEntry(const QString& entryPath, const QString& logPath)
{
    GDesktopAppInfo* entry = g_desktop_app_info_new_from_filename(qPrintable(entryPath));
    if (!entry)
        return 0;
    const int log = ::open(qPrintable(logPath), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0600);
    GAppLaunchContext* context = g_app_launch_context_new();
    pid_t pid = 0;
    const auto notePid = [](GDesktopAppInfo*, GPid started, gpointer data) {
        *static_cast<pid_t*>(data) = started;
    };
    GError* error = nullptr;
    if (!g_desktop_app_info_launch_uris_as_manager_with_fds(
            entry, nullptr, context, G_SPAWN_DO_NOT_REAP_CHILD, nullptr, nullptr, notePid, &pid, -1,
            log, log, &error)) {
        std::printf("launch failed: %s\n", error ? error->message : "?");
        g_clear_error(&error);
    }
    ::close(log);
    g_object_unref(context);
    g_object_unref(entry);
    return pid;
}

// Whether each line appears in the text after the one before it.
bool inOrder(const QString& text, const QStringList& lines)
{
    qsizetype from = 0;
    for (const QString& line : lines) {
        from = text.indexOf(line, from);
        if (from < 0)
            return false;
        from += line.size();
    }
    return true;
}
} // namespace

class LoginPathTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Settings of a user past the first-run window.
        m_home.writeFile(m_home.path() + QStringLiteral("/.config/ostrel/Vorlane.conf"),
                         "[General]\nOnboardingCompleted=true\n");
        m_log = m_home.path() + QStringLiteral("/session.log");
        qputenv("QT_QPA_PLATFORM", "xcb");
        qunsetenv("DESKTOP_STARTUP_ID");
        qunsetenv("XDG_CURRENT_DESKTOP");
    }

    void cleanupTestCase()
    {
        // Vorlane was started by the launcher, not by this process.
        if (const uint pid = ownerPid(vorlaneName))
            ::kill(static_cast<pid_t>(pid), SIGTERM);
        waitUntil([] { return !owned(vorlaneName); });
    }

    void aFirstStartRegistersTheLoginItem()
    {
        QProcess vorlane;
        vorlane.setStandardOutputFile(m_log, QIODevice::Append);
        vorlane.setStandardErrorFile(m_log, QIODevice::Append);
        vorlane.start(QStringLiteral(VORLANE_EXECUTABLE), {});
        QVERIFY(waitUntil([] { return visibleWindow(windowTitle) != 0; }, 60000));
        QVERIFY(QFile::exists(autostartEntry()));
        QVERIFY2(readFile(autostartEntry()).contains(QStringLiteral(VORLANE_HELPER_EXECUTABLE)),
                 qPrintable(readFile(autostartEntry())));
        vorlane.terminate();
        QVERIFY(vorlane.waitForFinished(30000));
        QVERIFY(waitUntil([] { return !owned(vorlaneName) && visibleWindow(windowTitle) == 0; }));
    }

    void atLoginTheLauncherStartsVorlaneHiddenAndIsStopped()
    {
        QFile::remove(m_log);
        QElapsedTimer clock;
        clock.start();
        const pid_t helper = launchEntry(autostartEntry(), m_log);
        QVERIFY(helper > 0);
        int status = -1;
        QVERIFY2(waitUntil([&] { return ::waitpid(helper, &status, WNOHANG) == helper; }, 60000),
                 qPrintable(readFile(m_log)));
        const qint64 helperLifetime = clock.elapsed();
        QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        std::printf("started through the autostart entry, the launcher was gone after %lld ms\n",
                    static_cast<long long>(helperLifetime));

        QVERIFY(owned(vorlaneName));
        QCOMPARE(visibleWindow(windowTitle), 0u);
        QVERIFY(waitUntil([&] {
            return readFile(m_log).contains(QStringLiteral("-- VORLANE KILLED THE LAUNCHER"));
        }));
        const QString log = readFile(m_log);
        // The launcher's lines in order, Vorlane's in order, and each waits for the other.
        QVERIFY2(inOrder(log, {QStringLiteral("-- VORLANE HELPER: Did finish Launching --"),
                               QStringLiteral("-- HELPER: Launching app..."),
                               QStringLiteral("--VORLANE STARTED AT LOGIN"),
                               QStringLiteral("-- VORLANE HELPER: Terminate Helper")}),
                 qPrintable(log));
        QVERIFY2(inOrder(log, {QStringLiteral("--VORLANE STARTED AT LOGIN"),
                               QStringLiteral("-- VORLANE KILLED THE LAUNCHER")}),
                 qPrintable(log));
        QCOMPARE(log.count(QStringLiteral("-- VORLANE HELPER: Terminate Helper")), 1);
        QCOMPARE(visibleWindow(windowTitle), 0u);
    }

    // Starting the launcher while Vorlane runs brings the running one forward; no second
    // Vorlane stays. Nothing tells this launcher to quit: it waits, as it would for a Vorlane
    // that failed to start.
    void aLaterLauncherStartReopensTheRunningVorlane()
    {
        const uint running = ownerPid(vorlaneName);
        QVERIFY(running != 0);
        QProcess helper;
        helper.setProcessChannelMode(QProcess::MergedChannels);
        helper.start(QStringLiteral(VORLANE_HELPER_EXECUTABLE), {});
        QVERIFY(waitUntil([] { return visibleWindow(windowTitle) != 0; }, 60000));
        QCOMPARE(ownerPid(vorlaneName), running);
        helper.kill();
        helper.waitForFinished();
    }

private:
    QString autostartEntry() const
    {
        return m_home.path() +
               QStringLiteral("/.config/autostart/com.ostrel.VorlaneHelper.desktop");
    }

    TestHome m_home;
    QString m_log;
};

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("DISPLAY")) {
        std::printf("no X display: skipped\n");
        return 77;
    }
    QGuiApplication application(argc, argv);
    PrivateBus bus;
    if (bus.address().isEmpty()) {
        std::printf("no dbus-daemon: skipped\n");
        return 77;
    }
    // This process and everything it starts use the private bus.
    qputenv("DBUS_SESSION_BUS_ADDRESS", bus.address().toUtf8());
    LoginPathTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LoginPathTest.moc"
