// The touch strips, touched as a finger does (QTest's touch screen): when the band shows, the
// applications strip selecting in the list and opening the files strip, documents opened with
// their application while the window stays, "Clear Files" through the store's rules, long names
// cut at the end, the strips after a rebuild, what closes the files strip, and scrolling by
// finger and wheel.
#include "TouchStrip.h"

#include "AppsListModel.h"
#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "Diagnostics.h"
#include "IconTextItemView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "PopoverScrubber.h"
#include "PopoverTouchBarItem.h"
#include "RecentlyUsedSource.h"
#include "RecordLocations.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "TelemetryClient.h"
#include "TouchBarIdentifiers.h"
#include "TouchBarScrubbers.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "VorlaneController.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QMutex>
#include <QPointingDevice>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>

namespace {
const QString showTouchStrip = QStringLiteral("ShowTouchStrip");
const QString longName =
    QStringLiteral("Minutes of the harbour committee meeting held in March and April.txt");
const QStringList appNames{"Alpha", "Beta", "Gamma", "Delta", "Epsilon",
                           "Zeta",  "Eta",  "Theta", "Iota",  "Kappa"};

// Made on first use: once made, the system has a touch screen for good.
QPointingDevice* touchScreen()
{
    static QPointingDevice* device =
        QTest::createTouchDevice(QInputDevice::DeviceType::TouchScreen);
    return device;
}

void tap(Scrubber* scrubber, int index)
{
    const QPoint centre = scrubber->itemRect(index).center();
    QTest::touchEvent(scrubber->viewport(), touchScreen()).press(0, centre);
    QTest::touchEvent(scrubber->viewport(), touchScreen()).release(0, centre);
}

// Remembers the applications started and their documents; launches come from a worker thread.
class DocumentLauncher : public ApplicationLauncher
{
public:
    bool launch(const QString& entryPath, const QList<QUrl>& documents, QString*) override
    {
        const QMutexLocker lock(&mutex);
        for (const QUrl& document : documents)
            launched.append(entryPath.section(u'/', -1) + u' ' + document.toLocalFile());
        return true;
    }
    QStringList takeLaunched()
    {
        const QMutexLocker lock(&mutex);
        return std::exchange(launched, {});
    }

private:
    QMutex mutex;
    QStringList launched;
};

int rowOf(const QString& appName)
{
    const QList<RecentApp>& apps = VorlaneController::shared().recentApps();
    for (qsizetype row = 0; row < apps.size(); ++row) {
        if (apps.at(row).appName() == appName)
            return static_cast<int>(row);
    }
    return -1;
}

QStringList itemTexts(Scrubber* scrubber)
{
    QStringList texts;
    for (int index = 0; index < scrubber->numberOfItems(); ++index) {
        auto* item = qobject_cast<IconTextItemView*>(scrubber->itemViewAtIndex(index));
        texts << (item ? item->text() : QString());
    }
    return texts;
}

QStringList fileNames(const RecentApp& app)
{
    QStringList names;
    for (const RecentFile& file : app.recentFiles())
        names << file.name();
    return names;
}
} // namespace

