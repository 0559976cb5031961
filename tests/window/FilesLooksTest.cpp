// The files side as the user sees it, in both looks: the grid with real thumbnails and relative
// dates, the list under its three headings, and the location shown while Ctrl is held. The
// pictures are kept as test artifacts.
#include "AppsTableView.h"
#include "AppsTableViewController.h"
#include "FilesGridViewController.h"
#include "FilesTable.h"
#include "FilesTableViewController.h"
#include "FilesTestHome.h"
#include "FilesViewController.h"
#include "GridCollectionView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "NotificationCenter.h"
#include "RecentFilesModel.h"
#include "SharedReferences.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "WindowTestSupport.h"

#include <QAbstractItemView>
#include <QTest>

class FilesLooksTest : public QObject
{
    Q_OBJECT

public:
    explicit FilesLooksTest(WindowTestHome& home)
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
    }

    void init()
    {
        commandKeyHeld = false;
        m_controller = std::make_unique<MainWindowController>();
        sharedMainWindowController = m_controller.get();
        m_controller->window()->resize(780, 440);
        m_controller->window()->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_controller->window()));
    }

    void cleanup()
    {
        commandKeyHeld = false;
        m_controller.reset();
        UserDefaults::standard().removeObject(QStringLiteral("Appearance"));
    }

    void looks_data()
    {
        QTest::addColumn<QString>("look");
        QTest::addColumn<QString>("viewType");
        QTest::addColumn<bool>("command");
        for (const QString& look : {QStringLiteral("light"), QStringLiteral("dark")})
            for (const QString& type : {QStringLiteral("grid"), QStringLiteral("list")})
                for (const bool command : {false, true})
                    QTest::addRow("%s %s%s", qPrintable(look), qPrintable(type),
                                  command ? " ctrl" : "")
                        << look << type << command;
    }

    void looks()
    {
        QFETCH(QString, look);
        QFETCH(QString, viewType);
        QFETCH(bool, command);
        UserDefaults::standard().setObject(QStringLiteral("Appearance"), look);
        NotificationCenter::defaultCenter().post(NotificationName::appearanceChanged);
        FilesViewController* files = m_controller->contentViewController()->filesViewController();
        QAbstractItemView* view = nullptr;
        RecentFilesModel* model = nullptr;
        if (viewType == u"grid") {
            m_controller->contentViewController()->selectViewType(1);
            view = files->filesGridViewController()->collectionView();
            model = files->filesGridViewController()->model();
            files->filesGridViewController()->collectionView()->selectItem(1);
        } else {
            m_controller->contentViewController()->selectViewType(0);
            view = files->filesTableViewController()->filesTable();
            model = files->filesTableViewController()->model();
            files->filesTableViewController()->filesTable()->selectRow(2);
        }
        view->setFocus();
        if (command) {
            QTest::keyPress(m_controller->window()->windowHandle(), Qt::Key_Control);
            QVERIFY(commandKeyHeld);
        }
        // Every document in sight shows its own picture before the screenshot.
        QTRY_VERIFY_WITH_TIMEOUT(allVisibleThumbnailsShown(view, model), 60000);
        const QString name =
            QStringLiteral("/files-%1-%2%3.png")
                .arg(viewType, look, command ? QStringLiteral("-ctrl") : QString());
        QVERIFY(m_controller->window()->grab().save(FilesTestHome::artifactsFolder() + name));
        if (command)
            QTest::keyRelease(m_controller->window()->windowHandle(), Qt::Key_Control,
                              Qt::ControlModifier);
    }

private:
    static bool allVisibleThumbnailsShown(QAbstractItemView* view, RecentFilesModel* model)
    {
        view->viewport()->repaint();
        for (int row = 0; row < model->rowCount(); ++row) {
            const QModelIndex index = model->index(row, 0);
            if (model->isHeading(row) ||
                !view->viewport()->rect().intersects(view->visualRect(index)))
                continue;
            if (!index.data(RecentFilesModel::HasThumbnailRole).toBool())
                return false;
        }
        return true;
    }

    WindowTestHome& m_home;
    std::unique_ptr<MainWindowController> m_controller;
};

WINDOW_TEST_MAIN(FilesLooksTest)
#include "FilesLooksTest.moc"
