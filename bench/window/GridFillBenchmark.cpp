// The files grid filling with 200 documents (JPEG photos, PNG pictures and PDF reports) while the
// user scrolls through it: the longest the event loop goes without running (a 1 ms timer
// measures it), when the first and the last pictures arrive, and what the thumbnail service did
// for it: each document's picture made once, however often the grid scrolls past it or the
// store refreshes it while it is being made.
// bench_window_grid_fill [rounds]   (offscreen unless QT_QPA_PLATFORM says otherwise)
#include "AppsTableViewController.h"
#include "BenchDocuments.h"
#include "FilesGridViewController.h"
#include "FilesViewController.h"
#include "GridCollectionView.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "RecentFilesModel.h"
#include "SharedReferences.h"
#include "StallMeter.h"
#include "TestHome.h"
#include "ThumbnailService.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "VorlaneController.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QScrollBar>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {
constexpr int documentCount = 200;

enum class Start
{
    // Nothing made yet: neither the desktop's shared cache nor memory has a picture.
    cold,
    // The shared cache has them all (another program, or an earlier start, made them).
    sharedCache,
    // This run of Vorlane made them already; only checked for changes.
    memory,
};

const char* nameOf(Start start)
{
    switch (start) {
    case Start::cold:
        return "cold";
    case Start::sharedCache:
        return "shared cache";
    case Start::memory:
        return "in memory";
    }
    return "";
}

struct Fill
{
    double longestStallMs = 0;
    double longestStallEndedMs = 0;
    double stall99Ms = 0;
    double firstPictureMs = -1;
    double lastPictureMs = 0;
    ThumbnailStatistics statistics;
};

struct Bench
{
    TestHome home;
    std::unique_ptr<MainWindowController> controller;

    Bench()
    {
        for (const QString& folder : {QStringLiteral("mime"), QStringLiteral("icons")})
            QFile::link(QStringLiteral("/usr/share/") + folder,
                        home.systemDataDir() + u'/' + folder);
        const QList<QUrl> documents =
            BenchDocuments::make(home.path() + QStringLiteral("/Pictures/Shoot"), documentCount);
        QStringList paths;
        for (const QUrl& url : documents)
            paths << url.toLocalFile();
        const QDateTime now = QDateTime::currentDateTime();
        home.installApplication(QStringLiteral("org.example.Photos"), QStringLiteral("Photos"));
        // The photos newest, so they come first in the applications list.
        home.writeRecord(QStringLiteral("org.example.Photos"), paths, now);
        home.installApplication(QStringLiteral("org.example.Notes"), QStringLiteral("Notes"));
        home.writeRecord(QStringLiteral("org.example.Notes"),
                         {home.createDocument(QStringLiteral("Notes/Today.txt"), now)},
                         now.addSecs(-120));
        ThumbnailService::instance().reloadEnvironment(std::chrono::seconds(10));
        UserDefaults::standard().reload();
        UserDefaults::standard().setObject(QStringLiteral("FilesViewType"), QStringLiteral("grid"));
        VorlaneController::shared().refreshFromStore();
        while (VorlaneController::shared().isRefreshing())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        controller = std::make_unique<MainWindowController>();
        sharedMainWindowController = controller.get();
        controller->window()->resize(780, 440);
        controller->window()->show();
        settle(200);
    }

    GridCollectionView* grid() const
    {
        return controller->contentViewController()
            ->filesViewController()
            ->filesGridViewController()
            ->collectionView();
    }

