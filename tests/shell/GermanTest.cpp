// Vorlane on a German desktop (LANG=de_DE.UTF-8, LANGUAGE=de from the test's environment) with
// the catalogues the build compiled: the main window's and the preferences' texts, the dates,
// Qt's own key names, and the choices that must work whatever their titles say.
#include "AppDelegate.h"
#include "ButtonSegmentedCell.h"
#include "DateRules.h"
#include "FilesContextMenu.h"
#include "HotKeys/CarbonHotKeys.h"
#include "HotKeys/RecorderField.h"
#include "IconButton.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "PreferencesController.h"
#include "QuickLookMenuItem.h"
#include "ShellTestSupport.h"
#include "Translations.h"
#include "UserDefaults.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QTest>

namespace {
QStringList actionTexts(const QWidget& menu)
{
    QStringList texts;
    for (const QAction* action : menu.actions())
        if (!action->isSeparator())
            texts << action->text();
    return texts;
}
} // namespace

class GermanTest : public QObject
{
    Q_OBJECT

public:
    explicit GermanTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(Translations::install(QLocale::system(), QStringLiteral(VORLANE_TRANSLATIONS_DIR)));
        HotKeys::CarbonHotKeys::setBackend(std::make_unique<AnsweringBackend>());
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        UserDefaults::standard().setObject(QStringLiteral("OnboardingCompleted"), true);
        m_delegate = startVorlane();
        QVERIFY(refreshStoreAndWait());
    }

    void cleanupTestCase() { m_delegate.reset(); }

    void theMainWindowSpeaksGerman()
    {
        MainWindow* main = m_delegate->mainWindowController()->window();
        const auto* settings = main->findChild<IconButton*>();
        QVERIFY(settings);
        QCOMPARE(settings->toolTip(), QStringLiteral("Einstellungen"));
        QCOMPARE(main->findChild<QAction*>(QStringLiteral("quitAction"))->text(),
                 QStringLiteral("Vorlane beenden"));
        // Qt's own catalogue names the keys.
        QCOMPARE(ButtonSegmentedCell::toolTip(0), QStringLiteral("Listenansicht: Strg+1"));

        FilesContextMenu menu;
        QuickLookMenuItem::tagItem(&menu);
        QuickLookMenuItem::retitle(&menu, QStringLiteral("Bericht.txt"));
        QCOMPARE(actionTexts(menu),
                 (QStringList{QStringLiteral("Öffnen"), QStringLiteral("Im Dateimanager anzeigen"),
                              QStringLiteral("Vorschau von „Bericht.txt“"),
                              QStringLiteral("Aus dem Verlauf entfernen")}));

        const QDateTime now = QDateTime::currentDateTimeUtc();
        QCOMPARE(dateGroupName(now), QStringLiteral("Heute"));
        QCOMPARE(relativeDateText(now.addYears(-3)), QStringLiteral("vor 3 Jahren"));
    }

    void thePreferencesSpeakGerman()
    {
        PreferencesController* preferences = m_delegate->preferencesController();
        preferences->showCentred();
        QWidget* window = preferences->window();
        QCOMPARE(window->windowTitle(), QStringLiteral("Vorlane-Einstellungen"));
        QCOMPARE(control<QCheckBox>(window, "toggleLoginCheckbox")->text(),
                 QStringLiteral("Vorlane bei der &Anmeldung starten"));
        auto* menu = control<QComboBox>(window, "setAppearanceMenu");
        QCOMPARE((QStringList{menu->itemText(0), menu->itemText(1), menu->itemText(2)}),
                 (QStringList{QStringLiteral("Automatisch"), QStringLiteral("Hell"),
                              QStringLiteral("Dunkel")}));

        // The choice is stored by what it means, not by its title.
        for (const auto& [item, stored] : {std::pair{2, "dark"}, std::pair{1, "light"}}) {
            menu->setCurrentIndex(item);
            Q_EMIT menu->activated(item);
            QCOMPARE(WindowTestHome::setting(QStringLiteral("Appearance")),
                     QString::fromLatin1(stored));
        }

        // The longer German key names fit the field beside its clear button.
        const auto* recorder = window->findChild<HotKeys::RecorderField*>();
        QCOMPARE(recorder->text(), QStringLiteral("Strg+Umschalt+Leertaste"));
        const int room =
            recorder->width() -
            2 * (recorder->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, recorder) + 4);
        QVERIFY2(recorder->fontMetrics().horizontalAdvance(recorder->text()) <= room,
                 qPrintable(QStringLiteral("%1 px wide").arg(recorder->width())));
    }

private:
    WindowTestHome& m_home;
    std::unique_ptr<AppDelegate> m_delegate;
};

WINDOW_TEST_MAIN(GermanTest)
#include "GermanTest.moc"
