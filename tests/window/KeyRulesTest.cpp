// The window's keys: Tab, arrows, Return and Escape between the applications list and the files
// side (list or grid), and Command (Ctrl) tracking, also across the focus going elsewhere.
#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "ButtonSegmentedControl.h"
#include "ButtonsViewController.h"
#include "FileActions.h"
#include "FilesGridViewController.h"
#include "FilesViewController.h"
#include "GridCollectionView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "NotificationCenter.h"
#include "RecentFilesModel.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "WindowTestSupport.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QListView>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QTest>

namespace {
// What the files list will do with keys it does not use itself: pass them to the window.
class StandInFilesView : public QListView
{
public:
    StandInFilesView()
    {
        auto* model = new QStandardItemModel(this);
        for (const char* text : {"TODAY", "Report.pdf", "Notes.txt", "Photo.png"})
            model->appendRow(new QStandardItem(QString::fromLatin1(text)));
        setModel(model);
        setSelectionMode(QAbstractItemView::SingleSelection);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override
    {
        if (event->key() == Qt::Key_Left || event->key() == Qt::Key_Right ||
            event->key() == Qt::Key_Return || event->key() == Qt::Key_Escape)
            event->ignore();
        else
            QListView::keyPressEvent(event);
    }
};

int selectedRowOf(const QAbstractItemView* view)
{
    const QModelIndexList rows = view->selectionModel()->selectedIndexes();
    return rows.isEmpty() ? -1 : rows.constFirst().row();
}
} // namespace

class KeyRulesTest : public QObject
{
    Q_OBJECT

public:
    explicit KeyRulesTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        m_home.addApplication(QStringLiteral("org.example.Beta"), QStringLiteral("Beta"), 50);
        QVERIFY(refreshStoreAndWait());
        auto actions = std::make_unique<RecordingFileActions>();
        m_actions = actions.get();
        FileActions::install(std::move(actions));
    }

    void cleanupTestCase() { FileActions::install(nullptr); }