    static void settle(int ms)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < ms)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }

    void prepare(Start start)
    {
        // The notes first: showing the photos is the fill being measured.
        sharedAppsViewController->selectRow(1);
        ThumbnailService& service = ThumbnailService::instance();
        while (service.pendingGenerations() > 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (start != Start::memory)
            service.memoryCache().clear();
        if (start == Start::cold)
            QDir(home.path() + QStringLiteral("/.cache/thumbnails")).removeRecursively();
        settle(50);
        service.resetStatistics();
    }

    // Shows the photos and scrolls down through them as a reader does, a little every frame,
    // the store refreshing halfway; then waits until every picture asked for has arrived.
    Fill fill()
    {
        Fill result;
        RecentFilesModel* model = nullptr;
        QElapsedTimer clock;
        QMetaObject::Connection arrivals;
        StallMeter meter;
        clock.start();
        sharedAppsViewController->selectRow(0);
        model = grid()->filesModel();
        arrivals = QObject::connect(model, &QAbstractItemModel::dataChanged, [&] {
            const double now = static_cast<double>(clock.nsecsElapsed()) / 1e6;
            if (result.firstPictureMs < 0)
                result.firstPictureMs = now;
            result.lastPictureMs = now;
        });
        QScrollBar* bar = grid()->verticalScrollBar();
        bool refreshed = false;
        QElapsedTimer frame;
        frame.start();
        QElapsedTimer deadline;
        deadline.start();
        while (bar->maximum() == 0 || bar->value() < bar->maximum()) {
            if (deadline.elapsed() > 120000) {
                std::fprintf(stderr, "the grid never scrolled to its end\n");
                std::exit(1);
            }
            QCoreApplication::processEvents(QEventLoop::AllEvents, 2);
            if (frame.elapsed() < 16)
                continue;
            frame.restart();
            bar->setValue(bar->value() + 24);
            if (!refreshed && bar->value() > bar->maximum() / 2) {
                refreshed = true;
                sharedFilesViewController->reloadFilesGrid();
            }
        }
        while (ThumbnailService::instance().pendingGenerations() > 0)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                            5);
        settle(20);
        QObject::disconnect(arrivals);
        result.longestStallMs = meter.longest();
        result.longestStallEndedMs = meter.longestEndedAt();
        result.stall99Ms = meter.percentile99();
        result.statistics = ThumbnailService::instance().statistics();
        bar->setValue(0);
        return result;
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    std::printf("making %d documents...\n", documentCount);
    Bench bench;
    std::printf("%d documents in the grid, %d columns\n",
                static_cast<int>(bench.grid()->model() ? documentCount : 0),
                bench.grid()->viewport()->width() / bench.grid()->gridSize().width());
    {
        // What the machine itself adds: the same measure with the window shown and idle.
        StallMeter idle;
        Bench::settle(3000);
        std::printf("idle window  longest stall %.2f ms, 99%% under %.2f ms\n", idle.longest(),
                    idle.percentile99());
    }
    for (const Start start : {Start::cold, Start::sharedCache, Start::memory}) {
        QList<double> stalls;
        for (int round = 0; round < rounds; ++round) {
            bench.prepare(start);
            const Fill fill = bench.fill();
            const ThumbnailStatistics& s = fill.statistics;
            const int made = s.rendered + s.sharedCacheHits + s.renderFailures;
            const int work = s.generations - s.memoryConfirmed - s.cancelled;
            stalls << fill.longestStallMs;
            std::printf("%-12s round %d: longest stall %.2f ms (ended at %.0f ms, 99%% under %.2f "
                        "ms); first picture %.0f ms, last "
                        "%.0f ms; %d requests, %d generations (%d doing work, %d joined, %d "
                        "confirmed, %d cancelled), %d pictures made or read\n",
                        nameOf(start), round + 1, fill.longestStallMs, fill.longestStallEndedMs,
                        fill.stall99Ms, fill.firstPictureMs, fill.lastPictureMs, s.requests,
                        s.generations, work, s.joined, s.memoryConfirmed, s.cancelled, made);
        }
        std::printf("%-12s longest stall median %.2f ms, worst %.2f ms (one frame is 16 ms)\n",
                    nameOf(start), StallMeter::median(stalls),
                    *std::max_element(stalls.cbegin(), stalls.cend()));
    }
    bench.controller.reset();
    return 0;
}
