// The light and dark looks: the "Appearance" choice, the desktop's colour scheme for "system",
// the stored "AppearanceStyle", the palettes and the artwork names that follow them.
#include "Appearance.h"
#include "ButtonSegmentedCell.h"
#include "ButtonsViewController.h"
#include "IconButton.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "NotificationCenter.h"
#include "SharedReferences.h"
#include "ThemePalette.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QTest>

class ThemeTest : public QObject
{
    Q_OBJECT

public:
    explicit ThemeTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        QVERIFY(refreshStoreAndWait());
    }

    void init()
    {
        m_home.appearance().setStyle({});
        UserDefaults::standard().removeObject(QStringLiteral("Appearance"));
        m_controller = std::make_unique<MainWindowController>();
        sharedMainWindowController = m_controller.get();
    }

    void cleanup() { m_controller.reset(); }

    void absentAppearanceAndNoDesktopPreferenceIsLight()
    {
        QCOMPARE(currentAppearanceName(), AppearanceName::aqua);
        QCOMPARE(WindowTestHome::setting(QStringLiteral("AppearanceStyle")),
                 QStringLiteral("light"));
        QVERIFY(!isDark(QApplication::palette()));
    }

    void systemFollowsTheDesktopAtOnce()
    {
        UserDefaults::standard().setObject(QStringLiteral("Appearance"), QStringLiteral("system"));
        m_home.appearance().setStyle(QStringLiteral("Dark"));
        QVERIFY(paletteDarkFlag.value_or(false));
        QCOMPARE(themePalette().appearanceName, AppearanceName::darkAqua);
        QCOMPARE(WindowTestHome::setting(QStringLiteral("AppearanceStyle")),
                 QStringLiteral("dark"));
        QVERIFY(isDark(QApplication::palette()));
        QTRY_VERIFY(isDark(m_controller->window()->palette()));
        m_home.appearance().setStyle({});
        QVERIFY(!paletteDarkFlag.value_or(true));
        QVERIFY(!isDark(QApplication::palette()));
    }

    void anExplicitChoiceIgnoresTheDesktop()
    {
        UserDefaults::standard().setObject(QStringLiteral("Appearance"), QStringLiteral("light"));
        m_home.appearance().setStyle(QStringLiteral("Dark"));
        QVERIFY(!paletteDarkFlag.value_or(true));
        UserDefaults::standard().setObject(QStringLiteral("Appearance"), QStringLiteral("dark"));
        m_home.appearance().setStyle({});
        QVERIFY(paletteDarkFlag.value_or(false));
    }

    void appearanceChangedReappliesTheChoice()
    {
        UserDefaults::standard().setObject(QStringLiteral("Appearance"), QStringLiteral("dark"));
        NotificationCenter::defaultCenter().post(NotificationName::appearanceChanged);
        QVERIFY(paletteDarkFlag.value_or(false));
        QCOMPARE(WindowTestHome::setting(QStringLiteral("AppearanceStyle")),
                 QStringLiteral("dark"));
        UserDefaults::standard().setObject(QStringLiteral("Appearance"), QStringLiteral("light"));
        NotificationCenter::defaultCenter().post(NotificationName::appearanceChanged);
        QVERIFY(!paletteDarkFlag.value_or(true));
    }

    void unknownChoiceIsLight()
    {
        UserDefaults::standard().setObject(QStringLiteral("Appearance"), QStringLiteral("sepia"));
        QCOMPARE(currentAppearanceName(), AppearanceName::aqua);
    }

    void paletteEntriesFollowTheLook()
    {
        paletteDarkFlag = true;
        rebuildPalette();
        QCOMPARE(themePalette().headerLabelColor, QColor::fromRgbF(1, 1, 1, 0.48f));
        QCOMPARE(themePalette().gridTitleColor, QColor::fromRgbF(1, 1, 1, 0.95f));
        paletteDarkFlag = false;
        rebuildPalette();
        QCOMPARE(themePalette().headerLabelColor, QColor::fromRgbF(0, 0, 0, 0.55f));
        QCOMPARE(themePalette().gridTitleColor, QColor::fromRgbF(0, 0, 0, 0.75f));
        QCOMPARE(themePalette().listTitleFont.weight(), QFont::Normal);
        QCOMPARE(themePalette().headerFont.weight(), QFont::DemiBold);
    }

    void toolbarArtworkFollowsTheLook()
    {
        QCOMPARE(ButtonSegmentedCell::imageName(0, false, QStringLiteral("light")),
                 QStringLiteral("List_light"));
        QCOMPARE(ButtonSegmentedCell::imageName(1, true, QStringLiteral("dark")),
                 QStringLiteral("GridHover_dark"));
        UserDefaults::standard().setObject(QStringLiteral("Appearance"), QStringLiteral("dark"));
        NotificationCenter::defaultCenter().post(NotificationName::appearanceChanged);
        QVERIFY(sharedButtonsViewController);
        QCOMPARE(appearanceStyle(), QStringLiteral("dark"));
        QCOMPARE(sharedButtonsViewController->prefButton()->currentImageName(),
                 QStringLiteral("Settings_dark"));
        sharedButtonsViewController->prefButton()->setDown(true);
        QCOMPARE(sharedButtonsViewController->prefButton()->currentImageName(),
                 QStringLiteral("SettingsHover_dark"));
    }

private:
    static bool isDark(const QPalette& palette)
    {
        return palette.color(QPalette::Window).lightness() < 128;
    }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
};

WINDOW_TEST_MAIN(ThemeTest)
#include "ThemeTest.moc"
