// Refreshing the store inside a running application: the sources are read on a worker thread,
// the views are reloaded on the main thread, and bursts of requests coalesce; a first list built
// in the background is taken in by the event loop, or at once by a window about to show it.

#include "QtPrinters.h"
#include "TestHome.h"
#include "UserDefaults.h"
#include "VorlaneController.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>

#include <gtest/gtest.h>

namespace {
// Runs the event loop until the condition holds or a generous deadline passes.
bool processEventsUntil(const std::function<bool()>& condition)
{
    QDeadlineTimer deadline(30000);
    while (!condition() && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return condition();
}

TEST(StoreRefresh, buildsOffTheMainThreadAndReloadsOnIt)
{
    TestHome home;
    UserDefaults::global().reload();
    VorlaneController store;
    ASSERT_TRUE(store.isEmpty());

    int reloads = 0;
    int switches = 0;
    bool reloadedOnMainThread = true;
    store.setViewHooks({[&] { ++switches; },
                        [&] {
                            ++reloads;
                            reloadedOnMainThread &= QThread::currentThread() == qApp->thread();
                        },
                        {},
                        {},
                        {},
                        {}});

    home.installApplication(QStringLiteral("org.example.Writer"), QStringLiteral("Writer"));
    const QString doc = home.createDocument(QStringLiteral("a.txt"), QDateTime::currentDateTime());
    home.writeRecord(QStringLiteral("org.example.Writer"), {doc}, QDateTime::currentDateTime());

    // A burst of requests while the first is being built: one build now, one more after it.
    store.refreshFromStore();
    EXPECT_TRUE(store.isRefreshing());
    EXPECT_TRUE(store.isEmpty()) << "the list changes only when the build is swapped in";
    store.refreshFromStore();
    store.refreshFromStore();
    ASSERT_TRUE(processEventsUntil([&] { return reloads == 2 && !store.isRefreshing(); }));
    EXPECT_TRUE(reloadedOnMainThread);
    EXPECT_EQ(switches, 1);
    EXPECT_FALSE(store.isEmpty());
    EXPECT_EQ(store.recentApps().first().appName(), QStringLiteral("Writer"));
}
// The first list, built while the program starts, is taken in whether the window asks for it
// before the worker is done or the event loop gets to it first; each way exactly once.
TEST(StoreRefresh, takesInAFirstListBuiltInTheBackgroundOnce)
{
    TestHome home;
    UserDefaults::global().reload();
    home.installApplication(QStringLiteral("org.example.Writer"), QStringLiteral("Writer"));
    const QString doc = home.createDocument(QStringLiteral("a.txt"), QDateTime::currentDateTime());
    home.writeRecord(QStringLiteral("org.example.Writer"), {doc}, QDateTime::currentDateTime());

    for (const bool windowAsks : {true, false}) {
        VorlaneController store(VorlaneController::FirstBuild::inBackground);
        EXPECT_TRUE(store.isEmpty()) << "the placeholder until the list is taken in";
        EXPECT_TRUE(store.isRefreshing());
        int switches = 0;
        int reloads = 0;
        store.setViewHooks({[&] { ++switches; }, [&] { ++reloads; }, {}, {}, {}, {}});
        if (windowAsks) {
            store.waitForFirstList();
            EXPECT_EQ(reloads, 1) << "taken in before the window is shown";
        }
        ASSERT_TRUE(processEventsUntil([&] { return reloads == 1 && !store.isRefreshing(); }));
        // A refresh after it is never waited for.
        store.refreshFromStore();
        store.waitForFirstList();
        EXPECT_TRUE(store.isRefreshing());
        ASSERT_TRUE(processEventsUntil([&] { return !store.isRefreshing(); }));
        EXPECT_EQ(reloads, 2);
        EXPECT_EQ(switches, 1);
        ASSERT_FALSE(store.isEmpty());
        EXPECT_EQ(store.recentApps().first().appName(), QStringLiteral("Writer"));
    }
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
