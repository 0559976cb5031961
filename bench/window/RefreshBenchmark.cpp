// A store refresh while the window is shown, on the rebuild benchmark's home (50 records of 20
// documents and a shared file of 2,000 bookmarks over 30 more applications: 80 applications):
// the longest the event loop goes without running, measured by a 1 ms timer, and the most CPU
// time the window's thread used between two ticks, for each of 20 refreshes asked for the way
// the file monitor asks ("background update"). The first comes after the window's first paint.
// bench_window_refresh [refreshes]   (offscreen; no X server needed)
#include "AppsListModel.h"
#include "AppsTableViewController.h"
#include "BenchmarkHome.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "NotificationCenter.h"
#include "RebuildHome.h"
#include "SharedReferences.h"
#include "StallMeter.h"
#include "ViewController.h"
#include "VorlaneController.h"

#include <QApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>

namespace {
struct Refresh
{
    double longestStallMs = 0;
    double longestBusyMs = 0;
    double totalMs = 0;
};

void settle(int milliseconds)
{
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < milliseconds)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

Refresh measureOne(AppsListModel* model)
{
    bool reloaded = false;
    const QMetaObject::Connection connection =
        QObject::connect(model, &QAbstractItemModel::modelReset, [&reloaded] { reloaded = true; });
    QElapsedTimer total;
    total.start();
    StallMeter meter;
    NotificationCenter::defaultCenter().post(NotificationName::backgroundUpdate);
    while (!reloaded || VorlaneController::shared().isRefreshing())
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 5);
    const double totalMs = static_cast<double>(total.nsecsElapsed()) / 1e6;
    // One more tick, so that a stall at the very end is counted.
    settle(5);
    QObject::disconnect(connection);
    return {meter.longest(), meter.longestBusy(), totalMs};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int refreshes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    BenchmarkHome home(0, 0);
    RebuildHome::populate(home.home(), true, QDateTime::currentDateTime());
    MainWindowController controller;
    sharedMainWindowController = &controller;
    {
        // The first paint is the start's, not the refresh's; its frame is measured on its own.
        StallMeter meter;
        controller.window()->show();
        settle(300);
        std::printf("first paint: longest stall %.2f ms (CPU %.2f ms)\n", meter.longest(),
                    meter.longestBusy());
    }
    AppsListModel* model = controller.contentViewController()->appsViewController()->model();
    std::printf("%d applications in the list\n", model->rowCount());
    QList<double> stalls;
    QList<double> busy;
    QList<double> totals;
    for (int i = 0; i < refreshes; ++i) {
        const Refresh refresh = measureOne(model);
        stalls << refresh.longestStallMs;
        busy << refresh.longestBusyMs;
        totals << refresh.totalMs;
        std::printf(
            "refresh %2d: longest stall %.2f ms (CPU %.2f ms), refresh done after %.1f ms\n", i + 1,
            refresh.longestStallMs, refresh.longestBusyMs, refresh.totalMs);
    }
    std::printf("80 applications: longest event-loop stall median %.2f ms, worst "
                "%.2f ms, first refresh %.2f ms (one frame is 16 ms); the window's thread busy "
                "between two ticks at most: median %.2f ms, worst %.2f ms, first refresh %.2f ms; "
                "refresh median %.1f ms\n",
                StallMeter::median(stalls), *std::max_element(stalls.cbegin(), stalls.cend()),
                stalls.constFirst(), StallMeter::median(busy),
                *std::max_element(busy.cbegin(), busy.cend()), busy.constFirst(),
                StallMeter::median(totals));
    return 0;
}
