// The file actions as the application installs them: documents open through GIO with the
// desktop entry of the application that recorded them (one of the test's own, which writes down
// its arguments), list rows counted past their headings, the outcome written out, the window
// hidden in auto-hide mode without waiting for the launch; documents shown in the file manager;
// the context menu acting on the view the setting names; and what a started drag carries.
#include "FileActions.h"

#include "AppsTableViewController.h"
#include "Diagnostics.h"
#include "FilesContextMenu.h"
#include "FilesGridViewController.h"
#include "FilesTable.h"
#include "FilesTableViewController.h"
#include "FilesTestHome.h"
#include "FilesViewController.h"
#include "GioApplicationLauncher.h"
#include "GridCollectionView.h"
#include "GridItem.h"
#include "GridItemLayout.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "MainWindowHelper.h"
#include "PreviewContentView.h"
#include "PreviewPanel.h"
#include "RecentFilesModel.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "TelemetryClient.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "WindowTestSupport.h"

#include <QApplication>
#include <QDrag>
#include <QFile>
#include <QMimeData>
#include <QMouseEvent>
#include <QSemaphore>
#include <QTest>
#include <QTimer>

namespace {
const QString oddName = QStringLiteral("it's \"a\" 50% #1 ünïcode.pdf");

// Holds every launch until released, to show that nothing waits for one.
class HeldLauncher : public ApplicationLauncher
{
public:
    bool launch(const QString&, const QList<QUrl>&, QString*) override
    {
        entered.release();
        const bool released = release.tryAcquire(1, 20000);
        finished.storeRelease(1);
        return released;
    }
    QSemaphore entered;
    QSemaphore release;
    QAtomicInt finished;
};

// Puts a launcher in place for one test, and the one before it back however the test ends.
class LauncherInPlace
{
public:
    explicit LauncherInPlace(std::unique_ptr<ApplicationLauncher> launcher)
        : m_previous(ApplicationLauncher::replaceShared(std::move(launcher)))
    {}
    ~LauncherInPlace() { ApplicationLauncher::replaceShared(std::move(m_previous)); }

private:
    std::unique_ptr<ApplicationLauncher> m_previous;
};

struct StartedDrag
{
    QList<QUrl> urls;
    Qt::DropActions actions;
    QPixmap image;
};
} // namespace

