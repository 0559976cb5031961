// Application icons under a bare window manager, where the desktop names no icon theme (Qt then
// knows only hicolor): the common theme icons come from an installed complete theme, an
// application's own icon from hicolor, and only an unknown name gets the placeholder. Runs on
// the X server of scripts/session.sh without XDG_CURRENT_DESKTOP.
#include "AppIconCache.h"
#include "FilesTestHome.h"
#include "ImageNamed.h"
#include "WindowTestSupport.h"

#include <QTest>

namespace {
QImage drawn(const QIcon& icon)
{
    return icon.pixmap(QSize(48, 48), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
}
} // namespace

class AppIconsTest : public QObject
{
    Q_OBJECT

public:
    explicit AppIconsTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY2(qEnvironmentVariableIsEmpty("XDG_CURRENT_DESKTOP"),
                 "the test stands for a session without a desktop environment");
        // The system's icon themes, as installed.
        FilesTestHome::useSystemDataFolders(m_home.home());
        m_home.home().writeFile(m_home.home().dataHome() +
                                    QStringLiteral("/icons/hicolor/scalable/apps/"
                                                   "org.example.Own.svg"),
                                "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"48\" "
                                "height=\"48\"><rect width=\"48\" height=\"48\" fill=\"#e02020\"/>"
                                "</svg>\n");
    }

    void everyApplicationHasItsOwnIcon_data()
    {
        QTest::addColumn<QString>("iconName");
        // Names desktop entries give that only complete themes (Adwaita, breeze) have.
        QTest::newRow("terminal") << QStringLiteral("utilities-terminal");
        QTest::newRow("text editor") << QStringLiteral("accessories-text-editor");
        QTest::newRow("image viewer") << QStringLiteral("image-x-generic");
        // An application's own icon, installed into hicolor.
        QTest::newRow("own icon") << QStringLiteral("org.example.Own");
    }

    void everyApplicationHasItsOwnIcon()
    {
        QFETCH(QString, iconName);
        const QIcon icon = AppIconCache::shared().icon(iconName);
        QCOMPARE(icon.name(), iconName);
        const QImage image = drawn(icon);
        QVERIFY(image != drawn(AppIconCache::shared().icon(QStringLiteral("no-such-icon"))));
        for (const QImage& other : std::as_const(m_seen))
            QVERIFY(image != other);
        m_seen << image;
    }

    void anUnknownNameGetsThePlaceholder()
    {
        QVERIFY(!AppIconCache::shared().icon(QStringLiteral("no-such-icon")).isNull());
    }

private:
    WindowTestHome& m_home;
    QList<QImage> m_seen;
};

WINDOW_TEST_MAIN(AppIconsTest)
#include "AppIconsTest.moc"
