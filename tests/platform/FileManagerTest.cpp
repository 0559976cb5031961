// Showing a document in the file manager, on a private session bus and in a test home: the
// ShowItems call a file manager receives, and the document's folder opened by the desktop's
// default handler for folders when no file manager owns the name.
#include "DesktopSession.h"
#include "FreedesktopFileManager.h"
#include "StandInFileManager.h"
#include "TestHome.h"

#include <QDBusError>
#include <QDBusMessage>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTest>
#include <QUrl>

#include <cstdio>

namespace {
QString busAddress;

QString readFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}
} // namespace

class FileManagerTest : public QObject
{
    Q_OBJECT

public:
    explicit FileManagerTest(TestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        m_document =
            m_home.createDocument(QStringLiteral("Documents/Reports/it's \"a\" 50% #1 ünïcode.pdf"),
                                  QDateTime::currentDateTime());
        // The desktop's handler for folders: a program of the test's own that writes down what
        // it was given.
        m_folderLog = m_home.path() + QStringLiteral("/folder-opened");
        const QString script = m_home.writeFile(
            m_home.path() + QStringLiteral("/bin/open-folder"),
            QStringLiteral(
                "#!/bin/sh\nprintf '%s\\n' \"$@\" > \"%1.tmp\" && mv \"%1.tmp\" \"%1\"\n")
                .arg(m_folderLog)
                .toUtf8());
        QFile::setPermissions(script, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        m_home.installApplication(QStringLiteral("org.example.Folders"), QStringLiteral("Folders"),
                                  QStringLiteral("MimeType=inode/directory;"));
        m_home.writeFile(m_home.dataHome() +
                             QStringLiteral("/applications/org.example.Folders.desktop"),
                         QStringLiteral("[Desktop Entry]\nType=Application\nName=Folders\n"
                                        "Exec=%1 %U\nMimeType=inode/directory;\n")
                             .arg(script)
                             .toUtf8());
        m_home.writeFile(m_home.path() + QStringLiteral("/.config/mimeapps.list"),
                         "[Default Applications]\ninode/directory=org.example.Folders.desktop\n");
    }

    void aFileManagerIsAskedToShowTheDocument()
    {
        StandInFileManager standIn(busAddress);
        QVERIFY(standIn.isRegistered());
        FreedesktopFileManager fileManager;
        fileManager.selectFile(m_document);
        QTRY_COMPARE(standIn.calls().size(), 1);
        const QStringList uris = standIn.calls().constFirst().uris;
        QCOMPARE(uris.size(), 1);
        // One well-formed URI that names exactly the document.
        QVERIFY(uris.constFirst().startsWith(QStringLiteral("file:///")));
        QVERIFY(!uris.constFirst().contains(u' '));
        QCOMPARE(QUrl(uris.constFirst(), QUrl::StrictMode).toLocalFile(), m_document);
    }

    void withoutAFileManagerTheFolderOpens()
    {
        QFile::remove(m_folderLog);
        FreedesktopFileManager fileManager;
        fileManager.selectFile(m_document);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(m_folderLog), 30000);
        QCOMPARE(readFile(m_folderLog), m_home.path() + QStringLiteral("/Documents/Reports\n"));
    }

    void onlyAnAbsentFileManagerMeansTheFolder_data()
    {
        QTest::addColumn<QString>("error");
        QTest::addColumn<bool>("noFileManager");
        QTest::newRow("no owner") << "org.freedesktop.DBus.Error.ServiceUnknown" << true;
        QTest::newRow("owner without the method")
            << "org.freedesktop.DBus.Error.UnknownMethod" << true;
        QTest::newRow("start failed") << "org.freedesktop.DBus.Error.Spawn.ChildExited" << true;
        // A file manager slow to start may still show the document: no second window.
        QTest::newRow("no answer in time") << "org.freedesktop.DBus.Error.NoReply" << false;
        QTest::newRow("refused") << "org.freedesktop.DBus.Error.AccessDenied" << false;
    }

    void onlyAnAbsentFileManagerMeansTheFolder()
    {
        QFETCH(QString, error);
        QFETCH(bool, noFileManager);
        QCOMPARE(FreedesktopFileManager::meansNoFileManager(
                     QDBusError(QDBusMessage::createError(error, QString()))),
                 noFileManager);
    }

private:
    TestHome& m_home;
    QString m_document;
    QString m_folderLog;
};

int main(int argc, char** argv)
{
    // GLib reads the data and configuration folders once: the test home comes first.
    TestHome home;
    QGuiApplication application(argc, argv);
    DesktopSession::PrivateBus bus;
    if (bus.address().isEmpty()) {
        std::fputs("no private session bus (dbus-daemon): skipped\n", stderr);
        return 77;
    }
    busAddress = bus.address();
    qputenv("DBUS_SESSION_BUS_ADDRESS", busAddress.toUtf8());
    FileManagerTest test(home);
    return QTest::qExec(&test, argc, argv);
}

#include "FileManagerTest.moc"
