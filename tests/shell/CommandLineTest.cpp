// The command line answered before anything starts: help, version and mistakes print their text
// and exit, without a display and without reaching a running Vorlane; Qt's own options pass. A
// start without a display says what Vorlane needs instead of aborting inside Qt.
#include <QProcess>
#include <QTest>

class CommandLineTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void theCommandLineIsAnsweredWithoutStarting_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("errors");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: vorlane"
                              << "";
        QTest::newRow("version") << QStringList{"-v"} << 0 << "Vorlane "
                                 << "";
        QTest::newRow("unknown option") << QStringList{"--bogus"} << 2 << ""
                                        << "vorlane: unknown option '--bogus'\n"
                                           "Try 'vorlane --help' for the options.\n";
        QTest::newRow("with a window request") << QStringList{"--toggle", "--tggle"} << 2 << ""
                                               << "unknown option '--tggle'";
        QTest::newRow("stray argument") << QStringList{"notes.txt"} << 2 << ""
                                        << "unexpected argument 'notes.txt'";
        QTest::newRow("unknown beside help") << QStringList{"--help", "-x"} << 2 << ""
                                             << "unknown option '-x'";
        QTest::newRow("Qt's options pass")
            << QStringList{"-platform", "xcb",           "--display", ":99",
                           "-reverse",  "-style=Fusion", "--version"}
            << 0 << "Vorlane "
            << "";
        QTest::newRow("a Qt option's value is not vorlane's")
            << QStringList{"-name", "--bogus", "--bogus2"} << 2 << ""
            << "'--bogus2'";
    }

    void theCommandLineIsAnsweredWithoutStarting()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, output);
        QFETCH(QString, errors);
        QProcess vorlane;
        // No display to connect to: a start would end in Qt's abort, not in an answer.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("DISPLAY"));
        environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
        environment.remove(QStringLiteral("QT_QPA_PLATFORM"));
        environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"),
                           QStringLiteral("unix:path=/nonexistent/bus"));
        vorlane.setProcessEnvironment(environment);
        vorlane.start(QStringLiteral(VORLANE_EXECUTABLE), arguments);
        QVERIFY(vorlane.waitForFinished(60000));
        const QString printed = QString::fromUtf8(vorlane.readAllStandardOutput());
        const QString complained = QString::fromUtf8(vorlane.readAllStandardError());
        QCOMPARE(vorlane.exitStatus(), QProcess::NormalExit);
        QVERIFY2(vorlane.exitCode() == exitCode, qPrintable(complained));
        QVERIFY2(printed.contains(output), qPrintable(printed));
        QVERIFY2(errors.isEmpty() ? complained.isEmpty() : complained.contains(errors),
                 qPrintable(complained));
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "CommandLineTest.moc"
