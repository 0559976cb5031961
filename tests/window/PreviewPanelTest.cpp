// The preview window as the views use it: Space opens it on the selection and closes it again,
// the view's controller controls it (and knows it before the window takes the focus), the keys
// the view moves by reach the view from the window, the window grows from the document's
// picture, follows the look, remembers its size, never keeps the browsing window from its
// rules, and closes when its view or the browsing window goes.
#include "PreviewPanel.h"

#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "FileActions.h"
#include "FilesGridViewController.h"
#include "FilesTable.h"
#include "FilesTableViewController.h"
#include "FilesTestHome.h"
#include "FilesViewController.h"
#include "GridCollectionView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "PreviewContentView.h"
#include "PreviewZoom.h"
#include "RecentFilesModel.h"
#include "SharedReferences.h"
#include "TelemetryClient.h"
#include "ThemePalette.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QTest>

namespace {
// A grid "one row down" from where it starts.
constexpr int rowBelow = 1000;
} // namespace

class PreviewPanelTest : public QObject
{
    Q_OBJECT

public:
    explicit PreviewPanelTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        FilesTestHome::installCalendar();
        FilesTestHome::useSystemDataFolders(m_home.home());
        FilesTestHome::addViewer(m_home.home());
        QVERIFY(refreshStoreAndWait());
        FileActions::install(std::make_unique<FileActions>());
    }

    void cleanupTestCase() { FileActions::install(nullptr); }

    void init()
    {
        UserDefaults::standard().setObject(QStringLiteral("AutoHideWindow"), false);
        QVERIFY(showFocusedMainWindow(m_controller));
        m_home.appearance().setStyle(QString());
    }

    void cleanup()
    {
        setWindowAutoHide(false);
        closeQuickLook();
    }

    void spaceShowsTheSelectionAndSpaceClosesIt_data()
    {
        QTest::addColumn<int>("viewType");
        QTest::addColumn<int>("row");
        QTest::addColumn<int>("file");
        QTest::addColumn<QString>("event");
        QTest::addColumn<bool>("autoHide");
        QTest::addColumn<int>("closingKey");
        QTest::newRow("list") << 0 << 2 << 1 << QStringLiteral("quicklookInvoked_FromTable")
                              << false << int(Qt::Key_Space);
        QTest::newRow("grid") << 1 << 1 << 1 << QStringLiteral("quicklookInvoked_FromGrid") << false
                              << int(Qt::Key_Space);
        QTest::newRow("list, auto-hide, Escape")
            << 0 << 4 << 3 << QStringLiteral("quicklookInvoked_FromTable") << true
            << int(Qt::Key_Escape);
    }

    void spaceShowsTheSelectionAndSpaceClosesIt()
    {
        QFETCH(int, viewType);
        QFETCH(int, row);
        QFETCH(int, file);
        QFETCH(QString, event);
        QFETCH(bool, autoHide);
        QFETCH(int, closingKey);
        // The window changes mode while hidden: a shown (or iconified) one settles its new frame
        // a moment later, and the zoom would start from where the picture was before.
        m_controller->window()->hide();
        setWindowAutoHide(autoHide);
        MainWindowHelper::showMainWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_controller->window()));
        QAbstractItemView* view = showView(viewType, row);
        QList<bool> openWhenFocused;
        // Owned here, so a failed check leaves no connection to this frame's variables behind.
        QObject watcher;
        const QMetaObject::Connection watch =
            connect(qApp, &QGuiApplication::focusWindowChanged, &watcher,
                    [&openWhenFocused](QWindow* focus) {
                        if (focus && focus == PreviewPanel::sharedPreviewPanel()->windowHandle())
                            openWhenFocused << sharedFilesViewController->isPreviewPanelOpen();
                    });
        QTest::keyClick(mainWindow(), Qt::Key_Space);
        PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
        QVERIFY(panel->isVisible());
        // It grows from the document's picture in the view.
        const auto* zoom = panel->findChild<PreviewZoom*>();
        QVERIFY(zoom);
        QCOMPARE(zoom->from(), panel->delegate()->sourceFrameOnScreen(panel, QUrl()));
        QCOMPARE(panel->contentView()->item(), QUrl::fromLocalFile(document(file)));
        QCOMPARE(panel->windowTitle(), FilesTestHome::viewerDocuments().at(file).name);
        QVERIFY(TelemetryClient::shared().trackedEvents().contains(event));
        QTRY_COMPARE(QGuiApplication::focusWindow(), panel->windowHandle());
        disconnect(watch);
        // The controller knew before the focus moved, so auto-hide kept the window up; a window
        // floating above the others has the preview above it.
        QCOMPARE(openWhenFocused, QList<bool>{true});
        QVERIFY(m_controller->window()->isVisible());
        QCOMPARE(panel->windowFlags().testFlag(Qt::WindowStaysOnTopHint), autoHide);

        QTest::keyClick(panel->windowHandle(), static_cast<Qt::Key>(closingKey));
        QVERIFY(!panel->isVisible());
        QVERIFY(!sharedFilesViewController->isPreviewPanelOpen());
        QVERIFY(!panel->delegate() && !panel->dataSource());
        // Closed from its own keys, the preview gives the keys back to the window.
        QTRY_COMPARE(QGuiApplication::focusWindow(), mainWindow());
        QVERIFY(m_controller->window()->isVisible());
        QCOMPARE(view->selectionModel()->selectedIndexes().size(), 1);
    }

    void theKeysTheViewMovesByReachIt_data()
    {
        QTest::addColumn<int>("viewType");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("from");
        // The row or item selected afterwards; -1 when the preview closed on the way back to the
        // applications.
        QTest::addColumn<int>("to");
        QTest::newRow("list Down") << 0 << int(Qt::Key_Down) << 4 << 6;
        QTest::newRow("list Up") << 0 << int(Qt::Key_Up) << 2 << 1;
        QTest::newRow("list Right stays the panel's") << 0 << int(Qt::Key_Right) << 2 << 2;
        QTest::newRow("list Left") << 0 << int(Qt::Key_Left) << 2 << -1;
        QTest::newRow("grid Right") << 1 << int(Qt::Key_Right) << 0 << 1;
        QTest::newRow("grid Left") << 1 << int(Qt::Key_Left) << 2 << 1;
        QTest::newRow("grid Down") << 1 << int(Qt::Key_Down) << 0 << rowBelow;
        QTest::newRow("grid Left on the first") << 1 << int(Qt::Key_Left) << 0 << -1;
    }

    void theKeysTheViewMovesByReachIt()
    {
        QFETCH(int, viewType);
        QFETCH(int, key);
        QFETCH(int, from);
        QFETCH(int, to);
        QAbstractItemView* view = showView(viewType, from);
        if (to == rowBelow)
            to = from +
                 view->viewport()->width() / static_cast<QListView*>(view)->gridSize().width();
        QTest::keyClick(mainWindow(), Qt::Key_Space);
        PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
        QTRY_COMPARE(QGuiApplication::focusWindow(), panel->windowHandle());
        QTest::keyClick(panel->windowHandle(), static_cast<Qt::Key>(key));
        const QModelIndexList selected = view->selectionModel()->selectedIndexes();
        QCOMPARE(selected.isEmpty() ? -1 : selected.constFirst().row(), to);
        QCOMPARE(panel->isVisible(), to >= 0);
        if (to >= 0) {
            // The preview follows the selection.
            const auto* files = static_cast<RecentFilesModel*>(view->model());
            QCOMPARE(panel->contentView()->item(), files->fileAt(to)->filePath());
        } else {
            QTRY_COMPARE(QApplication::focusWidget(), sharedAppsViewController->table());
        }
    }

    void theControllerAnswersForItsSelection_data()
    {
        QTest::addColumn<int>("viewType");
        QTest::addColumn<int>("row");
        QTest::addColumn<QSize>("pictureSize");
        QTest::newRow("list") << 0 << 3 << QSize(28, 28);
        QTest::newRow("grid") << 1 << 2 << QSize(96, 96);
    }

    void theControllerAnswersForItsSelection()
    {
        QFETCH(int, viewType);
        QFETCH(int, row);
        QFETCH(QSize, pictureSize);
        QAbstractItemView* view = showView(viewType, row);
        QTest::keyClick(mainWindow(), Qt::Key_Space);
        PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
        PreviewPanelDataSource* source = panel->dataSource();
        PreviewPanelDelegate* delegate = panel->delegate();
        QVERIFY(source && delegate);
        QCOMPARE(source->numberOfPreviewItems(panel), 1);
        QCOMPARE(source->previewItemAt(panel, 0), QUrl::fromLocalFile(document(2)));
        const QRect rowOnScreen(
            view->viewport()->mapToGlobal(view->visualRect(view->model()->index(row, 0)).topLeft()),
            view->visualRect(view->model()->index(row, 0)).size());
        const QRect picture = delegate->sourceFrameOnScreen(panel, QUrl());
        QCOMPARE(picture.size(), pictureSize);
        QVERIFY(rowOnScreen.contains(picture));
        QVERIFY(!delegate->transitionImage(panel, QUrl()).isNull());
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Down, Qt::NoModifier);
        QVERIFY(!delegate->handleEvent(panel, &release));
        QKeyEvent returnKey(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QVERIFY(!delegate->handleEvent(panel, &returnKey));

        view->selectionModel()->clearSelection();
        QCOMPARE(source->numberOfPreviewItems(panel), 0);
        QCOMPARE(source->previewItemAt(panel, 0), QUrl());
        QVERIFY(delegate->sourceFrameOnScreen(panel, QUrl()).isEmpty());
        QVERIFY(delegate->transitionImage(panel, QUrl()).isNull());
        // The panel follows: nothing to show.
        QCOMPARE(panel->contentView()->item(), QUrl());
    }

    void thePreviewClosesWhenItsViewOrTheWindowGoes()
    {
        showView(0, 1);
        QTest::keyClick(mainWindow(), Qt::Key_Space);
        PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
        QVERIFY(panel->isVisible());
        // The list is replaced by the grid: its controller goes, and the preview with it.
        m_controller->contentViewController()->selectViewType(1);
        QTRY_VERIFY(!panel->isVisible());
        QVERIFY(!panel->currentController());
        GridCollectionView* grid =
            sharedFilesViewController->filesGridViewController()->collectionView();
        QCOMPARE(grid->selectedItem(), 0);
        QTest::keyClick(mainWindow(), Qt::Key_Space);
        QVERIFY(panel->isVisible());
        QVERIFY(sharedFilesViewController->filesGridViewController()->isPreviewPanelOpen());
        MainWindowHelper::hideMainWindow();
        QVERIFY(!panel->isVisible());
        QVERIFY(!sharedFilesViewController->isPreviewPanelOpen());
    }

    void thePreviewFollowsTheLookAndKeepsItsSize()
    {
        showView(1, 0);
        QTest::keyClick(mainWindow(), Qt::Key_Space);
        PreviewPanel* panel = PreviewPanel::sharedPreviewPanel();
        panel->resize(560, 420);
        QTRY_VERIFY(panel->contentView()->item().isValid());
        for (const QString& style : {QString(), QStringLiteral("Dark")}) {
            m_home.appearance().setStyle(style);
            QTRY_COMPARE(panel->palette().color(QPalette::Window), themePalette().backgroundColor);
            QCOMPARE(panel->contentView()->palette().color(QPalette::WindowText),
                     themePalette().widgetPalette.color(QPalette::WindowText));
            const QString look = style.isEmpty() ? QStringLiteral("light") : QStringLiteral("dark");
            QVERIFY(panel->grab().save(FilesTestHome::artifactsFolder() +
                                       QStringLiteral("/preview-") + look +
                                       QStringLiteral(".png")));
        }
        closeQuickLook();
        QCOMPARE(UserDefaults::standard().object(PreviewPanel::sizeKey).toSize(), QSize(560, 420));
        // A new browsing window makes a new panel, at the size kept.
        QVERIFY(showFocusedMainWindow(m_controller));
        QVERIFY(!PreviewPanel::sharedPreviewPanelExists());
        showView(1, 0);
        QTest::keyClick(mainWindow(), Qt::Key_Space);
        QCOMPARE(PreviewPanel::sharedPreviewPanel()->size(), QSize(560, 420));
    }

private:
    // Shows the list (0) or the grid (1) with the focus and the row or item selected.
    QAbstractItemView* showView(int viewType, int row)
    {
        m_controller->contentViewController()->selectViewType(viewType);
        QAbstractItemView* view =
            viewType == 0 ? static_cast<QAbstractItemView*>(
                                sharedFilesViewController->filesTableViewController()->filesTable())
                          : sharedFilesViewController->filesGridViewController()->collectionView();
        view->setFocus();
        view->selectionModel()->setCurrentIndex(view->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect);
        return view;
    }
    QString document(int file) const
    {
        const FilesTestHome::Document& entry = FilesTestHome::viewerDocuments().at(file);
        return m_home.home().path() + u'/' + entry.relativePath + u'/' + entry.name;
    }
    QWindow* mainWindow() const { return m_controller->window()->windowHandle(); }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
};

WINDOW_TEST_MAIN(PreviewPanelTest)
#include "PreviewPanelTest.moc"
