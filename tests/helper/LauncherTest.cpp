// The login launcher as a program, on a private session bus: copied into a bundle tree with a
// stand-in main program that records its start, it starts the program four folders up, owns its
// bus name while it waits, ignores "killLauncher" from anyone but Vorlane, and quits on Vorlane's
// with its last log line. A bundle it cannot start is logged, and it waits on.
#include "DesktopSession.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>

namespace {
QString busAddress;

const QString helperName = QStringLiteral("com.ostrel.VorlaneHelper");
const QStringList startLines{QStringLiteral("-- VORLANE HELPER: Did finish Launching --"),
                             QStringLiteral("-- HELPER: Launching app...")};
const QString lastLine = QStringLiteral("-- VORLANE HELPER: Terminate Helper");

using DesktopSession::waitUntil;

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

bool writeFile(const QString& path, const QByteArray& bytes, QFile::Permissions permissions)
{
    QDir().mkpath(QFileInfo(path).path());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() &&
           file.setPermissions(permissions);
}

// Vorlane.app in a folder whose name a shell would mangle, with the launcher copied into its
// LoginItems. Programs written into Contents/MacOS note the path they were started as.
class BundleTree
{
public:
    BundleTree()
    {
        const QString folder = m_dir.filePath(QStringLiteral("Apps 'n' $HOME \"Ünï\""));
        bundle = folder + QStringLiteral("/Vorlane.app");
        helper = bundle + QStringLiteral("/Contents/Library/LoginItems/VorlaneHelper.app/"
                                         "Contents/MacOS/VorlaneHelper");
        record = m_dir.filePath(QStringLiteral("started.txt"));
        QDir().mkpath(QFileInfo(helper).path());
        QFile::copy(QStringLiteral(VORLANE_HELPER_EXECUTABLE), helper);
    }
    QString bundle;
    QString helper;
    QString record;

    // A program at a path relative to Contents/MacOS.
    bool addProgram(const QString& relativePath, bool runnable) const
    {
        QFile::Permissions permissions = QFile::ReadOwner | QFile::WriteOwner;
        if (runnable)
            permissions |= QFile::ExeOwner;
        return writeFile(
            QDir::cleanPath(bundle + QStringLiteral("/Contents/MacOS/") + relativePath),
            "#!/bin/sh\nprintf '%s\\n' \"$0\" >> \"$VORLANE_TEST_RECORD\"\n", permissions);
    }
    bool addInfoPlist(const QString& executable) const
    {
        const QString text = QStringLiteral(
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>\n"
            "\t<key>CFBundleIdentifier</key>\n\t<string>com.ostrel.Vorlane</string>\n"
            "\t<key>CFBundleExecutable</key>\n\t<string>%1</string>\n</dict>\n</plist>\n");
        return writeFile(bundle + QStringLiteral("/Contents/Info.plist"),
                         text.arg(executable).toUtf8(), QFile::ReadOwner | QFile::WriteOwner);
    }

private:
    QTemporaryDir m_dir;
};

// The launcher running on the private bus, and a connection of the test's own to talk to it.
class RunningLauncher
{
public:
    explicit RunningLauncher(const BundleTree& tree)
        : m_bus(QDBusConnection::connectToBus(busAddress, QStringLiteral("test")))
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), busAddress);
        environment.insert(QStringLiteral("VORLANE_TEST_RECORD"), tree.record);
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(tree.helper, {});
    }
    // QProcess calls the launcher Running only once its own event loop has seen the start; until
    // then its state stays Starting, however long the launcher has been running, and says
    // nothing of whether it ended.
    bool started() { return process.waitForStarted(30000); }
    ~RunningLauncher()
    {
        process.kill();
        process.waitForFinished();
        QDBusConnection::disconnectFromBus(QStringLiteral("test"));
    }

    bool ownsItsName() const { return m_bus.interface()->isServiceRegistered(helperName); }
    QStringList lines()
    {
        m_output += QString::fromUtf8(process.readAll());
        return m_output.split(u'\n', Qt::SkipEmptyParts);
    }
    void sendKillLauncher(const QVariant& object)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/com/ostrel/Vorlane"),
                                                         QStringLiteral("com.ostrel.Vorlane"),
                                                         QStringLiteral("killLauncher"));
        signal << object;
        m_bus.send(signal);
    }
    // The launcher answers a call only after it has handled what the bus delivered before it;
    // once it has decided to quit, a second call finds it gone.
    // Empty while it waits; otherwise what shows it does not.
    QString whyNotWaiting()
    {
        const QDBusMessage introspect = QDBusMessage::createMethodCall(
            helperName, QStringLiteral("/com/ostrel/VorlaneHelper"),
            QStringLiteral("org.freedesktop.DBus.Introspectable"), QStringLiteral("Introspect"));
        for (int call = 0; call < 2; ++call) {
            const QDBusMessage reply = m_bus.call(introspect);
            if (reply.type() != QDBusMessage::ReplyMessage)
                return reply.errorName() + u' ' + reply.errorMessage();
        }
        if (process.state() != QProcess::Running)
            return QStringLiteral("not running (state %1, exit code %2); its output: %3")
                .arg(process.state())
                .arg(process.exitCode())
                .arg(lines().join(u'\n'));
        return {};
    }

    QProcess process;