class TouchStripTest : public QObject
{
    Q_OBJECT

public:
    explicit TouchStripTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        m_home.clear();
        for (qsizetype i = 0; i < appNames.size(); ++i)
            m_home.addApplication(QStringLiteral("org.example.") + appNames.at(i), appNames.at(i),
                                  10 * static_cast<int>(i + 1));
        // The oldest: a short name and one too long for its item.
        TestHome& home = m_home.home();
        home.installApplication(QStringLiteral("org.example.Namer"), QStringLiteral("Namer"));
        const QDateTime old = QDateTime::currentDateTime().addDays(-3);
        home.writeRecord(QStringLiteral("org.example.Namer"),
                         {home.createDocument(QStringLiteral("Documents/Notes.txt"), old),
                          home.createDocument(QStringLiteral("Documents/") + longName, old)},
                         old);
        QVERIFY(refreshStoreAndWait());
        FileActions::install(std::make_unique<FileActions>());
        auto launcher = std::make_unique<DocumentLauncher>();
        m_launcher = launcher.get();
        m_previousLauncher = ApplicationLauncher::replaceShared(std::move(launcher));
        m_previousSink = Diagnostics::setSink([this](const QString& line) { m_lines << line; });
    }

    void cleanupTestCase()
    {
        m_controller.reset();
        Diagnostics::setSink(m_previousSink);
        FileActions::install(nullptr);
        ApplicationLauncher::replaceShared(std::move(m_previousLauncher));
    }

    void init()
    {
        UserDefaults::standard().setObject(showTouchStrip, true);
        UserDefaults::standard().setObject(QStringLiteral("AutoHideWindow"), false);
        touchBarSelectedApp.clear();
        m_lines.clear();
        m_launcher->takeLaunched();
        QVERIFY(showFocusedMainWindow(m_controller));
        QVERIFY(strip()->isVisible());
    }

    // First: the touch screen, once made, stays.
    void theBandShowsWhenChosenElseWithATouchScreen()
    {
        QWidget* content = m_controller->contentViewController()->visualEffectsView();
        const auto shows = [&](bool shown) {
            TouchStrip::choiceChanged();
            QTRY_COMPARE(content->height(), 440 - (shown ? TouchStrip::stripHeight : 0));
            QCOMPARE(strip()->isVisible(), shown);
        };
        UserDefaults::standard().removeObject(showTouchStrip);
        QVERIFY(!TouchStrip::hasTouchScreen());
        shows(false);
        UserDefaults::standard().setObject(showTouchStrip, true);
        shows(true);
        QCOMPARE(strip()->height(), TouchStrip::stripHeight);
        UserDefaults::standard().setObject(showTouchStrip, false);
        shows(false);
        touchScreen();
        QVERIFY(TouchStrip::hasTouchScreen());
        shows(false);
        UserDefaults::standard().removeObject(showTouchStrip);
        shows(true);
    }

    void touchingAnIconSelectsItsRowAndOpensItsFiles_data()
    {
        QTest::addColumn<QString>("appName");
        QTest::newRow("the third") << QStringLiteral("Gamma");
        QTest::newRow("the last, scrolled to on both sides") << QStringLiteral("Namer");
    }

    void touchingAnIconSelectsItsRowAndOpensItsFiles()
    {
        QFETCH(QString, appName);
        PopoverScrubber* apps = appScrubber();
        QCOMPARE(apps->numberOfItems(), appNames.size() + 1);
        // The strip starts out marking the list's selection.
        QCOMPARE(apps->selectedIndex(), 0);
        const int row = rowOf(appName);
        apps->horizontalScrollBar()->setValue(apps->itemRect(row).left());
        tap(apps, row);
        QCOMPARE(sharedAppsViewController->selectedRow(), row);
        QCOMPARE(selectedApp.constFirst().appName(), appName);
        AppsTableView* list = sharedAppsViewController->table();
        const QRect shown = list->visualRect(list->model()->index(row, 0));
        QVERIFY(shown.top() >= 0 && shown.bottom() < list->viewport()->height());
        QCOMPARE(touchBarSelectedApp.constFirst().appName(), appName);
        QVERIFY(strip()->shownPopover());
        QTRY_COMPARE(popoverFrame()->x(), 0);
        QCOMPARE(itemTexts(fileScrubber()), fileNames(selectedApp.constFirst()));
        // Nothing stays marked once the finger is gone.
        QCOMPARE(apps->selectedIndex(), -1);
        QVERIFY(apps->highlightedIndexes().isEmpty());
    }

    void touchingADocumentOpensItWithItsApplicationAndEverythingStays()
    {
        // Even where opening from the window would hide it.
        UserDefaults::standard().setObject(QStringLiteral("AutoHideWindow"), true);
        tap(appScrubber(), rowOf(QStringLiteral("Beta")));
        QTRY_COMPARE(popoverFrame()->x(), 0);
        const qsizetype eventsBefore = TelemetryClient::shared().trackedEvents().size();
        tap(fileScrubber(), 1);
        const QString document =
            touchBarSelectedApp.constFirst().recentFiles().at(1).filePath().toLocalFile();
        QStringList launched;
        QTRY_VERIFY(!(launched += m_launcher->takeLaunched()).isEmpty());
        QCOMPARE(launched, QStringList{QStringLiteral("org.example.Beta.desktop ") + document});
        QTRY_COMPARE(m_lines, QStringList{QStringLiteral("File opened successfully.")});
        QCOMPARE(TelemetryClient::shared().trackedEvents().mid(eventsBefore),
                 (QStringList{"fileOpenedWithTouchBar", "fileOpenedInApp"}));
        QVERIFY(m_controller->window()->isVisible());
        QVERIFY(strip()->shownPopover());
        QVERIFY(fileScrubber()->highlightedIndexes().isEmpty());
    }

    void clearFilesRemovesTheApplicationEverywhere_data()
    {
        QTest::addColumn<bool>("sharedRecord");
        QTest::newRow("its own record file") << false;
        QTest::newRow("its entries in the desktop's shared record") << true;
    }

    void clearFilesRemovesTheApplicationEverywhere()
    {
        QFETCH(bool, sharedRecord);
        const QString id = QStringLiteral("org.example.Cleared");
        const QString record = sharedRecord
                                   ? recentlyUsedFilePath()
                                   : m_home.addApplication(id, QStringLiteral("Cleared"), 1);
        if (sharedRecord)
            m_home.addSharedRecordApplication(id, QStringLiteral("Cleared"), 1);
        QVERIFY(refreshStoreAndWait());
        const int count = appScrubber()->numberOfItems();
        tap(appScrubber(), rowOf(QStringLiteral("Cleared")));
        QCOMPARE(fileScrubber()->numberOfItems(), sharedRecord ? 1 : 2);
        strip()->findChild<QPushButton*>(TouchBarIdentifier::clearButton)->click();
        QVERIFY(answerClearConfirmation(true));
        QVERIFY(!strip()->shownPopover());
        QTRY_VERIFY(popoverFrame()->isHidden());
        if (sharedRecord) {
            // Only that application's entries go: the shared file stays for everyone else.
            const auto mentionsIt = [&record] {
                QFile file(record);
                return file.open(QIODevice::ReadOnly) && file.readAll().contains("Cleared");
            };
            QTRY_VERIFY(!mentionsIt());
            QVERIFY(QFile::exists(record));
        } else {
            QTRY_VERIFY(!QFile::exists(record));
        }
        QVERIFY(refreshStoreAndWait());
        QCOMPARE(rowOf(QStringLiteral("Cleared")), -1);
        QCOMPARE(sharedAppsViewController->model()->rowCount(), count - 1);
        QCOMPARE(appScrubber()->numberOfItems(), count - 1);
        QVERIFY(touchBarSelectedApp.isEmpty());
        QCOMPARE(fileScrubber()->numberOfItems(), 0);
    }

    void withNoApplicationTouchedTheFilesStripIsEmptyAndClearFilesDoesNothing()
    {
        appScrubber()->presentingItem()->showPopover();
        QVERIFY(strip()->shownPopover());
        QCOMPARE(fileScrubber()->numberOfItems(), 0);
        const qsizetype apps = VorlaneController::shared().recentApps().size();
        const qsizetype eventsBefore = TelemetryClient::shared().trackedEvents().size();
        strip()->findChild<QPushButton*>(TouchBarIdentifier::clearButton)->click();
        QVERIFY(refreshStoreAndWait());
        QCOMPARE(VorlaneController::shared().recentApps().size(), apps);
        QCOMPARE(TelemetryClient::shared().trackedEvents().size(), eventsBefore);
        QVERIFY(strip()->shownPopover());
    }

    void aLongNameIsCutAtTheEndWithinItsItem()
    {
        PopoverScrubber* apps = appScrubber();
        const int row = rowOf(QStringLiteral("Namer"));
        apps->horizontalScrollBar()->setValue(apps->itemRect(row).left());
        tap(apps, row);
        QCOMPARE(itemTexts(fileScrubber()), (QStringList{"Notes.txt", longName}));
        for (int index = 0; index < 2; ++index) {
            auto* item = qobject_cast<IconTextItemView*>(fileScrubber()->itemViewAtIndex(index));
            QCOMPARE(item->width(), 150);
            const QLabel* field = item->textField();
            QTRY_VERIFY(field->width() > 0);
            QVERIFY(field->geometry().right() < item->width());
            QVERIFY(field->fontMetrics().horizontalAdvance(field->text()) <= field->width());
            QCOMPARE(item->accessibleName(), item->text());
            if (index == 0) {
                QCOMPARE(field->text(), QStringLiteral("Notes.txt"));
            } else {
                QVERIFY2(field->text().endsWith(u'…'), qPrintable(field->text()));
                QVERIFY(longName.startsWith(field->text().chopped(1)));
            }
        }
    }

    void theFilesStripFollowsARebuild()
    {
        tap(appScrubber(), rowOf(QStringLiteral("Delta")));
        QCOMPARE(fileScrubber()->numberOfItems(), 2);
        // Delta records a third document.
        m_home.addApplication(QStringLiteral("org.example.Delta"), QStringLiteral("Delta"), 40, 3);
        QVERIFY(refreshStoreAndWait());
        QCOMPARE(touchBarSelectedApp.constFirst().recentFiles().size(), 3);
        QCOMPARE(itemTexts(fileScrubber()), fileNames(touchBarSelectedApp.constFirst()));
        QVERIFY(strip()->shownPopover());
    }

    void theFilesStripCloses_data()
    {
        QTest::addColumn<bool>("byTheList");
        QTest::newRow("another application chosen in the list") << true;
        QTest::newRow("its close button") << false;
    }

    void theFilesStripCloses()
    {
        QFETCH(bool, byTheList);
        tap(appScrubber(), 2);
        QVERIFY(strip()->shownPopover());
        if (byTheList) {
            AppsTableView* list = sharedAppsViewController->table();
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                              list->visualRect(list->model()->index(0, 0)).center());
            QCOMPARE(sharedAppsViewController->selectedRow(), 0);
        } else {
            QTest::mouseClick(strip()->closeButton(), Qt::LeftButton);
        }
        QVERIFY(!strip()->shownPopover());
        QTRY_VERIFY(popoverFrame()->isHidden());
    }

    void aDragOrTheWheelScrollsAndSelectsNothing_data()
    {
        QTest::addColumn<bool>("wheel");
        QTest::newRow("a finger drawn across") << false;
        QTest::newRow("the mouse wheel turned") << true;
    }

    void aDragOrTheWheelScrollsAndSelectsNothing()
    {
        QFETCH(bool, wheel);
        PopoverScrubber* apps = appScrubber();
        QWidget* viewport = apps->viewport();
        QPoint at = apps->itemRect(3).center();
        if (wheel) {
            QWheelEvent turn(at, viewport->mapToGlobal(at), {}, {0, -240}, Qt::NoButton,
                             Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(viewport, &turn);
        } else {
            QTest::touchEvent(viewport, touchScreen()).press(0, at);
            for (int step = 0; step < 10; ++step) {
                at.rx() -= 30;
                QTest::touchEvent(viewport, touchScreen()).move(0, at);
            }
            QTest::touchEvent(viewport, touchScreen()).release(0, at);
        }
        QTRY_VERIFY(apps->horizontalScrollBar()->value() > 0);
        QCOMPARE(sharedAppsViewController->selectedRow(), 0);
        QVERIFY(touchBarSelectedApp.isEmpty());
        QVERIFY(!strip()->shownPopover());
        QVERIFY(apps->highlightedIndexes().isEmpty());
    }

private:
    TouchStrip* strip() const { return m_controller->window()->findChild<TouchStrip*>(); }
    QWidget* popoverFrame() const
    {
        return strip()->findChild<QWidget*>(QStringLiteral("TouchStripPopover"));
    }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
    DocumentLauncher* m_launcher = nullptr;
    std::unique_ptr<ApplicationLauncher> m_previousLauncher;
    Diagnostics::Sink m_previousSink;
    QStringList m_lines;
};

WINDOW_TEST_MAIN(TouchStripTest)
#include "TouchStripTest.moc"
