// The applications list: its rows, their names, the selection across refreshes and its repair
// when the list shrinks, the context menu and its actions (on the application it was opened for,
// whatever a refresh does meanwhile; clearing off the window's thread), double click and Escape.
#include "AppsContextMenu.h"
#include "AppsListModel.h"
#include "AppsTableCell.h"
#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "ClearConfirmation.h"
#include "FilesViewController.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "RecentlyUsedSource.h"
#include "RecordLocations.h"
#include "SelectedAppTitle.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "ViewController.h"
#include "VorlaneController.h"
#include "WindowTestSupport.h"

#include <QAccessible>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QTest>
#include <QTimer>

class AppsListTest : public QObject
{
    Q_OBJECT

public:
    explicit AppsListTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void init()
    {
        m_home.clear();
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        m_home.addApplication(QStringLiteral("org.example.Beta"), QStringLiteral("Beta & Co"), 50);
        m_home.addApplication(QStringLiteral("org.example.Gamma"), QStringLiteral("Gamma"), 500);
        QVERIFY(refreshStoreAndWait());
        m_controller.reset();
        m_controller = std::make_unique<MainWindowController>();
        sharedMainWindowController = m_controller.get();
        m_controller->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_controller->window()));
        m_home.launcher().launched.clear();
    }

    void rowsFollowTheStoreWithNamesForEveryone()
    {
        AppsListModel* model = apps()->model();
        QCOMPARE(model->rowCount(), 3);
        const QStringList expected{QStringLiteral("Alpha"), QStringLiteral("Beta & Co"),
                                   QStringLiteral("Gamma")};
        for (int row = 0; row < 3; ++row) {
            const QModelIndex index = model->index(row, 0);
            QCOMPARE(index.data(Qt::AccessibleTextRole).toString(), expected.at(row));
            QCOMPARE(index.data(Qt::ToolTipRole).toString(), expected.at(row));
            QCOMPARE(table()->visualRect(index).height(), AppsTableCell::rowHeight);
        }
    }

    void theFirstApplicationStartsSelected()
    {
        QCOMPARE(apps()->selectedRow(), 0);
        QCOMPARE(selectedAppIndex, 0);
        QCOMPARE(selectedApp.constFirst().appName(), QStringLiteral("Alpha"));
    }

    void clickingSelectsAndCtrlClickNeverDeselects()
    {
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, rowCentre(1));
        QCOMPARE(apps()->selectedRow(), 1);
        QCOMPARE(selectedApp.constFirst().appName(), QStringLiteral("Beta & Co"));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, Qt::ControlModifier, rowCentre(1));
        QCOMPARE(apps()->selectedRow(), 1);
    }

    void theSelectionFollowsItsApplicationWhenTheOrderChanges()
    {
        apps()->selectRow(2);
        QCOMPARE(selectedApp.constFirst().appName(), QStringLiteral("Gamma"));
        // Gamma records a document: it moves to the top, and stays the one selected.
        m_home.addApplication(QStringLiteral("org.example.Gamma"), QStringLiteral("Gamma"), 1);
        QVERIFY(refreshStoreAndWait());
        QCOMPARE(apps()->model()->index(0, 0).data(Qt::AccessibleTextRole).toString(),
                 QStringLiteral("Gamma"));
        QCOMPARE(apps()->selectedRow(), 0);
        QCOMPARE(selectedApp.constFirst().appName(), QStringLiteral("Gamma"));
    }

    // The icons alone look alike where the desktop's theme lacks them: the selected
    // application's name stands above its documents, following the selection and the store.
    void theSelectedApplicationIsNamedAboveItsDocuments()
    {
        ViewController* content = m_controller->contentViewController();
        const SelectedAppTitle* title = content->selectedAppTitle();
        QVERIFY(title->isVisible());
        QCOMPARE(title->text(), QStringLiteral("Alpha"));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, rowCentre(1));
        QCOMPARE(title->text(), QStringLiteral("Beta & Co"));
        QCOMPARE(title->accessibleName(), QStringLiteral("Beta & Co"));
        const QWidget* files = content->filesViewController();
        QVERIFY(title->geometry().bottom() < files->geometry().top());
        QCOMPARE(title->parentWidget(), files->parentWidget());
        // Gamma moves to the top and is chosen there.
        m_home.addApplication(QStringLiteral("org.example.Gamma"), QStringLiteral("Gamma"), 1);
        QVERIFY(refreshStoreAndWait());
        apps()->selectRow(0);
        QCOMPARE(title->text(), QStringLiteral("Gamma"));
        // A name longer than the pane is cut, whole in the tool tip.
        m_home.addApplication(QStringLiteral("org.example.Long"),
                              QStringLiteral("An Application With A Name Far Too Long For Any "
                                             "Pane Of This Window To Show Whole"),
                              0);
        QVERIFY(refreshStoreAndWait());
        apps()->selectRow(rowNamed(QStringLiteral("An Application With A Name Far Too Long For "
                                                  "Any Pane Of This Window To Show Whole")));
        m_controller->window()->resize(480, 440);
        QTRY_VERIFY(title->text().endsWith(u'\u2026'));
        QCOMPARE(title->toolTip(), title->appName());
    }

    void aShrunkListFallsBackToTheFirstApplication()
    {
        apps()->selectRow(2);
        m_home.removeApplication(QStringLiteral("org.example.Gamma"));
        QVERIFY(refreshStoreAndWait());
        QCOMPARE(apps()->model()->rowCount(), 2);
        QCOMPARE(apps()->selectedRow(), 0);
        QCOMPARE(selectedAppIndex, 0);
        QCOMPARE(selectedApp.constFirst().appName(), QStringLiteral("Alpha"));
    }

    void theContextMenuOpensOnARowWithItsName()
    {
        AppsContextMenu* menu = table()->menuForEvent(rowCentre(1));
        QVERIFY(menu);
        QCOMPARE(apps()->selectedRow(), 1);
        table()->willOpenMenu();
        const QString beta =
            apps()->model()->index(1, 0).data(AppsListModel::IdentityRole).toString();
        QCOMPARE(contextMenuAppName, beta);
        // The ampersand is doubled so that it shows as itself.
        QCOMPARE(menu->openItem()->text(), QStringLiteral("Open Beta && Co"));
        table()->didCloseMenu();
        QCOMPARE(contextMenuAppName, beta);
    }

    void clearActsOnTheApplicationTheMenuOpenedFor_data()
    {
        QTest::addColumn<bool>("betaGoesWhileOpen");
        QTest::addColumn<QStringList>("expectedRecords");
        // Gamma records a document while the menu is open and moves to the top: Beta's row
        // number now names Alpha.
        QTest::newRow("reordered") << false
                                   << QStringList{QStringLiteral("org.example.Alpha"),
                                                  QStringLiteral("org.example.Gamma")};
        QTest::newRow("gone") << true
                              << QStringList{QStringLiteral("org.example.Alpha"),
                                             QStringLiteral("org.example.Gamma")};
    }

    void clearActsOnTheApplicationTheMenuOpenedFor()
    {
        QFETCH(bool, betaGoesWhileOpen);
        QFETCH(QStringList, expectedRecords);
        bool refreshed = false;
        int alphaRow = -1;
        QTimer::singleShot(0, this, [&] {
            auto* menu = qobject_cast<AppsContextMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            if (betaGoesWhileOpen)
                m_home.removeApplication(QStringLiteral("org.example.Beta"));
            m_home.addApplication(QStringLiteral("org.example.Gamma"), QStringLiteral("Gamma"), 1);
            refreshed = refreshStoreAndWait();
            alphaRow = rowNamed(QStringLiteral("Alpha"));
            menu->clearItem()->trigger();
            menu->close();
        });
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, rowCentre(1),
                                     table()->viewport()->mapToGlobal(rowCentre(1)));
        QApplication::sendEvent(table()->viewport(), &rightClick);
        QVERIFY(refreshed);
        QCOMPARE(alphaRow, 1);
        // Nothing is asked about an application no longer listed.
        if (betaGoesWhileOpen)
            QVERIFY(!shownClearConfirmation(0));
        else
            QVERIFY(answerClearConfirmation(true));
        QTRY_COMPARE(recordFiles(), expectedRecords);
        QVERIFY(refreshStoreAndWait());
        QCOMPARE(apps()->model()->rowCount(), 2);
    }

    void clearingTheSharedRecordWaitsForItsLockWhileTheWindowRuns()
    {
        const QString delta = m_home.addSharedRecordApplication(QStringLiteral("org.example.Delta"),
                                                                QStringLiteral("Delta"), 1);
        QVERIFY(refreshStoreAndWait());
        QCOMPARE(apps()->model()->rowOf(delta), 0);
        // Another writer holds the shared file's lock.
        QLockFile lock(recentlyUsedFilePath() + QStringLiteral(".lock"));
        QVERIFY(lock.tryLock(0));
        table()->menuForEvent(rowCentre(0));
        table()->willOpenMenu();
        table()->contextMenu()->clearItem()->trigger();
        table()->didCloseMenu();
        QVERIFY(answerClearConfirmation(true));
        // The window goes on while the clear waits for the lock; the writer lets go from the
        // window's own event loop.
        int turns = 0;
        bool waitedForTheLock = false;
        QTimer ticker;
        connect(&ticker, &QTimer::timeout, this, [&] {
            if (++turns == 5) {
                waitedForTheLock = sharedRecord().contains(QStringLiteral("name=\"Delta\""));
                lock.unlock();
            }
        });
        ticker.start(20);
        QTRY_VERIFY_WITH_TIMEOUT(apps()->model()->rowOf(delta) < 0, 30000);
        QVERIFY(waitedForTheLock);
        QVERIFY(!sharedRecord().contains(QStringLiteral("name=\"Delta\"")));
        QCOMPARE(apps()->model()->rowCount(), 3);
    }

    void noRowNoMenuAndTheSelectionStays()
    {
        apps()->selectRow(2);
        const QPoint belowLastRow(table()->viewport()->width() / 2,
                                  AppsTableCell::rowHeight * 3 + 10);
        QVERIFY(belowLastRow.y() < table()->viewport()->height());
        QVERIFY(!table()->menuForEvent(belowLastRow));
        QCOMPARE(apps()->selectedRow(), 2);
    }

    void metaClickOpensTheMenuAndOpenLaunchesTheApplication()
    {
        QTimer::singleShot(0, this, [] {
            auto* menu = qobject_cast<AppsContextMenu*>(QApplication::activePopupWidget());
            QVERIFY(menu);
            QCOMPARE(menu->openItem()->text(), QStringLiteral("Open Gamma"));
            menu->openItem()->trigger();
            menu->close();
        });
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, Qt::MetaModifier, rowCentre(2));
        QCOMPARE(apps()->selectedRow(), 2);
        QCOMPARE(m_home.launcher().launched,
                 QStringList{m_home.home().dataHome() +
                             QStringLiteral("/applications/org.example.Gamma.desktop")});
    }

    void clearingRemovesTheRecordAndTheListFollows()
    {
        const QString record =
            m_home.home().recordFolder() + QStringLiteral("/org.example.Beta.sfl3");
        QVERIFY(QFile::exists(record));
        const auto clearBeta = [this] {
            table()->menuForEvent(rowCentre(1));
            table()->willOpenMenu();
            table()->contextMenu()->clearItem()->trigger();
            table()->didCloseMenu();
        };
        // Asked first, by name; declining keeps everything.
        clearBeta();
        ClearConfirmation* question = shownClearConfirmation();
        QVERIFY(question);
        QCOMPARE(question->text(), QStringLiteral("Clear the recent documents of Beta & Co?"));
        QVERIFY(answerClearConfirmation(false));
        QVERIFY(refreshStoreAndWait());
        QVERIFY(QFile::exists(record));
        QCOMPARE(apps()->model()->rowCount(), 3);

        clearBeta();
        QVERIFY(answerClearConfirmation(true));
        QTRY_VERIFY(!QFile::exists(record));
        // The file monitor (or the deletion) leads to the refresh that shrinks the list.
        QVERIFY(refreshStoreAndWait());
        QCOMPARE(apps()->model()->rowCount(), 2);
        QCOMPARE(apps()->model()->rowOf(QStringLiteral("org.example.Beta")), -1);
    }

    void doubleClickLaunchesAndSingleClickDoesNot()
    {
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, rowCentre(1));
        QVERIFY(m_home.launcher().launched.isEmpty());
        QTest::mouseDClick(table()->viewport(), Qt::LeftButton, {}, rowCentre(1));
        QCOMPARE(m_home.launcher().launched,
                 QStringList{m_home.home().dataHome() +
                             QStringLiteral("/applications/org.example.Beta.desktop")});
    }

    void escapeInTheListHidesTheWindow()
    {
        table()->setFocus();
        QTest::keyClick(table(), Qt::Key_Escape);
        QVERIFY(!m_controller->window()->isShown());
    }

    void accessibleRowsCarryTheApplicationNames()
    {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(table());
        QVERIFY(list);
        QStringList names;
        for (int i = 0; i < list->childCount(); ++i)
            names << list->child(i)->text(QAccessible::Name);
        QVERIFY2(names.contains(QStringLiteral("Beta & Co")), qPrintable(names.join(u',')));
    }

private:
    AppsTableViewController* apps() const
    {
        return m_controller->contentViewController()->appsViewController();
    }
    AppsTableView* table() const { return apps()->table(); }
    int rowNamed(const QString& appName) const
    {
        const AppsListModel* model = apps()->model();
        for (int row = 0; row < model->rowCount(); ++row) {
            if (model->index(row, 0).data(Qt::AccessibleTextRole).toString() == appName)
                return row;
        }
        return -1;
    }
    // The applications whose record files are there.
    QStringList recordFiles() const
    {
        QStringList ids;
        for (const QFileInfo& record :
             QDir(m_home.home().recordFolder()).entryInfoList({QStringLiteral("*.sfl3")}))
            ids << record.completeBaseName();
        ids.sort();
        return ids;
    }
    static QString sharedRecord()
    {
        QFile file(recentlyUsedFilePath());
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }
    QPoint rowCentre(int row) const
    {
        return table()->visualRect(apps()->model()->index(row, 0)).center();
    }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
};

WINDOW_TEST_MAIN(AppsListTest)
#include "AppsListTest.moc"