private:
    QDBusConnection m_bus;
    QString m_output;
};
} // namespace

class LauncherTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startsTheBundleAroundItWaitsAndQuitsOnVorlanesWord_data()
    {
        QTest::addColumn<QString>("plistExecutable"); // none when empty
        QTest::addColumn<QStringList>("programs");    // "-" in front: not runnable
        QTest::addColumn<QString>("started");         // empty: a launch error
        QTest::newRow("the bundle's own name") << QString() << QStringList{"Vorlane"} << "Vorlane";
        QTest::newRow("the executable Info.plist names")
            << "Vorlane Nightly" << QStringList{"Vorlane", "Vorlane Nightly"} << "Vorlane Nightly";
        QTest::newRow("a name leading out of the bundle is not followed")
            << "../../../Outside" << QStringList{"Vorlane", "../../../Outside"} << "Vorlane";
        QTest::newRow("no program") << "Vorlane" << QStringList{} << QString();
        QTest::newRow("a program that cannot run")
            << "Vorlane" << QStringList{"-Vorlane"} << QString();
    }

    void startsTheBundleAroundItWaitsAndQuitsOnVorlanesWord()
    {
        QFETCH(QString, plistExecutable);
        QFETCH(QStringList, programs);
        QFETCH(QString, started);
        BundleTree tree;
        if (!plistExecutable.isEmpty())
            QVERIFY(tree.addInfoPlist(plistExecutable));
        for (const QString& program : std::as_const(programs))
            QVERIFY(tree.addProgram(QString(program).remove(0, program.startsWith(u'-') ? 1 : 0),
                                    !program.startsWith(u'-')));

        RunningLauncher launcher(tree);
        QVERIFY(launcher.started());
        QVERIFY(waitUntil([&] { return launcher.ownsItsName(); }));
        QStringList expected = startLines;
        if (started.isEmpty()) {
            QVERIFY(waitUntil([&] { return launcher.lines().size() == 3; }));
            QVERIFY2(launcher.lines().at(2).startsWith(QStringLiteral("Error: ")) &&
                         launcher.lines().at(2).contains(tree.bundle),
                     qPrintable(launcher.lines().join(u'\n')));
            expected << launcher.lines().at(2);
        } else {
            QVERIFY(waitUntil([&] { return !readFile(tree.record).isEmpty(); }));
            QCOMPARE(readFile(tree.record),
                     tree.bundle + QStringLiteral("/Contents/MacOS/") + started + u'\n');
        }

        launcher.sendKillLauncher(QStringLiteral("com.example.Other"));
        launcher.sendKillLauncher(42);
        const QString whyNotWaiting = launcher.whyNotWaiting();
        QVERIFY2(whyNotWaiting.isEmpty(), qPrintable(whyNotWaiting));

        launcher.sendKillLauncher(QStringLiteral("com.ostrel.Vorlane"));
        QVERIFY(launcher.process.waitForFinished(30000));
        QCOMPARE(launcher.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(launcher.process.exitCode(), 0);
        QCOMPARE(launcher.lines(), expected << lastLine);
        QVERIFY(waitUntil([&] { return !launcher.ownsItsName(); }));
        // Started once, and only the program it should.
        QCOMPARE(readFile(tree.record).count(u'\n'), started.isEmpty() ? 0 : 1);
    }

    void loggingOutEndsItWithItsLastLine()
    {
        BundleTree tree;
        QVERIFY(tree.addProgram(QStringLiteral("Vorlane"), true));
        RunningLauncher launcher(tree);
        QVERIFY(launcher.started());
        QVERIFY(waitUntil([&] { return launcher.ownsItsName(); }));
        // The program it started writes into the bundle tree, which goes when the test ends.
        QVERIFY(waitUntil([&] { return !readFile(tree.record).isEmpty(); }));
        launcher.process.terminate();
        QVERIFY(launcher.process.waitForFinished(30000));
        QCOMPARE(launcher.process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(launcher.lines().last(), lastLine);
    }
};

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    DesktopSession::PrivateBus bus;
    if (bus.address().isEmpty()) {
        std::printf("no dbus-daemon: skipped\n");
        return 77;
    }
    busAddress = bus.address();
    LauncherTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "LauncherTest.moc"