class FileActionsTest : public QObject
{
    Q_OBJECT

public:
    explicit FileActionsTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void initTestCase()
    {
        TestHome& home = m_home.home();
        FilesTestHome::installCalendar();
        FilesTestHome::useSystemDataFolders(home);
        FilesTestHome::addViewer(home);
        m_launchLog = home.path() + QStringLiteral("/launches");
        const QString recorder = home.writeFile(
            home.path() + QStringLiteral("/bin/record-arguments"),
            QStringLiteral(
                "#!/bin/sh\n{ printf '%s\\n' \"$#\"; printf '%s\\n' \"$@\"; } >> \"%1\"\n")
                .arg(m_launchLog)
                .toUtf8());
        QFile::setPermissions(recorder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        // Viewer and a second application start the recorder with the documents' paths.
        installRecordingApplication(QStringLiteral("org.example.Viewer"), recorder);
        installRecordingApplication(QStringLiteral("org.example.Recorder"), recorder);
        const QDateTime lastWeek = FilesTestHome::now().addDays(-8);
        m_oddDocument = home.createDocument(QStringLiteral("Documents/") + oddName, lastWeek);
        home.writeRecord(QStringLiteral("org.example.Recorder"), {m_oddDocument}, lastWeek);
        QVERIFY(refreshStoreAndWait());
        m_recordingLauncher =
            ApplicationLauncher::replaceShared(std::make_unique<GioApplicationLauncher>());
        FileActions::install(std::make_unique<FileActions>());
        m_previousSink = Diagnostics::setSink([this](const QString& line) { m_lines << line; });
    }

    void cleanupTestCase()
    {
        Diagnostics::setSink(m_previousSink);
        FileActions::install(nullptr);
        ApplicationLauncher::replaceShared(std::move(m_recordingLauncher));
    }

    void init()
    {
        UserDefaults::standard().setObject(QStringLiteral("AutoHideWindow"), false);
        QFile::remove(m_launchLog);
        m_lines.clear();
        m_home.fileManager().selected.clear();
        QVERIFY(showFocusedMainWindow(m_controller));
    }

    void returnOpensTheDocumentWithItsApplication_data()
    {
        QTest::addColumn<int>("viewType");
        QTest::addColumn<int>("app");
        QTest::addColumn<int>("row");
        QTest::addColumn<QString>("document");
        // Row 6 is the first file under THIS WEEK: Viewer's fifth document.
        QTest::newRow("a list row under the second heading") << 0 << 0 << 6 << viewerDocument(4);
        QTest::newRow("an odd name, one argument") << 1 << 1 << 0 << m_oddDocument;
    }

    void returnOpensTheDocumentWithItsApplication()
    {
        QFETCH(int, viewType);
        QFETCH(int, app);
        QFETCH(int, row);
        QFETCH(QString, document);
        m_controller->contentViewController()->selectViewType(viewType);
        sharedAppsViewController->selectRow(app);
        QAbstractItemView* view =
            viewType == 0 ? static_cast<QAbstractItemView*>(list()->filesTable()) : gridView();
        view->setFocus();
        view->selectionModel()->setCurrentIndex(view->model()->index(row, 0),
                                                QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(window(), Qt::Key_Return);
        QTRY_COMPARE(launches(), QList<QStringList>{{document}});
        QTRY_COMPARE(m_lines, QStringList{QStringLiteral("File opened successfully.")});
        QVERIFY(TelemetryClient::shared().trackedEvents().contains(u"fileOpenedInApp"));
        QVERIFY(m_controller->window()->isVisible());
        sharedAppsViewController->selectRow(0);
    }

    void aFailedLaunchIsWrittenOut_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<QString>("text");
        QTest::newRow("no entry") << QStringLiteral("/nowhere/org.example.Gone.desktop")
                                  << QString();
        QTest::newRow("no program")
            << m_home.home().path() + QStringLiteral("/.local/share/applications/broken.desktop")
            << QStringLiteral("[Desktop Entry]\nType=Application\nName=Broken\n"
                              "Exec=/nowhere/broken %f\n");
    }

    void aFailedLaunchIsWrittenOut()
    {
        QFETCH(QString, entry);
        QFETCH(QString, text);
        if (!text.isEmpty())
            m_home.home().writeFile(entry, text.toUtf8());
        const QUrl document = QUrl::fromLocalFile(viewerDocument(0));
        const RecentApp app(entry, QUrl(), QStringLiteral("Broken"), FilesTestHome::now(),
                            {RecentFile(QStringLiteral("Document"), {}, document,
                                        FilesTestHome::now(), QStringLiteral("Today"))},
                            {});
        openRecentFile(app, 0, QStringLiteral("grid"), false);
        QTRY_COMPARE(m_lines.size(), 1);
        QVERIFY2(m_lines.constFirst().startsWith(QStringLiteral("Error opening file: ")) &&
                     m_lines.constFirst().size() > 20,
                 qPrintable(m_lines.constFirst()));
    }

    void autoHideHidesTheWindowAtOnce_data()
    {
        QTest::addColumn<bool>("reveal");
        QTest::addColumn<bool>("autoHide");
        QTest::newRow("open, auto-hide") << false << true;
        QTest::newRow("open, ordinary") << false << false;
        QTest::newRow("reveal, auto-hide") << true << true;
        QTest::newRow("reveal, ordinary") << true << false;
    }

    void autoHideHidesTheWindowAtOnce()
    {
        QFETCH(bool, reveal);
        QFETCH(bool, autoHide);
        setWindowAutoHide(autoHide);
        auto held = std::make_unique<HeldLauncher>();
        HeldLauncher& launcher = *held;
        const LauncherInPlace inPlace(std::move(held));
        m_controller->contentViewController()->selectViewType(0);
        list()->filesTable()->selectRow(7);
        openRecentFile(selectedApp.constFirst(), 7, QStringLiteral("list"), reveal);
        QCOMPARE(m_controller->window()->isShown(), !autoHide);
        if (reveal) {
            QCOMPARE(m_home.fileManager().selected, QStringList{viewerDocument(5)});
            QVERIFY(TelemetryClient::shared().trackedEvents().contains(u"fileOpenedInFinder"));
        } else {
            // The window was settled while the application was still being started.
            QVERIFY(launcher.entered.tryAcquire(1, 30000));
            QVERIFY(!launcher.finished.loadAcquire());
            launcher.release.release();
            QTRY_COMPARE(m_lines, QStringList{QStringLiteral("File opened successfully.")});
        }
    }

    void theMenuActsOnTheViewTheSettingNames()
    {
        m_controller->contentViewController()->selectViewType(1);
        GridCollectionView* grid = gridView();
        const QModelIndex item = grid->filesModel()->index(2, 0);
        const QPoint picture = GridItemLayout(grid->visualRect(item), GridItem::titleOf(item))
                                   .thumbnailContainer()
                                   .center();
        auto* menu = qobject_cast<FilesContextMenu*>(grid->menuForEvent(picture));
        QVERIFY(menu);
        QCOMPARE(grid->selectedItem(), 2);
        QStringList titles;
        for (const QAction* action : menu->actions())
            titles << action->text();
        QCOMPARE(titles,
                 QStringList({QStringLiteral("Open"), QStringLiteral("Show in File Manager"),
                              QString(), QStringLiteral("Preview"), QString(),
                              QStringLiteral("Remove from Recent")}));
        // A per-application record is cleared whole: one document cannot be taken out of it.
        Q_EMIT menu->aboutToShow();
        QVERIFY(!menu->removeItem()->isEnabled());
        QVERIFY(!menu->removeItem()->toolTip().isEmpty());
        menu->revealInFinder();
        QCOMPARE(m_home.fileManager().selected, QStringList{viewerDocument(2)});
        menu->open();
        QTRY_COMPARE(launches(), QList<QStringList>{{viewerDocument(2)}});
        QTRY_COMPARE(m_lines, QStringList{QStringLiteral("File opened successfully.")});
        menu->quickLook();
        QVERIFY(PreviewPanel::sharedPreviewPanel()->isVisible());
        QCOMPARE(PreviewPanel::sharedPreviewPanel()->contentView()->item(),
                 QUrl::fromLocalFile(viewerDocument(2)));
        closeQuickLook();
        // The setting names the list, which is not shown: the menu does nothing.
        UserDefaults::standard().setObject(QStringLiteral("FilesViewType"), QStringLiteral("list"));
        menu->revealInFinder();
        menu->quickLook();
        QCOMPARE(m_home.fileManager().selected.size(), 1);
        QVERIFY(!PreviewPanel::sharedPreviewPanel()->isVisible());
        UserDefaults::standard().setObject(QStringLiteral("FilesViewType"), QStringLiteral("grid"));
    }

    void aStartedDragCarriesTheFileToCopyOrLink_data()
    {
        QTest::addColumn<int>("viewType");
        QTest::newRow("list") << 0;
        QTest::newRow("grid") << 1;
    }

    void aStartedDragCarriesTheFileToCopyOrLink()
    {
        QFETCH(int, viewType);
        m_controller->contentViewController()->selectViewType(viewType);
        QAbstractItemView* view =
            viewType == 0 ? static_cast<QAbstractItemView*>(list()->filesTable()) : gridView();
        const int row = viewType == 0 ? 2 : 1;
        const StartedDrag drag =
            dragFrom(view, view->visualRect(view->model()->index(row, 0)).center());
        QCOMPARE(drag.urls, QList<QUrl>{QUrl::fromLocalFile(viewerDocument(1))});
        // Never moved: the record would point where the document no longer is.
        QCOMPARE(drag.actions, Qt::CopyAction | Qt::LinkAction);
        QVERIFY(!drag.image.isNull());
        if (viewType == 0) {
            // The capsule: the icon and the name beside it, one row high.
            const QSize size = drag.image.deviceIndependentSize().toSize();
            QVERIFY(size.width() > 28 + 10 && size.height() == 36);
            QVERIFY(drag.image.save(FilesTestHome::artifactsFolder() +
                                    QStringLiteral("/drag-capsule.png")));
        }
    }

private:
    void installRecordingApplication(const QString& id, const QString& program)
    {
        m_home.home().writeFile(
            m_home.home().dataHome() + QStringLiteral("/applications/") + id +
                QStringLiteral(".desktop"),
            QStringLiteral("[Desktop Entry]\nType=Application\nName=%1\nExec=%2 %f\nIcon=%3\n")
                .arg(id.section(u'.', -1), program, id)
                .toUtf8());
    }

    // Each launch the recorder saw, as the arguments it was given.
    QList<QStringList> launches() const
    {
        QFile file(m_launchLog);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
        QList<QStringList> result;
        while (lines.size() > 1) {
            const int count = lines.takeFirst().toInt();
            result.append(lines.mid(0, count));
            lines = lines.mid(count);
        }
        return result;
    }

    // Presses on pos and moves away as a hand does, and takes what the view starts dragging.
    StartedDrag dragFrom(QAbstractItemView* view, const QPoint& pos)
    {
        StartedDrag started;
        const auto look = [&started, view] {
            if (const QDrag* drag = view->findChild<QDrag*>()) {
                started = {drag->mimeData()->urls(), drag->supportedActions(), drag->pixmap()};
                QDrag::cancel();
            }
        };
        // The drag either returns at once or runs until cancelled: looked at either way.
        QTimer::singleShot(0, view, look);
        QWidget* viewport = view->viewport();
        const auto send = [viewport](QEvent::Type type, const QPoint& at,
                                     Qt::MouseButtons buttons) {
            QMouseEvent event(type, at, viewport->mapToGlobal(at), Qt::LeftButton, buttons,
                              Qt::NoModifier);
            QApplication::sendEvent(viewport, &event);
        };
        send(QEvent::MouseButtonPress, pos, Qt::LeftButton);
        send(QEvent::MouseMove, pos + QPoint(1, 0), Qt::LeftButton);
        send(QEvent::MouseMove, pos + QPoint(40, 0), Qt::LeftButton);
        look();
        send(QEvent::MouseButtonRelease, pos + QPoint(40, 0), Qt::NoButton);
        return started;
    }

    QString viewerDocument(int file) const
    {
        const FilesTestHome::Document& document = FilesTestHome::viewerDocuments().at(file);
        return m_home.home().path() + u'/' + document.relativePath + u'/' + document.name;
    }
    FilesTableViewController* list() const
    {
        return sharedFilesViewController->filesTableViewController();
    }
    GridCollectionView* gridView() const
    {
        return sharedFilesViewController->filesGridViewController()->collectionView();
    }
    QWindow* window() const { return m_controller->window()->windowHandle(); }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
    std::unique_ptr<ApplicationLauncher> m_recordingLauncher;
    Diagnostics::Sink m_previousSink;
    QStringList m_lines;
    QString m_launchLog;
    QString m_oddDocument;
};

WINDOW_TEST_MAIN(FileActionsTest)
#include "FileActionsTest.moc"
