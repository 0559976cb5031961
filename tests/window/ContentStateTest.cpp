// The window's two states: the lists with their toolbar, or the empty state, switched as the
// store changes; bursts of "background update" answered by one refresh.
#include "AppsListModel.h"
#include "AppsTableViewController.h"
#include "ButtonSegmentedControl.h"
#include "ButtonsViewController.h"
#include "EmptyStateViewController.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "NotificationCenter.h"
#include "SharedReferences.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "VorlaneController.h"
#include "WindowTestSupport.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QThread>

namespace {
class NoPrivacySettings : public PrivacySettings
{
public:
    bool isAvailable() const override { return false; }
    bool open() override { return false; }
};
} // namespace

class ContentStateTest : public QObject
{
    Q_OBJECT

public:
    explicit ContentStateTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void init()
    {
        m_home.clear();
        QVERIFY(refreshStoreAndWait());
        m_controller.reset();
        m_controller = std::make_unique<MainWindowController>();
        sharedMainWindowController = m_controller.get();
        m_controller->window()->resize(780, 440);
        m_controller->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_controller->window()));
    }

    void anEmptyStoreShowsOnlyTheEmptyState()
    {
        QVERIFY(VorlaneController::shared().isEmpty());
        QVERIFY(content()->emptyStateViewController()->isVisible());
        QVERIFY(!content()->leftPanel()->isVisible());
        QVERIFY(!sharedButtonsViewController);
    }

    void theEmptyStateIsSavedInBothLooks()
    {
        QDir().mkpath(QStringLiteral(VORLANE_TEST_ARTIFACTS));
        for (const QString& look : {QStringLiteral("light"), QStringLiteral("dark")}) {
            UserDefaults::standard().setObject(QStringLiteral("Appearance"), look);
            NotificationCenter::defaultCenter().post(NotificationName::appearanceChanged);
            QVERIFY(m_controller->window()->grab().save(QStringLiteral(VORLANE_TEST_ARTIFACTS) +
                                                        QStringLiteral("/window-empty-state-") +
                                                        look + QStringLiteral(".png")));
        }
        UserDefaults::standard().removeObject(QStringLiteral("Appearance"));
        NotificationCenter::defaultCenter().post(NotificationName::appearanceChanged);
    }

    void theEmptyStateSitsOffTheCentreOfItsPane()
    {
        EmptyStateViewController* empty = content()->emptyStateViewController();
        for (const QSize size : {QSize(780, 440), QSize(1000, 700)}) {
            m_controller->window()->resize(size);
            QTRY_COMPARE(empty->size(), QSize(460, 280));
            const QPoint paneCentre = content()->rightPanel()->rect().center();
            QTRY_COMPARE(empty->geometry().center(), paneCentre + QPoint(15, -20));
        }
    }

    void theEmptyStateButtonOpensThePrivacySettings()
    {
        const int before = m_home.privacySettings().opened;
        content()->emptyStateViewController()->launchSystemPreferencesButton()->click();
        QCOMPARE(m_home.privacySettings().opened, before + 1);
    }

    void applicationsAppearWithoutARestart()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        NotificationCenter::defaultCenter().post(NotificationName::backgroundUpdate);
        QTRY_VERIFY_WITH_TIMEOUT(!VorlaneController::shared().isEmpty(), 30000);
        QTRY_VERIFY(content()->leftPanel()->isVisible());
        QVERIFY(!content()->emptyStateViewController()->isVisible());
        QVERIFY(sharedButtonsViewController);
        QCOMPARE(content()->appsViewController()->model()->rowCount(), 1);
        // And back when the last record goes: then it says none are left, and blames no
        // switched-off history.
        EmptyStateViewController* empty = content()->emptyStateViewController();
        QVERIFY(empty->body()->text().contains(u"switched off"));
        m_home.removeApplication(QStringLiteral("org.example.Alpha"));
        NotificationCenter::defaultCenter().post(NotificationName::backgroundUpdate);
        QTRY_VERIFY_WITH_TIMEOUT(VorlaneController::shared().isEmpty(), 30000);
        QTRY_VERIFY(empty->isVisible());
        QVERIFY(!content()->leftPanel()->isVisible());
        QVERIFY(!sharedButtonsViewController);
        QCOMPARE(empty->headline()->text(), QStringLiteral("No recent documents left"));
        QVERIFY(!empty->body()->text().contains(u"switched off"));
        QVERIFY(!empty->launchSystemPreferencesButton()->isVisible());
    }

    // Where the desktop has no privacy settings to open, there is no button that could only
    // stay greyed out; the text says where history is switched on.
    void withoutPrivacySettingsThereIsNoButton()
    {
        QVERIFY(
            content()->emptyStateViewController()->launchSystemPreferencesButton()->isVisible());
        auto recording = PrivacySettings::replaceShared(std::make_unique<NoPrivacySettings>());
        m_controller = std::make_unique<MainWindowController>();
        sharedMainWindowController = m_controller.get();
        m_controller->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_controller->window()));
        EmptyStateViewController* empty = content()->emptyStateViewController();
        QVERIFY(empty->isVisible());
        QVERIFY(!empty->launchSystemPreferencesButton()->isVisible());
        QVERIFY(empty->body()->text().contains(u"privacy settings"));
        PrivacySettings::replaceShared(std::move(recording));
    }

    // Deleting a document or putting it back changes no record: the window looks when summoned.
    void summoningShowsTheDocumentsThatExistNow()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        m_home.addApplication(QStringLiteral("org.example.Beta"), QStringLiteral("Beta"), 10, 1);
        QVERIFY(refreshStoreAndWait());
        QVERIFY(showFocusedMainWindow(m_controller));
        const auto documentsOf = [](const QString& appName) {
            QStringList names;
            for (const RecentApp& app : VorlaneController::shared().recentApps())
                if (app.appName() == appName)
                    for (const RecentFile& file : app.recentFiles())
                        names << file.name();
            return names.join(u',');
        };
        QCOMPARE(documentsOf(QStringLiteral("Alpha")),
                 QStringLiteral("Document 1.txt,Document 2.txt"));
        const QString documents = m_home.home().path() + QStringLiteral("/Documents/");
        const QString alphaFirst = documents + QStringLiteral("Alpha/Document 1.txt");
        const QString betaOnly = documents + QStringLiteral("Beta/Document 1.txt");

        MainWindowHelper::hideMainWindow();
        QVERIFY(QFile::rename(alphaFirst, alphaFirst + QStringLiteral(".away")));
        QVERIFY(QFile::rename(betaOnly, betaOnly + QStringLiteral(".away")));
        MainWindowHelper::showMainWindow();
        QTRY_COMPARE_WITH_TIMEOUT(documentsOf(QStringLiteral("Alpha")),
                                  QStringLiteral("Document 2.txt"), 30000);
        QTRY_COMPARE(content()->appsViewController()->model()->rowCount(), 1);
        QCOMPARE(documentsOf(QStringLiteral("Beta")), QString());

        // Beta's one document is put back while the window is away: Beta comes back.
        MainWindowHelper::hideMainWindow();
        QVERIFY(QFile::rename(betaOnly + QStringLiteral(".away"), betaOnly));
        MainWindowHelper::showMainWindow();
        QTRY_COMPARE_WITH_TIMEOUT(content()->appsViewController()->model()->rowCount(), 2, 30000);
        QCOMPARE(documentsOf(QStringLiteral("Beta")), QStringLiteral("Document 1.txt"));
        QCOMPARE(VorlaneController::shared().vanishedDocuments(), QStringList{alphaFirst});
    }

    void aBurstOfUpdatesIsOneRefresh()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        QVERIFY(refreshStoreAndWait());
        QSignalSpy resets(content()->appsViewController()->model(),
                          &QAbstractItemModel::modelReset);
        // Posted from another thread, as the file monitor does.
        QThread* monitor = QThread::create([] {
            for (int i = 0; i < 20; ++i)
                NotificationCenter::defaultCenter().post(NotificationName::backgroundUpdate);
        });
        monitor->start();
        QVERIFY(monitor->wait(10000));
        delete monitor;
        QTRY_VERIFY_WITH_TIMEOUT(resets.count() >= 1, 30000);
        QTRY_VERIFY(!content()->isRefreshScheduled() &&
                    !VorlaneController::shared().isRefreshing());
        QTest::qWait(50);
        QVERIFY2(resets.count() <= 2, qPrintable(QString::number(resets.count())));
    }

    void theToolbarSitsInTheBottomRightCorner()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        QVERIFY(refreshStoreAndWait());
        QVERIFY(sharedButtonsViewController);
        for (const QSize size : {QSize(780, 440), QSize(990, 610)}) {
            m_controller->window()->resize(size);
            QWidget* toolbar = sharedButtonsViewController;
            QTRY_COMPARE(toolbar->size(), QSize(90, 32));
            const QWidget* anchor = content()->visualEffectsView();
            const QPoint corner = toolbar->mapTo(anchor, QPoint(90, 32));
            QTRY_COMPARE(corner, QPoint(anchor->width(), anchor->height()));
        }
    }

    void theSwitchFollowsTheStoredViewType()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        UserDefaults::standard().removeObject(QStringLiteral("FilesViewType"));
        QVERIFY(refreshStoreAndWait());
        ButtonsViewController grid;
        QCOMPARE(grid.toggleViewTypeSC()->selectedSegment(), 1);
        UserDefaults::standard().setObject(QStringLiteral("FilesViewType"), QStringLiteral("list"));
        ButtonsViewController list;
        QCOMPARE(list.toggleViewTypeSC()->selectedSegment(), 0);
    }

    void theSwitchChangesTheViewType()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        QVERIFY(refreshStoreAndWait());
        ButtonSegmentedControl* toggle = sharedButtonsViewController->toggleViewTypeSC();
        toggle->setSelectedSegment(1);
        QTest::mouseClick(toggle, Qt::LeftButton, {}, toggle->segmentFrame(0).center());
        QCOMPARE(toggle->selectedSegment(), 0);
        QCOMPARE(WindowTestHome::setting(QStringLiteral("FilesViewType")), QStringLiteral("list"));
        QTest::mouseClick(toggle, Qt::LeftButton, {}, toggle->segmentFrame(1).center());
        QCOMPARE(WindowTestHome::setting(QStringLiteral("FilesViewType")), QStringLiteral("grid"));
    }

private:
    ViewController* content() const { return m_controller->contentViewController(); }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
};

WINDOW_TEST_MAIN(ContentStateTest)
#include "ContentStateTest.moc"