    void init()
    {
        m_actions->forget();
        commandKeyHeld = false;
        selectedFileIndex = -1;
        // A new window for every test: a hidden one does not always come back active offscreen.
        m_controller.reset();
        m_controller = std::make_unique<MainWindowController>();
        sharedMainWindowController = m_controller.get();
        MainWindow* window = m_controller->window();
        window->show();
        window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(window));
        appsTable()->setFocus();
    }

    void tabFromApplicationsSelectsTheFirstFileNotItsHeading()
    {
        QListView* list = installList();
        pressKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(selectedRowOf(list), 1);
    }

    void tabFromFilesGoesBackAndDeselects()
    {
        QListView* list = installList();
        list->setFocus();
        list->setCurrentIndex(list->model()->index(2, 0));
        pressKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), appsTable());
        QCOMPARE(selectedRowOf(list), -1);
    }

    void leftForgetsTheFileAndRightSelectsRowOneAgain()
    {
        QListView* list = installList();
        list->setFocus();
        list->setCurrentIndex(list->model()->index(3, 0));
        selectedFileIndex = 3;
        pressKey(Qt::Key_Left);
        QCOMPARE(QApplication::focusWidget(), appsTable());
        QCOMPARE(selectedRowOf(list), -1);
        QCOMPARE(selectedFileIndex, -1);
        pressKey(Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), list);
        QCOMPARE(selectedRowOf(list), 1);
    }

    void returnOpensTheFileUnderTheHeading()
    {
        QListView* list = installList();
        pressKey(Qt::Key_Right);
        pressKey(Qt::Key_Return);
        QCOMPARE(m_actions->opened.size(), 1);
        const RecordingFileActions::Opened& opened = m_actions->opened.constFirst();
        QCOMPARE(opened.appName, selectedApp.constFirst().appName());
        QCOMPARE(opened.index, 1);
        QCOMPARE(opened.viewType, QStringLiteral("list"));
        QCOMPARE(opened.reveal, false);
        Q_UNUSED(list);
    }

    void returnWithCommandHeldReveals()
    {
        installList();
        pressKey(Qt::Key_Right);
        QTest::keyPress(m_controller->window()->windowHandle(), Qt::Key_Control);
        QVERIFY(commandKeyHeld);
        QTest::keyClick(m_controller->window()->windowHandle(), Qt::Key_Return,
                        Qt::ControlModifier);
        QTest::keyRelease(m_controller->window()->windowHandle(), Qt::Key_Control,
                          Qt::ControlModifier);
        QCOMPARE(m_actions->opened.size(), 1);
        QVERIFY(m_actions->opened.constFirst().reveal);
        QVERIFY(!commandKeyHeld);
    }

    void escapeFromTheFilesHidesTheWindow()
    {
        QListView* list = installList();
        list->setFocus();
        pressKey(Qt::Key_Escape);
        QVERIFY(!m_controller->window()->isShown());
    }

    void escapeFromTheApplicationsHidesTheWindow()
    {
        pressKey(Qt::Key_Escape);
        QVERIFY(!m_controller->window()->isShown());
    }

    // The window is a place every user has, tray or not: Ctrl+Q quits from the applications,
    // the list and the grid.
    void ctrlQQuitsFromEverySide()
    {
        auto* quit = m_controller->window()->findChild<QAction*>(QStringLiteral("quitAction"));
        QVERIFY(quit);
        QSignalSpy quits(quit, &QAction::triggered);
        QList<QWidget*> sides{appsTable()};
        m_controller->contentViewController()->selectViewType(0);
        sides << files()->listView();
        m_controller->contentViewController()->selectViewType(1);
        sides << files()->gridView();
        for (QWidget* side : std::as_const(sides)) {
            side->setFocus();
            QTest::keyClick(side, Qt::Key_Q, Qt::ControlModifier);
        }
        QCOMPARE(quits.count(), 3);
    }

    void gridTabSelectsTheRememberedItemElseTheFirst()
    {
        auto* grid = new StandInFilesView;
        files()->setGridView(grid, 2);
        pressKey(Qt::Key_Tab);

        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(selectedRowOf(grid), 2);
        appsTable()->setFocus();
        grid = new StandInFilesView;
        files()->setGridView(grid);
        pressKey(Qt::Key_Tab);
        QCOMPARE(selectedRowOf(grid), 0);
    }

    void gridRightSelectsTheFirstItemAndLeftDoesNothing()
    {
        auto* grid = new StandInFilesView;
        files()->setGridView(grid);
        pressKey(Qt::Key_Right);
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(selectedRowOf(grid), 0);
        appsTable()->setFocus();
        pressKey(Qt::Key_Left);
        QCOMPARE(QApplication::focusWidget(), appsTable());
        files()->setGridView(nullptr);
    }

    void withoutFilesTheKeysGoOn()
    {
        files()->setGridView(nullptr);
        QKeyEvent tab(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
        QVERIFY(!m_controller->contentViewController()->keyDown(&tab));
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QVERIFY(!m_controller->contentViewController()->keyDown(&right));
    }

    void commandKeyIsTrackedAndAnnounced()
    {
        int posts = 0;
        const auto token = NotificationCenter::defaultCenter().addObserver(
            NotificationName::toggleModifierKey, {}, [&posts](const Notification&) { ++posts; });
        QWindow* window = m_controller->window()->windowHandle();
        QTest::keyPress(window, Qt::Key_Shift);
        QTest::keyRelease(window, Qt::Key_Shift, Qt::ShiftModifier);
        QCOMPARE(posts, 0);
        QTest::keyPress(window, Qt::Key_Control);
        QVERIFY(commandKeyHeld);
        QCOMPARE(posts, 1);
        QTest::keyRelease(window, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(!commandKeyHeld);
        QCOMPARE(posts, 2);
        NotificationCenter::defaultCenter().removeObserver(token);
    }

    void ctrlOneAndTwoSwitchTheViewType()
    {
        UserDefaults::standard().setObject(QStringLiteral("FilesViewType"), QStringLiteral("grid"));
        QTest::keyClick(m_controller->window()->windowHandle(), Qt::Key_1, Qt::ControlModifier);
        QCOMPARE(WindowTestHome::setting(QStringLiteral("FilesViewType")), QStringLiteral("list"));
        QCOMPARE(sharedButtonsViewController->toggleViewTypeSC()->selectedSegment(), 0);
        QTest::keyClick(m_controller->window()->windowHandle(), Qt::Key_2, Qt::ControlModifier);
        QCOMPARE(WindowTestHome::setting(QStringLiteral("FilesViewType")), QStringLiteral("grid"));
        QCOMPARE(sharedButtonsViewController->toggleViewTypeSC()->selectedSegment(), 1);
    }

    void gainingFocusTakesCtrlAsItReallyIs_data()
    {
        QTest::addColumn<bool>("heldWhenHidden");
        QTest::addColumn<bool>("heldWhenShown");
        // The shortcut hides the window with Ctrl still down; its release goes elsewhere.
        QTest::newRow("released elsewhere") << true << false;
        QTest::newRow("pressed elsewhere") << false << true;
    }

    void gainingFocusTakesCtrlAsItReallyIs()
    {
        QFETCH(bool, heldWhenHidden);
        QFETCH(bool, heldWhenShown);
        m_controller->contentViewController()->selectViewType(1);
        GridCollectionView* grid = files()->filesGridViewController()->collectionView();
        grid->setFocus();
        grid->selectItem(0);
        const QModelIndex item = grid->filesModel()->index(0, 0);
        QWindow* window = m_controller->window()->windowHandle();
        if (heldWhenHidden)
            QTest::keyPress(window, Qt::Key_Control);
        QCOMPARE(item.data(RecentFilesModel::ShowsPathRole).toBool(), heldWhenHidden);
        MainWindowHelper::hideMainWindow();

        QWidget other;
        other.resize(200, 200);
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
        if (heldWhenShown)
            QTest::keyPress(other.windowHandle(), Qt::Key_Control, Qt::ControlModifier);
        else
            QTest::keyRelease(other.windowHandle(), Qt::Key_Control);
        int posts = 0;
        const auto token = NotificationCenter::defaultCenter().addObserver(
            NotificationName::toggleModifierKey, {}, [&posts](const Notification&) { ++posts; });
        MainWindowHelper::showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_controller->window()));
        NotificationCenter::defaultCenter().removeObserver(token);
        QCOMPARE(commandKeyHeld, heldWhenShown);
        QCOMPARE(grid->selectedItem(), 0);
        QCOMPARE(item.data(RecentFilesModel::ShowsPathRole).toBool(), heldWhenShown);
        QCOMPARE(posts, 1);
        if (heldWhenShown)
            QTest::keyRelease(window, Qt::Key_Control, Qt::ControlModifier);
    }

private:
    FilesViewController* files() const
    {
        return m_controller->contentViewController()->filesViewController();
    }
    QAbstractItemView* appsTable() const
    {
        return m_controller->contentViewController()->appsViewController()->table();
    }
    QListView* installList()
    {
        auto* list = new StandInFilesView;
        files()->setListView(list);
        return list;
    }
    void pressKey(Qt::Key key) { QTest::keyClick(m_controller->window()->windowHandle(), key); }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
    RecordingFileActions* m_actions = nullptr;
};

WINDOW_TEST_MAIN(KeyRulesTest)
#include "KeyRulesTest.moc"
