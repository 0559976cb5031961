// The files grid: real thumbnails with the pixels of the picture square, relative dates, the
// arrow, Tab, Return, Escape and Shift rules, clicks in an item's blank margin, "Show in File
// Manager" while Ctrl is held, the context menu, no second generation for a thumbnail in flight
// however the grid is scrolled and reloaded, and the pictures kept within their bytes while it
// scrolls.
#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "FileActions.h"
#include "FilesGridViewController.h"
#include "FilesTestHome.h"
#include "FilesViewController.h"
#include "GridCollectionView.h"
#include "GridItem.h"
#include "GridItemLayout.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "NotificationCenter.h"
#include "QuickLookMenuItem.h"
#include "RecentFilesModel.h"
#include "SharedReferences.h"
#include "TestHome.h"
#include "ThumbnailCache.h"
#include "ThumbnailService.h"
#include "ViewController.h"
#include "WindowTestSupport.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDebug>
#include <QFile>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QSet>
#include <QTest>

#include <algorithm>

namespace {
constexpr int galleryDocuments = 60;
} // namespace

class FilesGridTest : public QObject
{
    Q_OBJECT

public:
    explicit FilesGridTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        FilesTestHome::installCalendar();
        FilesTestHome::useSystemDataFolders(m_home.home());
        FilesTestHome::addViewer(m_home.home());
        addGallery();
        QVERIFY(refreshStoreAndWait());
        auto actions = std::make_unique<RecordingFileActions>();
        m_actions = actions.get();
        FileActions::install(std::move(actions));
        m_token = NotificationCenter::defaultCenter().addObserver(
            NotificationName::clickedFileRow, {},
            [this](const Notification& notification) { m_posted << notification.object; });
    }

    void cleanupTestCase()
    {
        NotificationCenter::defaultCenter().removeObserver(m_token);
        FileActions::install(nullptr);
    }

    void init()
    {
        m_actions->forget();
        m_posted.clear();
        commandKeyHeld = false;
        QVERIFY(showFocusedMainWindow(m_controller));
        m_controller->contentViewController()->selectViewType(1);
        QVERIFY(grid());
        appsTable()->setFocus();
    }

    void cleanup() { commandKeyHeld = false; }

    void itemsAreTheFilesWithTheirRelativeDates()
    {
        RecentFilesModel* files = model();
        QCOMPARE(files->rowCount(), 9);
        QStringList names;
        QStringList dates;
        for (int item = 0; item < files->rowCount(); ++item) {
            names << files->index(item, 0).data().toString();
            dates << files->index(item, 0).data(RecentFilesModel::RelativeDateRole).toString();
            QCOMPARE(files->fileIndexForRow(item), item);
        }
        QCOMPARE(names, FilesTestHome::viewerNames());
        QCOMPARE(dates, QStringList({QStringLiteral("Today"), QStringLiteral("Today"),
                                     QStringLiteral("Today"), QStringLiteral("Today"),
                                     QStringLiteral("Yesterday"), QStringLiteral("Yesterday"),
                                     QStringLiteral("Last week"), QStringLiteral("2 weeks ago"),
                                     QStringLiteral("Last month")}));
        QAccessibleInterface* view = QAccessible::queryAccessibleInterface(grid());
        QVERIFY(view);
        QCOMPARE(view->childCount(), 9);
        QCOMPARE(view->child(2)->text(QAccessible::Name), names.at(2));
    }

    void realThumbnailsArriveWithThePixelsOfTheSquare()
    {
        RecentFilesModel* files = model();
        // Every item's picture is asked for as it comes into sight.
        for (int item = 0; item < files->rowCount(); ++item) {
            grid()->scrollTo(files->index(item, 0));
            grid()->viewport()->repaint();
            QTRY_VERIFY_WITH_TIMEOUT(
                files->index(item, 0).data(RecentFilesModel::HasThumbnailRole).toBool(), 60000);
        }
        constexpr double square = GridItemLayout::thumbnailSize;
        QCOMPARE(files->pictureRequestSize(), QSizeF(square, square));
        for (int item = 0; item < files->rowCount(); ++item)
            QVERIFY(shownWithThePixelsOfTheSquare(files->index(item, 0)));
    }

    void aPictureStaysWhileItsFileIsThereAndGoesWithIt()
    {
        const QModelIndex first = model()->index(0, 0);
        const QString path = first.data(RecentFilesModel::FileUrlRole).toUrl().toLocalFile();
        grid()->viewport()->repaint();
        QTRY_VERIFY_WITH_TIMEOUT(first.data(RecentFilesModel::HasThumbnailRole).toBool(), 60000);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray original = file.readAll();
        file.close();
        const auto reloadAndSettle = [this] {
            sharedFilesViewController->reloadFilesGrid();
            grid()->viewport()->repaint();
            QTRY_COMPARE_WITH_TIMEOUT(ThumbnailService::instance().pendingGenerations(), 0, 60000);
        };

        // Being rewritten (unreadable for now): the picture it had stays.
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("not a picture yet");
        file.close();
        reloadAndSettle();
        QVERIFY(model()->index(0, 0).data(RecentFilesModel::HasThumbnailRole).toBool());

        // Deleted: its picture goes.
        QVERIFY(QFile::remove(path));
        reloadAndSettle();
        QTRY_VERIFY(!model()->index(0, 0).data(RecentFilesModel::HasThumbnailRole).toBool());

        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(original);
        file.close();
    }

    void aDocumentKeepsOneFramedPicture()
    {
        // Every reload asks again for the pictures in sight, and every answer is a new picture;
        // the look changes too. Each time the frame is made again, in place of the last.
        const int documents = model()->rowCount();
        for (int round = 0; round < 4; ++round) {
            sharedFilesViewController->reloadFilesGrid();
            grid()->viewport()->repaint();
            QTRY_COMPARE_WITH_TIMEOUT(ThumbnailService::instance().pendingGenerations(), 0, 60000);
            QCoreApplication::processEvents();
            m_home.appearance().setStyle(round % 2 == 0 ? QStringLiteral("Dark") : QString());
            grid()->viewport()->repaint();
            QCOMPARE(itemsInSight().size(), documents);
            QVERIFY(grid()->gridItem()->framedPictures().count() <= documents);
        }
    }

    void anArrowWithNothingSelectedSelectsTheFirstItem()
    {
        for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Left, Qt::Key_Up}) {
            grid()->setFocus();
            grid()->deselectAll();
            pressKey(key);
            QCOMPARE(grid()->selectedItem(), 0);
        }
    }

    void rightAndLeftStepThroughTheItems()
    {
        grid()->setFocus();
        grid()->selectItem(3);
        pressKey(Qt::Key_Right);
        QCOMPARE(grid()->selectedItem(), 4);
        // Onto the next row, as reading goes.
        pressKey(Qt::Key_Right);
        QCOMPARE(grid()->selectedItem(), 5);
        pressKey(Qt::Key_Left);
        pressKey(Qt::Key_Left);
        QCOMPARE(grid()->selectedItem(), 3);
    }

    void rightOnTheLastItemStays()
    {
        grid()->setFocus();
        grid()->selectItem(8);
        pressKey(Qt::Key_Right);
        QCOMPARE(grid()->selectedItem(), 8);
        QCOMPARE(QApplication::focusWidget(), grid());
    }

    void upAndDownMoveByRows()
    {
        const int columns = columnCount();
        QVERIFY(columns >= 2);
        grid()->setFocus();
        grid()->selectItem(1);
        pressKey(Qt::Key_Down);
        QCOMPARE(grid()->selectedItem(), 1 + columns);
        pressKey(Qt::Key_Up);
        QCOMPARE(grid()->selectedItem(), 1);
        pressKey(Qt::Key_Up);
        QCOMPARE(grid()->selectedItem(), 1);
    }

    void shiftChangesNothing()
    {
        const int columns = columnCount();
        grid()->setFocus();
        grid()->selectItem(1);
        QTest::keyClick(window(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(grid()->selectedItem(), 2);
        QTest::keyClick(window(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(grid()->selectedItem(), 2 + columns);
        QCOMPARE(grid()->selectionModel()->selectedIndexes().size(), 1);
    }

    void leftOnTheFirstItemGoesBackToTheApplications()
    {
        grid()->setFocus();
        grid()->selectItem(0);
        pressKey(Qt::Key_Left);
        QCOMPARE(QApplication::focusWidget(), appsTable());
        QCOMPARE(grid()->selectedItem(), -1);
        QCOMPARE(m_actions->closed, 1);
    }

    void tabGoesBackAndComesBackToTheSameItem()
    {
        grid()->setFocus();
        grid()->selectItem(6);
        pressKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), appsTable());
        QCOMPARE(grid()->selectedItem(), -1);
        QCOMPARE(grid()->prevSelectionIndex(), 6);
        pressKey(Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), grid());
        QCOMPARE(grid()->selectedItem(), 6);
    }

    void aReloadForgetsThePreviousSelection()
    {
        grid()->selectItem(6);
        grid()->deselectAll();
        QCOMPARE(grid()->prevSelectionIndex(), 6);
        sharedFilesViewController->reloadFilesGrid();
        QCOMPARE(grid()->prevSelectionIndex(), -1);
    }

    void returnAndDoubleClickOpenTheItem()
    {
        grid()->setFocus();
        grid()->selectItem(7);
        pressKey(Qt::Key_Return);
        doubleClick(thumbnailOf(2).center());
        QCOMPARE(m_posted, QVariantList({QVariant::fromValue<qlonglong>(7),
                                         QVariant::fromValue<qlonglong>(2)}));
        QCOMPARE(opened(), QStringList({QStringLiteral("grid 7"), QStringLiteral("grid 2")}));

        // A double click whose second click reaches the next item opens that item.
        m_posted.clear();
        const QPoint next = thumbnailOf(3).center();
        QMouseEvent secondClick(QEvent::MouseButtonDblClick, next,
                                grid()->viewport()->mapToGlobal(next), Qt::LeftButton,
                                Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(grid()->viewport(), &secondClick);
        QCOMPARE(m_posted, QVariantList({QVariant::fromValue<qlonglong>(3)}));
        QCOMPARE(grid()->selectedItem(), 3);
    }

    void whileThePreviewIsOpenADoubleClickOnlySelects()
    {
        m_controller->contentViewController()
            ->filesViewController()
            ->filesGridViewController()
            ->setPreviewPanelOpen(true);
        doubleClick(thumbnailOf(2).center());
        QVERIFY(m_posted.isEmpty());
        QCOMPARE(grid()->selectedItem(), 2);
    }

    void spaceAsksForThePreviewAndEscapeHides()
    {
        grid()->setFocus();
        grid()->selectItem(1);
        pressKey(Qt::Key_Space);
        QCOMPARE(m_actions->previewed, QList<QAbstractItemView*>{grid()});
        pressKey(Qt::Key_Escape);
        QVERIFY(!m_controller->window()->isShown());
    }

    void clicksSelectOnlyOnAPictureTitleOrDate()
    {
        const GridItemLayout item = viewOf(3);
        click(item.thumbnailContainer().center());
        QCOMPARE(grid()->selectedItem(), 3);
        // The blank margin around the item is background.
        const QRect cell = grid()->visualRect(model()->index(3, 0));
        click(cell.topLeft() + QPoint(2, 2));
        QCOMPARE(grid()->selectedItem(), -1);
        click(item.titleField().center());
        QCOMPARE(grid()->selectedItem(), 3);
        click(QPoint(item.thumbnailContainer().left() - 3, item.thumbnailContainer().center().y()));
        QCOMPARE(grid()->selectedItem(), -1);
        click(item.dateLabel().center());
        QCOMPARE(grid()->selectedItem(), 3);
        // Past the last item.
        click(QPoint(grid()->viewport()->width() - 10, grid()->viewport()->height() - 10));
        QCOMPARE(grid()->selectedItem(), -1);
    }

    void ctrlShowsShowInFileManagerOverTheSelectedItem()
    {
        grid()->setFocus();
        grid()->selectItem(2);
        const QModelIndex floorPlan = model()->index(2, 0);
        QTest::keyPress(window(), Qt::Key_Control);
        QVERIFY(floorPlan.data(RecentFilesModel::ShowsPathRole).toBool());
        QCOMPARE(GridItem::titleOf(floorPlan), QStringLiteral("Show in File Manager"));
        QCOMPARE(floorPlan.data(Qt::ToolTipRole).toString(),
                 QStringLiteral("Documents \u25B8 House \u25B8 Floor plan.png"));
        // The item that loses the selection shows its name again; the new one the hint.
        grid()->selectItem(0);
        QCOMPARE(GridItem::titleOf(floorPlan), FilesTestHome::viewerNames().at(2));
        QCOMPARE(GridItem::titleOf(model()->index(0, 0)), QStringLiteral("Show in File Manager"));
        QTest::keyRelease(window(), Qt::Key_Control, Qt::ControlModifier);
        QCOMPARE(GridItem::titleOf(model()->index(0, 0)), FilesTestHome::viewerNames().at(0));
        // Showing its name, an item has no tool tip.
        QVERIFY(!model()->index(0, 0).data(Qt::ToolTipRole).isValid());
    }

    void returnWithCtrlReveals()
    {
        grid()->setFocus();
        grid()->selectItem(4);
        QTest::keyPress(window(), Qt::Key_Control);
        QTest::keyClick(window(), Qt::Key_Return, Qt::ControlModifier);
        QTest::keyRelease(window(), Qt::Key_Control, Qt::ControlModifier);
        QCOMPARE(opened(), QStringList({QStringLiteral("grid 4 reveal")}));
    }

    void theMenusQuickLookItemNamesTheFile()
    {
        const QRect cell = grid()->visualRect(model()->index(5, 0));
        grid()->selectItem(1);
        QVERIFY(!grid()->menuForEvent(cell.topLeft() + QPoint(2, 2)));
        QCOMPARE(grid()->selectedItem(), -1);
        QMenu* menu = grid()->menuForEvent(viewOf(5).thumbnailContainer().center());
        QVERIFY(menu);
        QCOMPARE(grid()->selectedItem(), 5);
        grid()->willOpenMenu();
        QAction* quickLook = QuickLookMenuItem::item(menu);
        QVERIFY(quickLook);
        QCOMPARE(quickLook->text(),
                 QStringLiteral("Preview \"") + FilesTestHome::viewerNames().at(5) + u'"');
    }

    void picturesFollowTheScreensDensity()
    {
        const QList<QScreen*> screens = QGuiApplication::screens();
        if (screens.size() < 2)
            QSKIP("needs the two screens of two-screens.json");
        // The density of the first picture shown; which document comes first depends on what
        // earlier tests left behind, and one without a picture would never answer.
        const auto shownDensity = [this] {
            grid()->viewport()->repaint();
            for (int row = 0; row < model()->rowCount(); ++row) {
                const QModelIndex item = model()->index(row, 0);
                if (item.data(RecentFilesModel::HasThumbnailRole).toBool())
                    return item.data(Qt::DecorationRole).value<QPixmap>().devicePixelRatio();
            }
            return 0.0;
        };
        QWidget* shown = m_controller->window();
        QScreen* start = shown->screen();
        QScreen* other = screens.at(0) == start ? screens.at(1) : screens.at(0);
        QTRY_COMPARE_WITH_TIMEOUT(shownDensity(), start->devicePixelRatio(), 60000);
        shown->setScreen(other);
        QTRY_COMPARE_WITH_TIMEOUT(shownDensity(), other->devicePixelRatio(), 60000);
        shown->setScreen(start);
        QTRY_COMPARE_WITH_TIMEOUT(shownDensity(), start->devicePixelRatio(), 60000);
    }

    void scrollingNeverStartsASecondGenerationForAFileInFlight()
    {
        // The gallery's pictures, none made yet: all of them in flight while the grid moves.
        ThumbnailService& service = ThumbnailService::instance();
        // What the other application's grid asked for is done first.
        QTRY_COMPARE_WITH_TIMEOUT(service.pendingGenerations(), 0, 120000);
        service.resetStatistics();
        sharedAppsViewController->selectRow(1);
        QCOMPARE(model()->rowCount(), galleryDocuments);
        QScrollBar* bar = grid()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        QSet<QString> asked;
        // The first screen asks for its pictures; a refresh of the same documents while they are
        // being made asks for none of them again.
        scrollTo(0, asked, false);
        const int firstScreen = service.statistics().requests;
        QVERIFY(firstScreen > 0);
        sharedFilesViewController->reloadFilesGrid();
        scrollTo(0, asked, false);
        QCOMPARE(service.statistics().requests, firstScreen);
        // Down and up again, twice, and the store refreshed on the way, as a user scrolling
        // while an application records a document.
        for (int pass = 0; pass < 2; ++pass) {
            for (int value = 0; value <= bar->maximum(); value += 40)
                scrollTo(value, asked);
            if (pass == 0)
                sharedFilesViewController->reloadFilesGrid();
            for (int value = bar->maximum(); value >= 0; value -= 40)
                scrollTo(value, asked);
        }
        QTRY_COMPARE_WITH_TIMEOUT(service.pendingGenerations(), 0, 120000);
        const ThumbnailStatistics statistics = service.statistics();
        QCOMPARE(asked.size(), galleryDocuments);
        // Each picture made once; a second look at one already made is only a check that its
        // document has not changed.
        const int made =
            statistics.rendered + statistics.sharedCacheHits + statistics.renderFailures;
        const int work = statistics.generations - statistics.memoryConfirmed - statistics.cancelled;
        qInfo("%d requests, %d generations (%d joined, %d confirmed from memory, %d cancelled), "
              "%d pictures made for %d files",
              statistics.requests, statistics.generations, statistics.joined,
              statistics.memoryConfirmed, statistics.cancelled, made, galleryDocuments);
        QVERIFY2(made <= galleryDocuments && work <= galleryDocuments,
                 qPrintable(QStringLiteral("%1 pictures made, %2 generations doing work, for %3 "
                                           "files")
                                .arg(made)
                                .arg(work)
                                .arg(galleryDocuments)));
        // Each row asked once since the last reload.
        QVERIFY(model()->thumbnailRequests() <= galleryDocuments);
        sharedAppsViewController->selectRow(0);
    }

    // At twice the density, with the stores' bounds lowered to room for 30 pictures: the pictures
    // of the 60 documents scrolled through are let go, the least recently drawn first, and the
    // ones in sight stay.
    void picturesStayWithinTheirBytesWhileTheGridScrolls()
    {
        QWidget* shown = m_controller->window();
        QScreen* dense = nullptr;
        for (QScreen* screen : QGuiApplication::screens())
            if (screen->devicePixelRatio() == 2)
                dense = screen;
        if (!dense)
            QSKIP("needs the dense screen of two-screens.json");
        QScreen* start = shown->screen();
        shown->setScreen(dense);
        QTRY_COMPARE(grid()->devicePixelRatioF(), 2.0);
        sharedAppsViewController->selectRow(1);
        QCOMPARE(model()->rowCount(), galleryDocuments);
        const qsizetype side = 2 * GridItemLayout::thumbnailSize;
        const qsizetype pictureLimit = 30 * side * side * 4;
        const qsizetype framedLimit = 30 * (side + 16) * (side + 16) * 4;
        model()->setPictureByteLimit(pictureLimit);
        grid()->gridItem()->setFramedByteLimit(framedLimit);

        QScrollBar* bar = grid()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        QSet<int> seen;
        for (int value = 0;; value = std::min(value + bar->pageStep() / 2, bar->maximum())) {
            bar->setValue(value);
            const QList<QModelIndex> inSight = itemsInSight();
            // The pictures in sight arrive, or come back from memory, and stay.
            QTRY_VERIFY_WITH_TIMEOUT(allHavePictures(inSight), 60000);
            grid()->viewport()->repaint();
            for (const QModelIndex& index : inSight) {
                seen.insert(index.row());
                QVERIFY(shownWithThePixelsOfTheSquare(index));
            }
            QVERIFY(model()->pictures().bytesUsed() <= pictureLimit);
            QVERIFY(grid()->gridItem()->framedPictures().bytesUsed() <= framedLimit);
            if (value == bar->maximum())
                break;
        }
        QCOMPARE(seen.size(), galleryDocuments);
        QVERIFY(model()->pictures().count() < galleryDocuments);
        QVERIFY(grid()->gridItem()->framedPictures().count() < galleryDocuments);
        qInfo("at density 2: %lld bytes of pictures for %lld documents, %lld bytes framed",
              static_cast<long long>(model()->pictures().bytesUsed()),
              static_cast<long long>(model()->pictures().count()),
              static_cast<long long>(grid()->gridItem()->framedPictures().bytesUsed()));

        // Another application's documents: the framed pictures of the gallery's go.
        sharedAppsViewController->selectRow(0);
        grid()->viewport()->repaint();
        QVERIFY(grid()->gridItem()->framedPictures().count() <= model()->rowCount());
        model()->setPictureByteLimit(RecentFilesModel::defaultPictureByteLimit);
        grid()->gridItem()->setFramedByteLimit(GridItem::defaultFramedByteLimit);
        shown->setScreen(start);
    }

    // A small window keeps the pictures of about three screenfuls of the grid, not every one
    // it has shown; one page back, each picture in sight is still there, framed, at once.
    void aSmallGridKeepsThePicturesOfAFewScreens()
    {
        m_controller->window()->resize(700, 400);
        sharedAppsViewController->selectRow(1);
        QCOMPARE(model()->rowCount(), galleryDocuments);
        QTRY_VERIFY(grid()->itemsInThreeScreens() < galleryDocuments);
        QScrollBar* bar = grid()->verticalScrollBar();
        QTRY_VERIFY(bar->maximum() > 0);
        for (int value = 0;; value = std::min(value + bar->pageStep(), bar->maximum())) {
            bar->setValue(value);
            const QList<QModelIndex> inSight = itemsInSight();
            QTRY_VERIFY_WITH_TIMEOUT(allHavePictures(inSight), 60000);
            grid()->viewport()->repaint();
            if (value == bar->maximum())
                break;
        }
        QVERIFY(model()->pictures().count() < galleryDocuments);
        QVERIFY(grid()->gridItem()->framedPictures().count() < galleryDocuments);

        bar->setValue(bar->value() - bar->pageStep());
        for (const QModelIndex& index : itemsInSight()) {
            const QString path = index.data(RecentFilesModel::FileUrlRole).toUrl().toLocalFile();
            QVERIFY2(model()->pictures().contains(path), qPrintable(path));
            QVERIFY2(grid()->gridItem()->framedPictures().contains(path), qPrintable(path));
        }
        sharedAppsViewController->selectRow(0);
        m_controller->window()->resize(780, 440);
    }

private:
    void addGallery()
    {
        TestHome& home = m_home.home();
        home.installApplication(QStringLiteral("org.example.Gallery"), QStringLiteral("Gallery"));
        QStringList paths;
        for (int i = 0; i < galleryDocuments; ++i) {
            const QString path =
                home.path() +
                QStringLiteral("/Pictures/Gallery/Photo %1.jpg").arg(i + 1, 3, 10, QChar(u'0'));
            FilesTestHome::writePicture(path, i);
            TestHome::setModificationTime(path, FilesTestHome::now().addDays(-5).addSecs(-60 * i));
            paths << path;
        }
        home.writeRecord(QStringLiteral("org.example.Gallery"), paths,
                         FilesTestHome::now().addDays(-5));
    }

    // Scrolls and paints; the pictures that arrived meanwhile are taken in when events is true.
    void scrollTo(int value, QSet<QString>& asked, bool events = true)
    {
        grid()->verticalScrollBar()->setValue(value);
        grid()->viewport()->repaint();
        for (int item = 0; item < model()->rowCount(); ++item) {
            const QModelIndex index = model()->index(item, 0);
            if (grid()->viewport()->rect().intersects(grid()->visualRect(index)))
                asked.insert(index.data().toString());
        }
        if (events)
            QCoreApplication::processEvents();
    }

    static bool allHavePictures(const QList<QModelIndex>& items)
    {
        return std::all_of(items.cbegin(), items.cend(), [](const QModelIndex& index) {
            return index.data(RecentFilesModel::HasThumbnailRole).toBool();
        });
    }

    QList<QModelIndex> itemsInSight() const
    {
        QList<QModelIndex> inSight;
        for (int item = 0; item < model()->rowCount(); ++item) {
            const QModelIndex index = model()->index(item, 0);
            if (grid()->viewport()->rect().intersects(grid()->visualRect(index)))
                inSight << index;
        }
        return inSight;
    }

    // The item's thumbnail was made with the pixels of the square it is shown in at the grid's
    // density (its longer side filling it), and is shown as it was made: with the very pixels
    // the thumbnail cache keeps, not a copy of them.
    bool shownWithThePixelsOfTheSquare(const QModelIndex& index) const
    {
        constexpr double square = GridItemLayout::thumbnailSize;
        const auto cached = ThumbnailCache::cachedThumbnail(
            index.data(RecentFilesModel::FileUrlRole).toUrl(), square, square);
        const QPixmap shown = index.data(Qt::DecorationRole).value<QPixmap>();
        const qreal density = grid()->devicePixelRatioF();
        const bool fits =
            cached && std::max(cached->width(), cached->height()) == qRound(square * density);
        if (!fits || shown.size() != cached->size() || shown.devicePixelRatio() != density ||
            shown.toImage().constBits() != cached->constBits()) {
            qWarning() << index.data().toString() << (cached ? cached->size() : QSize())
                       << shown.size() << shown.devicePixelRatio() << density
                       << (cached ? cached->format() : QImage::Format_Invalid)
                       << shown.toImage().format();
            return false;
        }
        return true;
    }

    int columnCount() const
    {
        const int top = grid()->visualRect(model()->index(0, 0)).top();
        int columns = 0;
        while (columns < model()->rowCount() &&
               grid()->visualRect(model()->index(columns, 0)).top() == top)
            ++columns;
        return columns;
    }

    GridCollectionView* grid() const
    {
        FilesGridViewController* controller =
            m_controller->contentViewController()->filesViewController()->filesGridViewController();
        return controller ? controller->collectionView() : nullptr;
    }
    RecentFilesModel* model() const { return grid()->filesModel(); }
    QAbstractItemView* appsTable() const
    {
        return m_controller->contentViewController()->appsViewController()->table();
    }
    QWindow* window() const { return m_controller->window()->windowHandle(); }
    GridItemLayout viewOf(int item) const
    {
        const QModelIndex index = model()->index(item, 0);
        return GridItemLayout(grid()->visualRect(index), GridItem::titleOf(index));
    }
    QRect thumbnailOf(int item) const { return viewOf(item).thumbnailContainer(); }
    void click(const QPoint& pos)
    {
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
    }
    // As the mouse sends it: a click, then the second press as a double click.
    void doubleClick(const QPoint& pos)
    {
        click(pos);
        QTest::mouseDClick(grid()->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
    }
    // What was opened, as "grid 4" or "grid 4 reveal".
    QStringList opened() const
    {
        QStringList lines;
        for (const RecordingFileActions::Opened& file : m_actions->opened)
            lines << QStringLiteral("%1 %2%3")
                         .arg(file.viewType)
                         .arg(file.index)
                         .arg(file.reveal ? QStringLiteral(" reveal") : QString());
        return lines;
    }
    void pressKey(Qt::Key key) { QTest::keyClick(window(), key); }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
    RecordingFileActions* m_actions = nullptr;
    QVariantList m_posted;
    NotificationCenter::Token m_token = 0;
};

WINDOW_TEST_MAIN(FilesGridTest)
#include "FilesGridTest.moc"
