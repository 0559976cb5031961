// The services that work on the user's own files and programs: autostart entries, launching
// desktop entries through GIO and the privacy settings opener.
#include "AutostartLoginItems.h"
#include "DesktopPrivacySettings.h"
#include "GioApplicationLauncher.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <gio/gdesktopappinfo.h>

namespace {
QString readFile(const QString& path)
{
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return QString::fromUtf8(file.readAll());
}

void writeExecutable(const QString& path, const QByteArray& text)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

bool waitForFile(const QString& path)
{
    for (int i = 0; i < 2000 && readFile(path).isEmpty(); ++i)
        QTest::qWait(10);
    return !readFile(path).isEmpty();
}
} // namespace

class LocalServicesTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        m_home = std::make_unique<QTemporaryDir>();
        qputenv("XDG_CONFIG_HOME", (m_home->path() + QStringLiteral("/config")).toUtf8());
    }

    void theAutostartEntryIsWrittenAndRemoved()
    {
        AutostartLoginItems items;
        const QString entry =
            AutostartLoginItems::entryPath(QStringLiteral("com.ostrel.VorlaneHelper"));
        QCOMPARE(entry, m_home->path() +
                            QStringLiteral("/config/autostart/com.ostrel.VorlaneHelper.desktop"));
        QVERIFY(items.setEnabled(QStringLiteral("com.ostrel.VorlaneHelper"), true));
        const QString text = readFile(entry);
        const QString helper = AutostartLoginItems::helperExecutablePath();
        QVERIFY(helper.endsWith(QStringLiteral(
            "/Contents/Library/LoginItems/VorlaneHelper.app/Contents/MacOS/VorlaneHelper")));
        QVERIFY2(text.contains(QStringLiteral("\nExec=") +
                               AutostartLoginItems::quotedExecValue(helper) + u'\n'),
                 qPrintable(text));
        QVERIFY(text.contains(QStringLiteral("\nTryExec=") + helper + u'\n'));
        QVERIFY(text.startsWith(QStringLiteral("[Desktop Entry]\n")));
        // Every desktop starts it: enabled for GNOME's session, and no desktop left out.
        QVERIFY(text.contains(QStringLiteral("\nX-GNOME-Autostart-enabled=true\n")));
        QVERIFY(!text.contains(QStringLiteral("OnlyShowIn")) &&
                !text.contains(QStringLiteral("NotShowIn")));
        QVERIFY(items.setEnabled(QStringLiteral("com.ostrel.VorlaneHelper"), false));
        QVERIFY(!QFile::exists(entry));
        QVERIFY(items.setEnabled(QStringLiteral("com.ostrel.VorlaneHelper"), false));
    }

    // Written at every start: an entry as it should be stays untouched, any other is replaced.
    void theAutostartEntryIsRewrittenOnlyWhenItDiffers_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<bool>("rewritten");
        const QByteArray right =
            AutostartLoginItems::entryText(AutostartLoginItems::helperExecutablePath());
        QTest::newRow("as it should be") << right << false;
        QTest::newRow("another helper")
            << AutostartLoginItems::entryText(QStringLiteral("/old/x")) << true;
        QTest::newRow("cut short") << right.left(right.size() - 1) << true;
        QTest::newRow("one more line") << right + "X-Extra=1\n" << true;
        QTest::newRow("empty") << QByteArray() << true;
    }

    void theAutostartEntryIsRewrittenOnlyWhenItDiffers()
    {
        QFETCH(QByteArray, before);
        QFETCH(bool, rewritten);
        const QString identifier = QStringLiteral("com.ostrel.VorlaneHelper");
        const QString entry = AutostartLoginItems::entryPath(identifier);
        QVERIFY(QDir().mkpath(QFileInfo(entry).path()));
        QFile file(entry);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(before);
        file.flush();
        const QDateTime longAgo = QDateTime::currentDateTimeUtc().addDays(-30);
        QVERIFY(file.setFileTime(longAgo, QFileDevice::FileModificationTime));
        file.close();
        QVERIFY(AutostartLoginItems().setEnabled(identifier, true));
        QCOMPARE(readFile(entry).toUtf8(),
                 AutostartLoginItems::entryText(AutostartLoginItems::helperExecutablePath()));
        QCOMPARE(QFileInfo(entry).lastModified().toMSecsSinceEpoch() != longAgo.toMSecsSinceEpoch(),
                 rewritten);
    }

    void execValuesAreQuotedAsDesktopEntriesRequire_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("value");
        QTest::newRow("plain") << QStringLiteral("/opt/Vorlane.app/x")
                               << QStringLiteral("/opt/Vorlane.app/x");
        QTest::newRow("space") << QStringLiteral("/home/a b/x")
                               << QStringLiteral("\"/home/a b/x\"");
        QTest::newRow("quote and dollar")
            << QStringLiteral("/h/\"$x") << QStringLiteral("\"/h/\\\\\"\\\\$x\"");
        QTest::newRow("percent") << QStringLiteral("/h/100%") << QStringLiteral("/h/100%%");
    }

    void execValuesAreQuotedAsDesktopEntriesRequire()
    {
        QFETCH(QString, path);
        QFETCH(QString, value);
        QCOMPARE(AutostartLoginItems::quotedExecValue(path), value);
    }

    // The session reads and starts the login item with GLib: what starts is the helper at that
    // path, whatever the path holds.
    void theLoginItemStartsItsHelperExactly_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::newRow("space and quotes") << QStringLiteral("it's \"my\" apps");
        QTest::newRow("shell characters") << QStringLiteral("$HOME;`x`|&");
        QTest::newRow("backslash") << QStringLiteral("back\\slash\\n");
        QTest::newRow("new line and tab") << QStringLiteral("two\nlines\tand tab");
        QTest::newRow("leading space") << QStringLiteral(" lead");
    }

    void theLoginItemStartsItsHelperExactly()
    {
        QFETCH(QString, folder);
        const QString helper = m_home->path() + u'/' + folder + QStringLiteral("/VorlaneHelper");
        const QString output = m_home->filePath(QStringLiteral("started.txt"));
        QVERIFY(QDir().mkpath(QFileInfo(helper).path()));
        writeExecutable(
            helper, QStringLiteral("#!/bin/sh\nprintf '%s' \"$0\" > '%1'\n").arg(output).toUtf8());
        const QString entry = m_home->filePath(QStringLiteral("com.ostrel.VorlaneHelper.desktop"));
        QFile file(entry);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(AutostartLoginItems::entryText(helper));
        file.close();
        // GLib checks TryExec and the program of Exec when it reads the entry.
        GDesktopAppInfo* info = g_desktop_app_info_new_from_filename(QFile::encodeName(entry));
        QVERIFY2(info, qPrintable(readFile(entry)));
        const bool launched = g_app_info_launch(G_APP_INFO(info), nullptr, nullptr, nullptr);
        g_object_unref(info);
        QVERIFY(launched);
        QVERIFY(waitForFile(output));
        QCOMPARE(readFile(output), helper);
    }

    void desktopEntriesLaunchWithTheirDocumentsAndNoShell()
    {
        const QString script = m_home->filePath(QStringLiteral("record-arguments"));
        const QString output = m_home->filePath(QStringLiteral("arguments.txt"));
        writeExecutable(script,
                        QStringLiteral("#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '%1'\n")
                            .arg(output)
                            .toUtf8());
        const QString entry = m_home->filePath(QStringLiteral("org.example.Recorder.desktop"));
        QFile file(entry);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("[Desktop Entry]\nType=Application\nName=Recorder\nExec=%1 %F\n")
                       .arg(script)
                       .toUtf8());
        file.close();
        const QString odd = m_home->filePath(QStringLiteral("it's a \"test\" $HOME;.txt"));
        QFile(odd).open(QIODevice::WriteOnly);
        GioApplicationLauncher launcher;
        QVERIFY(launcher.launch(entry, {QUrl::fromLocalFile(odd)}));
        QVERIFY(waitForFile(output));
        QCOMPARE(readFile(output), odd + u'\n');
    }

    void whatIsNotADesktopEntryIsNotLaunched()
    {
        GioApplicationLauncher launcher;
        QVERIFY(!launcher.launch(m_home->filePath(QStringLiteral("missing.desktop"))));
        QVERIFY(!launcher.launch(QStringLiteral("/bin/true")));
        QVERIFY(!launcher.launch(QString()));
    }

    void thePrivacySettingsOfTheRunningDesktopComeFirst()
    {
        QCOMPARE(DesktopPrivacySettings::candidates(QStringLiteral("KDE")).constFirst().program,
                 QStringLiteral("systemsettings"));
        QCOMPARE(
            DesktopPrivacySettings::candidates(QStringLiteral("ubuntu:GNOME")).constFirst().program,
            QStringLiteral("gnome-control-center"));
        QCOMPARE(DesktopPrivacySettings::candidates(QString()).constFirst().arguments,
                 QStringList{QStringLiteral("privacy")});
    }

    void thePrivacySettingsAreStartedWhenInstalled()
    {
        const QByteArray path = qgetenv("PATH");
        const QString bin = m_home->filePath(QStringLiteral("bin"));
        QDir().mkpath(bin);
        qputenv("PATH", bin.toUtf8());
        DesktopPrivacySettings settings;
        QVERIFY(!settings.isAvailable());
        QVERIFY(!settings.open());
        const QString output = m_home->filePath(QStringLiteral("opened.txt"));
        writeExecutable(bin + QStringLiteral("/gnome-control-center"),
                        QStringLiteral("#!/bin/sh\necho \"$@\" > '%1'\n").arg(output).toUtf8());
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        QVERIFY(settings.isAvailable());
        QVERIFY(settings.open());
        qputenv("PATH", path);
        QVERIFY(waitForFile(output));
        QCOMPARE(readFile(output), QStringLiteral("privacy\n"));
    }

private:
    std::unique_ptr<QTemporaryDir> m_home;
};

QTEST_GUILESS_MAIN(LocalServicesTest)
#include "LocalServicesTest.moc"
