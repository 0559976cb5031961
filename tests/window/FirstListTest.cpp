// The start as main() makes it: the store's first list read on a worker thread while the window is
// made, the window's first frame showing that list, never the placeholder before it, and the look
// at the documents coming after that frame. A program of its own: the store it starts is the
// process's.
#include "AppsListModel.h"
#include "AppsTableViewController.h"
#include "ButtonsViewController.h"
#include "EmptyStateViewController.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "Selection.h"
#include "SharedReferences.h"
#include "ViewController.h"
#include "VorlaneController.h"
#include "WindowTestSupport.h"

#include <QFile>
#include <QTest>

class FirstListTest : public QObject
{
    Q_OBJECT

public:
    explicit FirstListTest(WindowTestHome& home)
        : m_home(home)
    {}

private Q_SLOTS:
    void theFirstFrameShowsTheListReadWhileTheWindowWasMade()
    {
        m_home.addApplication(QStringLiteral("org.example.Alpha"), QStringLiteral("Alpha"), 5);
        m_home.addApplication(QStringLiteral("org.example.Beta"), QStringLiteral("Beta"), 9);
        // From here to the window shown the event loop never runs: only the window can take the
        // list in.
        VorlaneController::buildSharedInBackground();
        MainWindowController controller;
        sharedMainWindowController = &controller;
        ViewController* content = controller.contentViewController();
        QVERIFY(VorlaneController::shared().isRefreshing());
        QVERIFY(content->emptyStateViewController()->isVisibleTo(content));

        controller.showWindow();
        QVERIFY(!VorlaneController::shared().isRefreshing());
        QCOMPARE(content->appsViewController()->model()->rowCount(), 2);
        QCOMPARE(selectedApp.size(), 1);
        QCOMPARE(selectedApp.constFirst().appName(), QStringLiteral("Alpha"));
        QVERIFY(content->leftPanel()->isVisible());
        QVERIFY(!content->emptyStateViewController()->isVisible());
        QVERIFY(sharedButtonsViewController);

        // The look whether the documents still exist, which every show asks for, comes after
        // the first frame: the list was read a moment ago.
        QVERIFY(!VorlaneController::shared().isRevalidating());
        const RecentFile gone = selectedApp.constFirst().recentFiles().constFirst();
        QVERIFY(QFile::remove(gone.filePath().toLocalFile()));
        QVERIFY(QTest::qWaitFor([&] { return controller.window()->hasPaintedFirstFrame(); }));
        QTRY_COMPARE_WITH_TIMEOUT(VorlaneController::shared().vanishedDocuments(),
                                  QStringList{gone.filePath().toLocalFile()}, 30000);
        sharedMainWindowController = nullptr;
    }

private:
    WindowTestHome& m_home;
};

WINDOW_TEST_MAIN(FirstListTest)
#include "FirstListTest.moc"
