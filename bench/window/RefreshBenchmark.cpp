// A store refresh with 1,000 documents (50 applications of 20) while the window is shown: the
// longest the event loop goes without running, measured by a 1 ms timer, for each of 20
// refreshes asked for the way the file monitor asks ("background update").
// bench_window_refresh [refreshes]   (offscreen; no X server needed)
#include "AppsListModel.h"
#include "AppsTableViewController.h"
#include "BenchmarkHome.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "NotificationCenter.h"
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
    double totalMs = 0;
};

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
    QElapsedTimer settle;
    settle.start();
    while (settle.elapsed() < 5)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    QObject::disconnect(connection);
    return {meter.longest(), totalMs};
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int refreshes = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    BenchmarkHome home(50, 20);
    MainWindowController controller;
    sharedMainWindowController = &controller;
    controller.window()->show();
    AppsListModel* model = controller.contentViewController()->appsViewController()->model();
    std::printf("%d applications in the list\n", model->rowCount());
    QList<double> stalls;
    QList<double> totals;
    for (int i = 0; i < refreshes; ++i) {
        const Refresh refresh = measureOne(model);
        stalls << refresh.longestStallMs;
        totals << refresh.totalMs;
        std::printf("refresh %2d: longest stall %.2f ms, refresh done after %.1f ms\n", i + 1,
                    refresh.longestStallMs, refresh.totalMs);
    }
    std::printf("1,000 documents: longest event-loop stall median %.2f ms, worst %.2f ms "
                "(one frame is 16 ms); refresh median %.1f ms\n",
                StallMeter::median(stalls), *std::max_element(stalls.cbegin(), stalls.cend()),
                StallMeter::median(totals));
    return 0;
}
