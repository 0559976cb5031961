// Switching the files between the list and the grid: the stored "FilesViewType" and the
// toolbar's switch, the selected document carried across both ways (list rows count the
// headings, grid items do not), and the focus going to the applications when nothing was
// selected.
#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "ButtonSegmentedControl.h"
#include "ButtonsViewController.h"
#include "FilesGridViewController.h"
#include "FilesTable.h"
#include "FilesTableViewController.h"
#include "FilesTestHome.h"
#include "FilesViewController.h"
#include "GridCollectionView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "RecentFilesModel.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QTest>

namespace {
const QString viewTypeKey = QStringLiteral("FilesViewType");
} // namespace

class FilesSwitchTest : public QObject
{
    Q_OBJECT

public:
    explicit FilesSwitchTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        FilesTestHome::installCalendar();
        FilesTestHome::useSystemDataFolders(m_home.home());
        FilesTestHome::addViewer(m_home.home());
        QVERIFY(refreshStoreAndWait());
    }

    void cleanup() { m_controller.reset(); }

    void theStoredTypeChoosesTheView_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<bool>("grid");
        QTest::newRow("absent") << QString() << true;
        QTest::newRow("grid") << QStringLiteral("grid") << true;
        QTest::newRow("list") << QStringLiteral("list") << false;
        QTest::newRow("another value") << QStringLiteral("columns") << false;
    }

    void theStoredTypeChoosesTheView()
    {
        QFETCH(QString, stored);
        QFETCH(bool, grid);
        if (stored.isEmpty())
            UserDefaults::standard().removeObject(viewTypeKey);
        else
            UserDefaults::standard().setObject(viewTypeKey, stored);
        openWindow();
        QCOMPARE(files()->filesGridViewController() != nullptr, grid);
        QCOMPARE(files()->filesTableViewController() != nullptr, !grid);
        QCOMPARE(switchControl()->selectedSegment(), grid ? 1 : 0);
        QCOMPARE(WindowTestHome::setting(viewTypeKey),
                 grid ? QStringLiteral("grid") : QStringLiteral("list"));
    }

    void theGridsItemBecomesTheListsRow_data()
    {
        QTest::addColumn<int>("item");
        QTest::addColumn<int>("row");
        // One heading stands before the first four files, two before the next two, three
        // before the rest.
        const QList<int> rows{1, 2, 3, 4, 6, 7, 9, 10, 11};
        for (int item = 0; item < rows.size(); ++item)
            QTest::addRow("item %d", item) << item << rows.at(item);
    }

    void theGridsItemBecomesTheListsRow()
    {
        QFETCH(int, item);
        QFETCH(int, row);
        UserDefaults::standard().setObject(viewTypeKey, QStringLiteral("grid"));
        openWindow();
        GridCollectionView* grid = files()->filesGridViewController()->collectionView();
        grid->setFocus();
        grid->selectItem(item);
        clickSegment(0);
        QVERIFY(files()->filesTableViewController());
        FilesTable* table = files()->filesTableViewController()->filesTable();
        QCOMPARE(table->selectedRow(), row);
        QCOMPARE(selectedFileIndex, row);
        QCOMPARE(QApplication::focusWidget(), table);
        QCOMPARE(WindowTestHome::setting(viewTypeKey), QStringLiteral("list"));
        // And back: the list's row is the grid's item again.
        clickSegment(1);
        QVERIFY(files()->filesGridViewController());
        grid = files()->filesGridViewController()->collectionView();
        QCOMPARE(grid->selectedItem(), item);
        QCOMPARE(QApplication::focusWidget(), grid);
        QCOMPARE(WindowTestHome::setting(viewTypeKey), QStringLiteral("grid"));
    }

    void withNothingSelectedTheApplicationsTakeTheFocus()
    {
        UserDefaults::standard().setObject(viewTypeKey, QStringLiteral("grid"));
        openWindow();
        files()->filesGridViewController()->collectionView()->setFocus();
        clickSegment(0);
        QCOMPARE(files()->filesTableViewController()->filesTable()->selectedRow(), -1);
        QCOMPARE(QApplication::focusWidget(), appsTable());
        files()->filesTableViewController()->filesTable()->setFocus();
        clickSegment(1);
        QCOMPARE(files()->filesGridViewController()->collectionView()->selectedItem(), -1);
        QCOMPARE(QApplication::focusWidget(), appsTable());
    }

    void choosingTheShownViewAgainKeepsItsSelection()
    {
        UserDefaults::standard().setObject(viewTypeKey, QStringLiteral("grid"));
        openWindow();
        GridCollectionView* grid = files()->filesGridViewController()->collectionView();
        grid->selectItem(5);
        clickSegment(1);
        QCOMPARE(files()->filesGridViewController()->collectionView(), grid);
        QCOMPARE(grid->selectedItem(), 5);
    }

private:
    void openWindow() { QVERIFY(showFocusedMainWindow(m_controller)); }

    // A click on the toolbar's switch, as the user makes it.
    void clickSegment(int segment)
    {
        ButtonSegmentedControl* control = switchControl();
        const int x = segment == 0 ? control->width() / 4 : control->width() * 3 / 4;
        QTest::mouseClick(control, Qt::LeftButton, Qt::NoModifier,
                          QPoint(x, control->height() / 2));
    }

    FilesViewController* files() const
    {
        return m_controller->contentViewController()->filesViewController();
    }
    ButtonSegmentedControl* switchControl() const
    {
        return sharedButtonsViewController->toggleViewTypeSC();
    }
    QAbstractItemView* appsTable() const
    {
        return m_controller->contentViewController()->appsViewController()->table();
    }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
};

WINDOW_TEST_MAIN(FilesSwitchTest)
#include "FilesSwitchTest.moc"
