// How the lists show the selection and the pointer, in both looks, read back from the pixels the
// window paints: the selection stands out from its list by at least 3:1, the side without the
// keyboard draws its selection inactive (an outline), and the shade under the pointer never
// looks like the selection.
#include "AppsTableCell.h"
#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "FilesTable.h"
#include "FilesTableViewController.h"
#include "FilesViewController.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "NotificationCenter.h"
#include "SharedReferences.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "WindowTestSupport.h"

#include <QPainter>
#include <QTest>

#include <algorithm>

namespace {
// What the marker of a row shows along the row's middle, from its left edge to where the
// content (icon or picture) starts: how many pixels stand out from the list by 3:1, and the
// strongest contrast found.
struct MarkerScan
{
    int strong = 0;
    double strongest = 1;
};

MarkerScan scan(const QImage& image, const QRect& row, int contentLeft)
{
    MarkerScan result;
    const int y = row.center().y();
    const QRgb background = image.pixel(row.left() + 1, y);
    for (int x = row.left(); x < contentLeft; ++x) {
        const double ratio = contrastRatio(image.pixel(x, y), background);
        result.strongest = std::max(result.strongest, ratio);
        if (ratio >= 3)
            ++result.strong;
    }
    return result;
}
} // namespace

class SelectionLooksTest : public QObject
{
    Q_OBJECT

public:
    explicit SelectionLooksTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        m_home.addApplication(QStringLiteral("org.example.Beta"), QStringLiteral("Beta"), 50);
        QVERIFY(refreshStoreAndWait());
        UserDefaults::standard().setObject(QStringLiteral("FilesViewType"), QStringLiteral("list"));
    }

    void init()
    {
        QFETCH_GLOBAL(QString, look);
        UserDefaults::standard().setObject(QStringLiteral("Appearance"), look);
        QVERIFY(showFocusedMainWindow(m_controller));
        NotificationCenter::defaultCenter().post(NotificationName::appearanceChanged);
    }

    void cleanup() { m_controller.reset(); }

    void initTestCase_data()
    {
        QTest::addColumn<QString>("look");
        QTest::newRow("light") << QStringLiteral("light");
        QTest::newRow("dark") << QStringLiteral("dark");
    }

    // After Shift+Tab the applications have the keys: their selection is the strong one and
    // the document's row is only outlined; Tab turns it round.
    void theSideWithTheKeysShowsItsSelection()
    {
        AppsTableView* apps = appsTable();
        FilesTable* files = filesTable();
        apps->setFocus();
        QTest::keyClick(apps, Qt::Key_Tab);
        QTRY_VERIFY(files->hasFocus());
        QVERIFY(files->selectedRow() > 0);
        MarkerScan appsMarker = scanApps();
        MarkerScan fileMarker = scanFile();
        QVERIFY2(fileMarker.strong >= 6, qPrintable(QString::number(fileMarker.strong)));
        QVERIFY2(appsMarker.strong >= 1 && appsMarker.strong <= 4,
                 qPrintable(QString::number(appsMarker.strong)));

        QTest::keyClick(files, Qt::Key_Backtab, Qt::ShiftModifier);
        QTRY_VERIFY(apps->hasFocus());
        QVERIFY(files->selectedRow() > 0);
        appsMarker = scanApps();
        fileMarker = scanFile();
        QVERIFY2(appsMarker.strong >= 6, qPrintable(QString::number(appsMarker.strong)));
        QVERIFY2(fileMarker.strong >= 1 && fileMarker.strong <= 4,
                 qPrintable(QString::number(fileMarker.strong)));
        // Both kinds of selection stand out by 3:1 at least.
        QVERIFY(appsMarker.strongest >= 3 && fileMarker.strongest >= 3);
    }

    void theShadeUnderThePointerIsNotASelection()
    {
        AppsTableView* apps = appsTable();
        const QModelIndex second = apps->model()->index(1, 0);
        const QRect row = apps->visualRect(second);
        QImage image(apps->viewport()->size(), QImage::Format_RGB32);
        apps->viewport()->render(&image);
        QStyleOptionViewItem option;
        option.initFrom(apps);
        option.widget = apps;
        option.rect = row;
        option.state = QStyle::State_Enabled | QStyle::State_MouseOver;
        QPainter painter(&image);
        apps->itemDelegate()->paint(&painter, option, second);
        painter.end();
        const MarkerScan hovered = scan(image, row, iconLeft(row));
        QVERIFY2(hovered.strongest > 1.05 && hovered.strongest < 1.5,
                 qPrintable(QString::number(hovered.strongest)));
        QVERIFY(hovered.strong == 0);
    }

private:
    AppsTableView* appsTable() const
    {
        return m_controller->contentViewController()->appsViewController()->table();
    }
    FilesTable* filesTable() const
    {
        return m_controller->contentViewController()
            ->filesViewController()
            ->filesTableViewController()
            ->filesTable();
    }
    static int iconLeft(const QRect& row)
    {
        return row.center().x() + 1 - AppsTableCell::iconSize / 2;
    }
    MarkerScan scanApps() const
    {
        AppsTableView* apps = appsTable();
        const QRect row = apps->visualRect(apps->selectionModel()->selectedIndexes().constFirst());
        return scan(apps->viewport()->grab().toImage(), row, iconLeft(row));
    }
    MarkerScan scanFile() const
    {
        FilesTable* files = filesTable();
        const QRect row = files->visualRect(files->model()->index(files->selectedRow(), 0));
        // The marker starts 8 points in, the document's picture 16.
        return scan(files->viewport()->grab().toImage(), row, row.left() + 16);
    }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
};

WINDOW_TEST_MAIN(SelectionLooksTest)
#include "SelectionLooksTest.moc"
