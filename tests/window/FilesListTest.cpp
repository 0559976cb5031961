// The files list: the row model with its date headings, row heights, headings never selected,
// the mouse and key rules, the location shown while Ctrl is held, the context menu's preview
// item, and the selection across refreshes.
#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "FileActions.h"
#include "FileIconCache.h"
#include "FilePathText.h"
#include "FilesTable.h"
#include "FilesTableCell.h"
#include "FilesTableViewController.h"
#include "FilesTestHome.h"
#include "FilesViewController.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "NotificationCenter.h"
#include "QuickLookMenuItem.h"
#include "RecentFilesModel.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "ThemePalette.h"
#include "ThumbnailCache.h"
#include "ViewController.h"
#include "WindowTestSupport.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QMimeDatabase>
#include <QTemporaryDir>
#include <QTest>

namespace {
const QString listSeparator = QStringLiteral("  \u25B8  ");
} // namespace

class FilesListTest : public QObject
{
    Q_OBJECT

public:
    explicit FilesListTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        FilesTestHome::installCalendar();
        FilesTestHome::useSystemDataFolders(m_home.home());
        FilesTestHome::addViewer(m_home.home());
        FilesTestHome::addEditor(m_home.home());
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
        m_controller->contentViewController()->selectViewType(0);
        QVERIFY(table());
        appsTable()->setFocus();
    }

    void cleanup() { commandKeyHeld = false; }

    void rowsInterleaveTheHeadingsWithTheFiles()
    {
        RecentFilesModel* files = model();
        QCOMPARE(files->rowCount(), 12);
        const QList<int> headings{0, 5, 8};
        QStringList names;
        QStringList headingTexts;
        for (int row = 0; row < files->rowCount(); ++row) {
            const QModelIndex index = files->index(row, 0);
            QCOMPARE(files->isHeading(row), headings.contains(row));
            if (files->isHeading(row)) {
                headingTexts << index.data().toString();
                QCOMPARE(files->fileIndexForRow(row), -1);
                continue;
            }
            names << index.data().toString();
            const qsizetype file = files->fileIndexForRow(row);
            QCOMPARE(file, row - std::count_if(headings.cbegin(), headings.cend(),
                                               [row](int heading) { return heading < row; }));
            QCOMPARE(files->rowForFileIndex(file), row);
        }
        QCOMPARE(headingTexts, QStringList({QStringLiteral("TODAY"), QStringLiteral("THIS WEEK"),
                                            QStringLiteral("LAST WEEK AND BEYOND")}));
        QCOMPARE(names, FilesTestHome::viewerNames());
    }

    void everyRowHasAnAccessibleName()
    {
        QAccessibleInterface* list = QAccessible::queryAccessibleInterface(table());
        QVERIFY(list);
        QCOMPARE(list->childCount(), model()->rowCount());
        QStringList names;
        for (int row = 0; row < list->childCount(); ++row)
            names << list->child(row)->text(QAccessible::Name);
        QCOMPARE(names.at(0), QStringLiteral("Today"));
        QCOMPARE(names.at(1), FilesTestHome::viewerNames().at(0));
        QCOMPARE(names.at(9), FilesTestHome::viewerNames().at(6));
    }

    void headingRowsAreShortAndFileRowsTall()
    {
        QCOMPARE(rowRect(0).height(), 10);
        QCOMPARE(rowRect(5).height(), 24);
        QCOMPARE(rowRect(8).height(), 24);
        for (const int row : {1, 4, 6, 11})
            QCOMPARE(rowRect(row).height(), 36);
        // One under the other, in order.
        QCOMPARE(rowRect(1).top(), rowRect(0).bottom() + 1);
    }

    void headingsAreNeverSelected()
    {
        QVERIFY(!(model()->flags(model()->index(0, 0)) & Qt::ItemIsSelectable));
        QVERIFY(model()->flags(model()->index(1, 0)) & Qt::ItemIsSelectable);
        table()->selectRow(5);
        QCOMPARE(table()->selectedRow(), -1);
        table()->setFocus();
        // Down from nothing selects the first file; the keys step over headings both ways.
        pressKey(Qt::Key_Down);
        QCOMPARE(table()->selectedRow(), 1);
        table()->selectRow(4);
        pressKey(Qt::Key_Down);
        QCOMPARE(table()->selectedRow(), 6);
        pressKey(Qt::Key_Up);
        QCOMPARE(table()->selectedRow(), 4);
        pressKey(Qt::Key_Home);
        QCOMPARE(table()->selectedRow(), 1);
        pressKey(Qt::Key_Up);
        QCOMPARE(table()->selectedRow(), 1);
        pressKey(Qt::Key_End);
        QCOMPARE(table()->selectedRow(), 11);
    }

    void clickingAHeadingOrBelowTheRowsDeselects()
    {
        table()->selectRow(2);
        click(rowRect(5).center());
        QCOMPARE(table()->selectedRow(), -1);
        table()->selectRow(2);
        click(QPoint(100, rowRect(11).bottom() + 12));
        QCOMPARE(table()->selectedRow(), -1);
        click(rowRect(3).center());
        QCOMPARE(table()->selectedRow(), 3);
    }

    void aCommandClickLeavesTheSelectionAlone()
    {
        table()->selectRow(2);
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, Qt::ControlModifier,
                          rowRect(6).center());
        QCOMPARE(table()->selectedRow(), 2);
    }

    void selectedFileIndexFollowsTheSelectedRow()
    {
        click(rowRect(7).center());
        QCOMPARE(selectedFileIndex, 7);
        click(rowRect(2).center());
        QCOMPARE(selectedFileIndex, 2);
        // Every reload reads the applications list again and forgets the file.
        sharedFilesViewController->reloadFilesTable();
        QCOMPARE(table()->selectedRow(), 2);
        QCOMPARE(selectedFileIndex, 2);
    }

    void aDoubleClickOpensTheFileOfThatRow()
    {
        doubleClick(rowRect(6).center());
        QCOMPARE(m_posted, QVariantList({QVariant::fromValue<qlonglong>(6)}));
        QCOMPARE(m_actions->opened.size(), 1);
        QCOMPARE(m_actions->opened.constFirst().index, 6);
        QCOMPARE(m_actions->opened.constFirst().viewType, QStringLiteral("list"));
        QVERIFY(!m_actions->opened.constFirst().reveal);
    }

    void aDoubleClickOnAHeadingOpensNothing()
    {
        doubleClick(rowRect(5).center());
        QVERIFY(m_posted.isEmpty());
        QCOMPARE(table()->selectedRow(), -1);
    }

    void whileThePreviewIsOpenADoubleClickOnlySelects()
    {
        m_controller->contentViewController()
            ->filesViewController()
            ->filesTableViewController()
            ->setPreviewPanelOpen(true);
        doubleClick(rowRect(2).center());
        QVERIFY(m_posted.isEmpty());
        QCOMPARE(table()->selectedRow(), 2);
    }

    void returnOpensTheSelectedRow()
    {
        table()->setFocus();
        pressKey(Qt::Key_Return);
        QVERIFY(m_posted.isEmpty());
        table()->selectRow(9);
        pressKey(Qt::Key_Return);
        QCOMPARE(m_posted, QVariantList({QVariant::fromValue<qlonglong>(9)}));
        QCOMPARE(m_actions->opened.constLast().index, 9);
    }

    void spaceAsksForThePreviewAndLeftClosesIt()
    {
        table()->setFocus();
        table()->selectRow(3);
        pressKey(Qt::Key_Space);
        QCOMPARE(m_actions->previewed, QList<QAbstractItemView*>{table()});
        pressKey(Qt::Key_Left);
        QCOMPARE(m_actions->closed, 1);
        // The window takes Left on: back to the applications, the file forgotten.
        QCOMPARE(QApplication::focusWidget(), appsTable());
        QCOMPARE(table()->selectedRow(), -1);
        QCOMPARE(selectedFileIndex, -1);
    }

    void theSelectionMovingReloadsThePreview()
    {
        m_actions->reloads = 0;
        table()->selectRow(1);
        table()->selectRow(2);
        QCOMPARE(m_actions->reloads, 2);
    }

    void escapeHidesTheWindow()
    {
        table()->setFocus();
        table()->selectRow(1);
        pressKey(Qt::Key_Escape);
        QVERIFY(!m_controller->window()->isShown());
    }

    // A long name is shortened in its middle, as in the grid: its start and its type stay.
    void longNamesKeepTheirStartAndType_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("width");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("end");
        const QString quarterly =
            QStringLiteral("Quarterly review of the regional sales figures for the board.txt");
        QTest::newRow("fits") << QStringLiteral("Notes.txt") << 400 << "Notes.txt"
                              << "Notes.txt";
        QTest::newRow("long") << quarterly << 240 << "Quarterly"
                              << "board.txt";
        QTest::newRow("narrow") << quarterly << 70 << "Q"
                                << "\u2026.txt";
        QTest::newRow("right to left")
            << QStringLiteral("\u05D3\u05D5\u05D7 \u05E8\u05D1\u05E2\u05D5\u05E0\u05D9 "
                              "\u05E9\u05DC \u05D4\u05DE\u05DB\u05D9\u05E8\u05D5\u05EA "
                              "\u05D1\u05D0\u05D6\u05D5\u05E8 \u05D4\u05E6\u05E4\u05D5\u05DF.pdf")
            << 90 << "\u05D3"
            << ".pdf";
        QTest::newRow("no type") << QStringLiteral("Minutes of the meeting held on the 3.5 draft")
                                 << 150 << "Minutes"
                                 << "draft";
    }

    void longNamesKeepTheirStartAndType()
    {
        QFETCH(QString, name);
        QFETCH(int, width);
        QFETCH(QString, start);
        QFETCH(QString, end);
        const QFont& font = themePalette().listTitleFont;
        const QString shown = FilesTableCell::shownTitle(name, font, false, width);
        QVERIFY2(shown.startsWith(start) && shown.endsWith(end), qPrintable(shown));
        QVERIFY(QFontMetrics(font).horizontalAdvance(shown) <= width);
        QCOMPARE(shown.contains(u'\u2026'), shown != name);
    }

    void ctrlShowsTheSelectedFilesLocationRelativeToHome()
    {
        table()->setFocus();
        table()->selectRow(3);
        const QModelIndex floorPlan = model()->index(3, 0);
        QVERIFY(!floorPlan.data(RecentFilesModel::ShowsPathRole).toBool());
        QTest::keyPress(window(), Qt::Key_Control);
        QVERIFY(floorPlan.data(RecentFilesModel::ShowsPathRole).toBool());
        QCOMPARE(floorPlan.data(RecentFilesModel::PathTextRole).toString(),
                 QStringList({QStringLiteral("Documents"), QStringLiteral("House"),
                              QStringLiteral("Floor plan.png")})
                     .join(listSeparator));
        // Another row chosen while Ctrl is down shows its location; the old one its name.
        table()->selectRow(1);
        QVERIFY(!floorPlan.data(RecentFilesModel::ShowsPathRole).toBool());
        QVERIFY(model()->index(1, 0).data(RecentFilesModel::ShowsPathRole).toBool());
        QTest::keyRelease(window(), Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(!model()->index(1, 0).data(RecentFilesModel::ShowsPathRole).toBool());
        QCOMPARE(model()->pathRow(), -1);
    }

    void aLocationOutsideHomeStartsBelowTheRoot()
    {
        QCOMPARE(
            FilePathText::forPath(QStringLiteral("/srv/shared/Q3.pdf"), QStringLiteral("/home/ada"),
                                  listSeparator),
            QStringList({QStringLiteral("srv"), QStringLiteral("shared"), QStringLiteral("Q3.pdf")})
                .join(listSeparator));
        QCOMPARE(FilePathText::forPath(QStringLiteral("/home/ada/Documents/Reports/Q3.pdf"),
                                       QStringLiteral("/home/ada/"), listSeparator),
                 QStringLiteral("Documents  \u25B8  Reports  \u25B8  Q3.pdf"));
        // A neighbour whose name starts like the home folder is outside it.
        QCOMPARE(FilePathText::forPath(QStringLiteral("/home/adam/a.txt"),
                                       QStringLiteral("/home/ada"), QStringLiteral("/")),
                 QStringLiteral("home/adam/a.txt"));
    }

    void filesDragOutAsTheirFilesAndHeadingsDoNot()
    {
        QVERIFY(table()->dragEnabled());
        QVERIFY(!(model()->flags(model()->index(0, 0)) & Qt::ItemIsDragEnabled));
        QVERIFY(model()->flags(model()->index(1, 0)) & Qt::ItemIsDragEnabled);
        const QUrl first = model()->index(1, 0).data(RecentFilesModel::FileUrlRole).toUrl();
        const QUrl second = model()->index(2, 0).data(RecentFilesModel::FileUrlRole).toUrl();
        const std::unique_ptr<QMimeData> data(
            model()->mimeData({model()->index(0, 0), model()->index(1, 0), model()->index(2, 0)}));
        QVERIFY(data);
        QCOMPARE(data->urls(), QList<QUrl>({first, second}));
        QVERIFY(!model()->mimeData({model()->index(0, 0)}));
        QVERIFY(model()->supportedDragActions() & Qt::CopyAction);
    }

    void typeIconsTellSuffixesAndWholeNamesApart()
    {
        // The type is remembered by every suffix, so a later ".gz" is not taken for ".tar.gz",
        // and a file named "pdf" is not a PDF document.
        QMimeDatabase types;
        FileIconCache& icons = FileIconCache::shared();
        for (const QString& name : {QStringLiteral("backup.tar.gz"), QStringLiteral("log.gz"),
                                    QStringLiteral("Report.pdf"), QStringLiteral("pdf")}) {
            const QList<QMimeType> expected = types.mimeTypesForFileName(name);
            QCOMPARE(icons.mimeTypeName(name), expected.isEmpty()
                                                   ? QStringLiteral("application/octet-stream")
                                                   : expected.constFirst().name());
        }
        QCOMPARE(icons.mimeTypeName(QStringLiteral("log.gz")), QStringLiteral("application/gzip"));
        QVERIFY(icons.mimeTypeName(QStringLiteral("pdf")) != u"application/pdf");
    }

    void aHomeReachedThroughALinkStillCountsAsHome()
    {
        QTemporaryDir folder;
        const QString realHome = QFileInfo(folder.path()).canonicalFilePath();
        QVERIFY(QDir(realHome).mkpath(QStringLiteral("home/ada/Documents")));
        const QString linkedHome = realHome + QStringLiteral("/link-to-ada");
        QVERIFY(QFile::link(realHome + QStringLiteral("/home/ada"), linkedHome));
        const QByteArray savedHome = qgetenv("HOME");
        qputenv("HOME", linkedHome.toUtf8());
        const QString shown = FilePathText::forFile(
            QUrl::fromLocalFile(realHome + QStringLiteral("/home/ada/Documents/Q3.pdf")),
            QStringLiteral("/"));
        qputenv("HOME", savedHome);
        QCOMPARE(shown, QStringLiteral("Documents/Q3.pdf"));
    }

    void theMenusQuickLookItemNamesTheFile()
    {
        QVERIFY(!table()->menuForEvent(rowRect(0).center()));
        QMenu* menu = table()->menuForEvent(rowRect(2).center());
        QVERIFY(menu);
        QCOMPARE(table()->selectedRow(), 2);
        table()->willOpenMenu();
        QAction* quickLook = QuickLookMenuItem::item(menu);
        QVERIFY(quickLook);
        QCOMPARE(quickLook->data().toInt(), 1234);
        QCOMPARE(quickLook->text(),
                 QStringLiteral("Preview \"") + FilesTestHome::viewerNames().at(1) + u'"');
        // The menu's Open item opens the selected row.
        menu->actions().constFirst()->trigger();
        QCOMPARE(m_posted, QVariantList({QVariant::fromValue<qlonglong>(2)}));
    }

    void aRefreshKeepsTheSelectedDocument()
    {
        table()->selectRow(7);
        QVERIFY(refreshStoreAndWait());
        QCOMPARE(table()->selectedRow(), 7);
        QCOMPARE(selectedFileIndex, 7);
    }

    void anotherApplicationShowsItsOwnFiles()
    {
        table()->selectRow(7);
        sharedAppsViewController->selectRow(1);
        QCOMPARE(model()->rowCount(), 3);
        QCOMPARE(model()->index(0, 0).data().toString(), QStringLiteral("LAST WEEK AND BEYOND"));
        QCOMPARE(model()->index(1, 0).data().toString(), QStringLiteral("To do.txt"));
        QCOMPARE(table()->selectedRow(), -1);
        sharedAppsViewController->selectRow(0);
        QCOMPARE(model()->rowCount(), 12);
    }

    void thumbnailsAreMadeAtTheListsSize()
    {
        RecentFilesModel* files = model();
        table()->viewport()->repaint();
        QTRY_VERIFY_WITH_TIMEOUT(
            files->index(1, 0).data(RecentFilesModel::HasThumbnailRole).toBool(), 60000);
        const QUrl url = files->index(1, 0).data(RecentFilesModel::FileUrlRole).toUrl();
        QVERIFY(ThumbnailCache::cachedThumbnail(url, 86, 86));
        const auto picture = files->index(1, 0).data(Qt::DecorationRole).value<QPixmap>();
        QVERIFY(picture.deviceIndependentSize().width() <= 28);
        QVERIFY(picture.deviceIndependentSize().height() <= 28);
    }

private:
    FilesTable* table() const
    {
        FilesTableViewController* list = m_controller->contentViewController()
                                             ->filesViewController()
                                             ->filesTableViewController();
        return list ? list->filesTable() : nullptr;
    }
    RecentFilesModel* model() const { return table()->filesModel(); }
    QAbstractItemView* appsTable() const
    {
        return m_controller->contentViewController()->appsViewController()->table();
    }
    QWindow* window() const { return m_controller->window()->windowHandle(); }
    QRect rowRect(int row) const { return table()->visualRect(model()->index(row, 0)); }
    void click(const QPoint& pos)
    {
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
    }
    // As the mouse sends it: a click, then the second press as a double click.
    void doubleClick(const QPoint& pos)
    {
        click(pos);
        QTest::mouseDClick(table()->viewport(), Qt::LeftButton, Qt::NoModifier, pos);
    }
    void pressKey(Qt::Key key) { QTest::keyClick(window(), key); }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
    RecordingFileActions* m_actions = nullptr;
    QVariantList m_posted;
    NotificationCenter::Token m_token = 0;
};

WINDOW_TEST_MAIN(FilesListTest)
#include "FilesListTest.moc"
