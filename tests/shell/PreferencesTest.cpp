// The preferences window's rules, and those it shares with the onboarding: what each control
// shows and stores and when it takes effect, the task-bar and auto-hide pair, the shortcut that
// comes back when left empty, the appearance choice and its announcement, and what the windows
// say where the desktop gives no tray or no global shortcut.
#include "AppDelegate.h"
#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/HotKeys.h"
#include "HotKeys/RecorderField.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "NotificationCenter.h"
#include "OnboardingController.h"
#include "PreferencesController.h"
#include "ShellTestSupport.h"
#include "StatusBarMenu.h"
#include "SystemLog.h"
#include "ToggleCommandHint.h"
#include "ToggleShortcut.h"
#include "TouchStrip.h"
#include "UserDefaults.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QKeySequence defaultShortcut(Qt::CTRL | Qt::SHIFT | Qt::Key_Space);

UserDefaults& defaults()
{
    return UserDefaults::standard();
}

QString setting(const char* key)
{
    return WindowTestHome::setting(QString::fromLatin1(key));
}
} // namespace

class PreferencesTest : public QObject
{
    Q_OBJECT

public:
    explicit PreferencesTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        auto windowSystem = std::make_unique<AnsweringBackend>();
        m_windowSystem = windowSystem.get();
        HotKeys::CarbonHotKeys::setBackend(std::move(windowSystem));
        SystemLog::setSink([this](const QString& line) { m_log << line; });
    }

    void init()
    {
        m_home.clear();
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        m_home.loginItems().calls.clear();
        m_windowSystem->answer = {HotKeys::SystemBinding::State::granted, {}};
        HotKeys::resetShortcutsToDefault({toggleAppName()});
        QVERIFY(refreshStoreAndWait());
    }

    void cleanup()
    {
        m_delegate.reset();
        m_log.clear();
        qunsetenv("XDG_SESSION_TYPE");
    }

    void theControlsShowTheStoredChoices_data()
    {
        QTest::addColumn<QVariantMap>("stored");
        QTest::addColumn<QStringList>("ticked");
        QTest::addColumn<bool>("autoHideEnabled");
        QTest::addColumn<QString>("appearance");
        QTest::newRow("a first start")
            << QVariantMap{} << QStringList{"login", "tray", "dock"} << true << "Automatic";
        QTest::newRow("no login item, no tray icon, light")
            << QVariantMap{{"LoginItem", false}, {"ShowMenuBarIcon", true}, {"Appearance", "light"}}
            << QStringList{"dock"} << true << "Light";
        QTest::newRow("the user's own auto-hide")
            << QVariantMap{{"AutoHideWindow", true},
                           {"AutoHideWindowSetByUser", true},
                           {"ShowDockIcon", true}}
            << QStringList{"login", "tray", "dock", "autohide"} << true << "Automatic";
        QTest::newRow("no task-bar presence: auto-hide forced")
            << QVariantMap{{"AutoHideWindow", false}, {"ShowDockIcon", false}}
            << QStringList{"login", "tray", "autohide"} << false << "Automatic";
        QTest::newRow("dark") << QVariantMap{{"Appearance", "dark"}}
                              << QStringList{"login", "tray", "dock"} << true << "Dark";
        QTest::newRow("the touch strip chosen")
            << QVariantMap{{"ShowTouchStrip", true}}
            << QStringList{"login", "tray", "dock", "touch"} << true << "Automatic";
        QTest::newRow("an unknown appearance")
            << QVariantMap{{"Appearance", "sepia"}} << QStringList{"login", "tray", "dock"} << true
            << "Dark";
    }

    void theControlsShowTheStoredChoices()
    {
        QFETCH(QVariantMap, stored);
        QFETCH(QStringList, ticked);
        QFETCH(bool, autoHideEnabled);
        QFETCH(QString, appearance);
        for (auto it = stored.cbegin(); it != stored.cend(); ++it)
            defaults().setObject(it.key(), it.value());
        QWidget* window = openPreferences();
        const QList<std::pair<QString, const char*>> checkboxes{
            {"login", "toggleLoginCheckbox"},
            {"tray", "toggleMenuBarCheckbox"},
            {"dock", "toggleDockCheckbox"},
            {"autohide", "toggleAutoHideCheckbox"},
            {"touch", "toggleTouchStripCheckbox"}};
        for (const auto& [shortName, name] : checkboxes)
            QVERIFY2(control<QCheckBox>(window, name)->isChecked() == ticked.contains(shortName),
                     name);
        QCOMPARE(control<QCheckBox>(window, "toggleAutoHideCheckbox")->isEnabled(),
                 autoHideEnabled);
        QCOMPARE(control<QComboBox>(window, "setAppearanceMenu")->currentText(), appearance);
    }

    void startAtLoginFollowsItsCheckbox()
    {
        QCheckBox* login = control<QCheckBox>(openPreferences(), "toggleLoginCheckbox");
        m_home.loginItems().calls.clear();
        m_log.clear();
        login->click();
        login->click();
        QCOMPARE(m_home.loginItems().calls,
                 (QStringList{"com.ostrel.VorlaneHelper off", "com.ostrel.VorlaneHelper on"}));
        QCOMPARE(m_log, (QStringList{"-- VORLANE: Disable start at login",
                                     "-- VORLANE: Enable start at login"}));
        QCOMPARE(setting("LoginItem"), QStringLiteral("true"));
    }

    void theTrayIconFollowsItsCheckboxAtOnce()
    {
        QCheckBox* tray = control<QCheckBox>(openPreferences(), "toggleMenuBarCheckbox");
        QVERIFY(m_delegate->statusItem());
        tray->click();
        // Stored inverted: true while the icon is hidden.
        QCOMPARE(setting("ShowMenuBarIcon"), QStringLiteral("true"));
        QVERIFY(!m_delegate->statusItem());
        tray->click();
        QCOMPARE(setting("ShowMenuBarIcon"), QStringLiteral("false"));
        QVERIFY(m_delegate->statusItem());
    }

    void autoHideIsStoredAtOnceAndAppliedWhenTheWindowStopsBeingMain()
    {
        QWidget* window = openPreferences();
        QVERIFY(QTest::qWaitForWindowActive(window));
        control<QCheckBox>(window, "toggleAutoHideCheckbox")->click();
        QCOMPARE(setting("AutoHideWindow"), QStringLiteral("true"));
        QCOMPARE(setting("AutoHideWindowSetByUser"), QStringLiteral("true"));
        QVERIFY(!m_delegate->mainWindowController()->isFloatingPanel());
        OtherWindow other;
        QVERIFY(other.takeFocus());
        QTRY_VERIFY(m_delegate->mainWindowController()->isFloatingPanel());
    }

    void theTouchStripFollowsItsCheckboxAtOnce()
    {
        QCheckBox* touch = control<QCheckBox>(openPreferences(), "toggleTouchStripCheckbox");
        const auto* strip = m_delegate->mainWindowController()->window()->findChild<TouchStrip*>();
        QVERIFY(strip->isHidden());
        touch->click();
        QCOMPARE(setting("ShowTouchStrip"), QStringLiteral("true"));
        QVERIFY(!strip->isHidden());
        touch->click();
        QCOMPARE(setting("ShowTouchStrip"), QStringLiteral("false"));
        QVERIFY(strip->isHidden());
    }

    // Without a task-bar presence the window is always an auto-hide panel; the user's own
    // auto-hide choice comes back with the presence. The presence itself changes on closing.
    void theTaskBarCheckboxForcesAutoHideUntilTicked()
    {
        QWidget* window = openPreferences();
        auto* dock = control<QCheckBox>(window, "toggleDockCheckbox");
        auto* autoHide = control<QCheckBox>(window, "toggleAutoHideCheckbox");
        MainWindowController* main = m_delegate->mainWindowController();
        autoHide->click();
        for (const bool usersChoice : {true, false}) {
            QCOMPARE(autoHide->isChecked(), usersChoice);
            dock->click();
            QVERIFY(!autoHide->isEnabled());
            QVERIFY(autoHide->isChecked());
            QVERIFY(main->isFloatingPanel());
            QVERIFY(!main->window()->isVisible());
            // The preferences stay in front.
            QTRY_VERIFY(window->isVisible() && window->isActiveWindow());
            QCOMPARE(setting("ShowDockIcon"), QStringLiteral("true"));
            QVERIFY(m_delegate->dockIconShown());
            dock->click();
            QVERIFY(autoHide->isEnabled());
            QCOMPARE(autoHide->isChecked(), usersChoice);
            QCOMPARE(main->isFloatingPanel(), usersChoice);
            if (usersChoice)
                autoHide->click();
        }
        dock->click();
        m_delegate->preferencesController()->close();
        QCOMPARE(setting("ShowDockIcon"), QStringLiteral("false"));
        QVERIFY(!m_delegate->dockIconShown());
    }

    void aClearedShortcutComesBackWhenTheWindowStopsBeingMain_data()
    {
        QTest::addColumn<bool>("onboarding");
        QTest::newRow("preferences") << false;
        QTest::newRow("onboarding") << true;
    }

    void aClearedShortcutComesBackWhenTheWindowStopsBeingMain()
    {
        QFETCH(bool, onboarding);
        QWidget* window = onboarding ? openOnboarding() : openPreferences();
        QVERIFY(QTest::qWaitForWindowActive(window));
        QAction* open = m_delegate->statusBarMenu()->openButton();
        QTRY_COMPARE(open->shortcut(), defaultShortcut);
        auto* recorder = window->findChild<HotKeys::RecorderField*>();
        QVERIFY(recorder);
        recorder->cancelButton()->trigger();
        QVERIFY(!HotKeys::shortcutForName(toggleAppName()));
        QTRY_VERIFY(open->shortcut().isEmpty());
        OtherWindow other;
        QVERIFY(other.takeFocus());
        QTRY_COMPARE(open->shortcut(), defaultShortcut);
        QCOMPARE(recorder->text(), defaultShortcut.toString(QKeySequence::NativeText));
    }

    void anAppearanceChoiceIsStoredAndAnnounced_data()
    {
        QTest::addColumn<bool>("onboarding");
        QTest::addColumn<QString>("item");
        QTest::addColumn<QString>("stored");
        for (const bool onboarding : {false, true}) {
            const char* window = onboarding ? "onboarding, " : "preferences, ";
            QTest::addRow("%sLight", window) << onboarding << "Light"
                                             << "light";
            QTest::addRow("%sDark", window) << onboarding << "Dark"
                                            << "dark";
            QTest::addRow("%sAutomatic", window) << onboarding << "Automatic"
                                                 << "system";
        }
    }

    void anAppearanceChoiceIsStoredAndAnnounced()
    {
        QFETCH(bool, onboarding);
        QFETCH(QString, item);
        QFETCH(QString, stored);
        defaults().setObject(QStringLiteral("Appearance"), QStringLiteral("sepia"));
        QWidget* window = onboarding ? openOnboarding() : openPreferences();
        WindowController* poster =
            onboarding ? static_cast<WindowController*>(m_delegate->onboardingController())
                       : m_delegate->preferencesController();
        QList<QObject*> objects;
        const auto token = NotificationCenter::defaultCenter().addObserver(
            NotificationName::appearanceChanged, {},
            [&objects](const Notification& n) { objects << n.object.value<QObject*>(); });
        auto* menu = control<QComboBox>(window, "setAppearanceMenu");
        QCOMPARE(menu->itemText(0), QStringLiteral("Automatic"));
        const int index = menu->findText(item);
        menu->setCurrentIndex(index);
        Q_EMIT menu->activated(index);
        NotificationCenter::defaultCenter().removeObserver(token);
        QCOMPARE(setting("Appearance"), stored);
        QCOMPARE(objects, QList<QObject*>{poster});
    }

    // Qt's offscreen platform has no tray host: the window says so, and says how to get back
    // once the task-bar presence is off too.
    void withoutATrayTheWindowSaysHowToGetBack()
    {
        QWidget* window = openPreferences();
        QVERIFY(control<QLabel>(window, "trayNote")->isVisible());
        auto* dockNote = control<QLabel>(window, "dockNote");
        QVERIFY(!dockNote->isVisible());
        control<QCheckBox>(window, "toggleDockCheckbox")->click();
        QVERIFY(dockNote->isVisible());
        QVERIFY(dockNote->text().contains(QStringLiteral("task bar")));
        // Whatever the choices, the window keeps its place in the task bar.
        m_delegate->preferencesController()->close();
        QVERIFY(!m_delegate->mainWindowController()->skipsTaskbar());
    }

    void theHintShowsWhereTheShortcutCannotBeHad_data()
    {
        using State = HotKeys::SystemBinding::State;
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<bool>("wayland");
        QTest::addColumn<bool>("shown");
        QTest::newRow("an X11 grab") << int(State::granted) << QString() << false << false;
        QTest::newRow("refused") << int(State::refused) << QString() << false << true;
        QTest::newRow("the desktop still deciding")
            << int(State::pending) << QString() << true << false;
        QTest::newRow("Wayland, the portal's trigger")
            << int(State::granted) << QStringLiteral("Meta+V") << true << false;
        QTest::newRow("Wayland, only an X11 grab")
            << int(State::granted) << QString() << true << true;
    }

    void theHintShowsWhereTheShortcutCannotBeHad()
    {
        QFETCH(int, state);
        QFETCH(QString, trigger);
        QFETCH(bool, wayland);
        QFETCH(bool, shown);
        if (wayland)
            qputenv("XDG_SESSION_TYPE", "wayland");
        for (QWidget* window : {openPreferences(), openOnboarding()}) {
            auto* hint = control<ToggleCommandHint>(window, "toggleCommandHint");
            m_windowSystem->answer = {HotKeys::SystemBinding::State(state), trigger};
            // As the backend announces the desktop's answer.
            Q_EMIT HotKeys::ShortcutNotifier::instance().systemBindingDidChange();
            QCOMPARE(hint->isVisible(), shown);
            if (!shown)
                continue;
            QGuiApplication::clipboard()->clear();
            hint->copyButton()->click();
            QCOMPARE(QGuiApplication::clipboard()->text(), ToggleCommandHint::toggleCommand());
            QCOMPARE(hint->commandField()->text(), ToggleCommandHint::toggleCommand());
        }
    }

    void theCommandToBind()
    {
        QTemporaryDir folder;
        const QString program = folder.filePath(QStringLiteral("Vorlane"));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), program));
        const QString installed = folder.filePath(QStringLiteral("vorlane"));
        QVERIFY(QFile::link(program, installed));
        const QString other = folder.filePath(QStringLiteral("other"));
        QVERIFY(QFile::copy(QCoreApplication::applicationFilePath(), other));
        QCOMPARE(ToggleCommandHint::toggleCommand(program, installed),
                 QStringLiteral("vorlane --toggle"));
        QCOMPARE(ToggleCommandHint::toggleCommand(program, QString()),
                 program + QStringLiteral(" --toggle"));
        QCOMPARE(ToggleCommandHint::toggleCommand(program, other),
                 program + QStringLiteral(" --toggle"));
        // A shell splits the desktop's command: anything but plain characters is quoted.
        QCOMPARE(ToggleCommandHint::toggleCommand(QStringLiteral("/opt/My Apps/it's/Vorlane"), {}),
                 QStringLiteral("'/opt/My Apps/it'\\''s/Vorlane' --toggle"));
    }

private:
    QWidget* openPreferences()
    {
        if (!m_delegate) {
            defaults().setObject(QStringLiteral("OnboardingCompleted"), true);
            m_delegate = startVorlane();
        }
        PreferencesController* preferences = m_delegate->preferencesController();
        preferences->showCentred();
        return preferences->window();
    }

    QWidget* openOnboarding()
    {
        if (!m_delegate)
            m_delegate = startVorlane();
        OnboardingController* onboarding = m_delegate->onboardingController();
        onboarding->showCentred();
        return onboarding->window();
    }

    WindowTestHome& m_home;
    std::unique_ptr<AppDelegate> m_delegate;
    AnsweringBackend* m_windowSystem = nullptr;
    QStringList m_log;
};

WINDOW_TEST_MAIN(PreferencesTest)
#include "PreferencesTest.moc"
