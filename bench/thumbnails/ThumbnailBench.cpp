// Thumbnails for a grid of 200 recent documents (JPEG, PNG and PDF) at grid size: cold (nothing
// cached anywhere), warm (the desktop's shared cache has them, memory is empty), in memory (only
// confirmed current), and a grid scrolled back and forth while its thumbnails are being made,
// which must not start a second generation for a file already in flight.

#include "BenchDocuments.h"
#include "TestHome.h"
#include "ThumbnailCache.h"
#include "ThumbnailService.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include <benchmark/benchmark.h>

#include <chrono>

namespace {
constexpr int documentCount = 200;
// The grid asks for twice its thumbnail view's size; a 96-point view gives 192 points.
constexpr double gridSize = 192.0;

struct Bench
{
    TestHome home;
    QList<QUrl> documents;
};

Bench& bench()
{
    static Bench* made = [] {
        auto* created = new Bench;
        QDir().mkpath(created->home.systemDataDir());
        QFile::link(QStringLiteral("/usr/share/mime"),
                    created->home.systemDataDir() + QStringLiteral("/mime"));
        created->documents = BenchDocuments::make(
            created->home.path() + QStringLiteral("/Documents"), documentCount);
        ThumbnailService::instance().reloadEnvironment(std::chrono::seconds(10));
        return created;
    }();
    return *made;
}

ThumbnailService& service()
{
    return ThumbnailService::instance();
}

void forgetSharedCache()
{
    QDir(bench().home.path() + QStringLiteral("/.cache/thumbnails")).removeRecursively();
}

// Asks for every document the given number of times, as cells coming into view would, and runs
// the event loop until every answer is in. Returns how many came with a picture.
int showGrid(int passes = 1)
{
    QObject view;
    int answers = 0;
    int pictures = 0;
    for (int pass = 0; pass < passes; ++pass) {
        for (const QUrl& url : std::as_const(bench().documents))
            ThumbnailCache::requestThumbnail(&view, url, gridSize, gridSize, 1.0,
                                             [&](const QUrl&, const std::optional<QImage>& image) {
                                                 ++answers;
                                                 pictures += image ? 1 : 0;
                                             });
    }
    while (answers < documentCount * passes)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return pictures;
}

void report(benchmark::State& state, int pictures)
{
    const ThumbnailStatistics statistics = service().statistics();
    const double iterations = static_cast<double>(state.iterations());
    state.counters["pictures"] = pictures;
    state.counters["generations"] = statistics.generations / iterations;
    state.counters["joined"] = statistics.joined / iterations;
    state.counters["rendered"] = statistics.rendered / iterations;
    state.counters["sharedHits"] = statistics.sharedCacheHits / iterations;
    state.counters["confirmed"] = statistics.memoryConfirmed / iterations;
    state.counters["documents_per_s"] =
        benchmark::Counter(documentCount * iterations, benchmark::Counter::kIsRate);
    if (pictures != documentCount)
        state.SkipWithError("not every document got a picture");
}

void coldGrid(benchmark::State& state)
{
    bench();
    int pictures = 0;
    service().resetStatistics();
    for (auto _ : state) {
        state.PauseTiming();
        service().memoryCache().clear();
        forgetSharedCache();
        state.ResumeTiming();
        pictures = showGrid();
    }
    report(state, pictures);
}
BENCHMARK(coldGrid)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(3);

void warmSharedCache(benchmark::State& state)
{
    bench();
    showGrid();
    int pictures = 0;
    service().resetStatistics();
    for (auto _ : state) {
        state.PauseTiming();
        service().memoryCache().clear();
        state.ResumeTiming();
        pictures = showGrid();
    }
    report(state, pictures);
}
BENCHMARK(warmSharedCache)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

void inMemory(benchmark::State& state)
{
    bench();
    showGrid();
    int pictures = 0;
    service().resetStatistics();
    for (auto _ : state)
        pictures = showGrid();
    report(state, pictures);
}
BENCHMARK(inMemory)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(20);

// Every cell asked for three times (scrolled down, up and down again) before the first answers.
void coldGridScrolledWhileLoading(benchmark::State& state)
{
    bench();
    int pictures = 0;
    service().resetStatistics();
    for (auto _ : state) {
        state.PauseTiming();
        service().memoryCache().clear();
        forgetSharedCache();
        state.ResumeTiming();
        pictures = showGrid(3) / 3;
    }
    report(state, pictures);
    if (service().statistics().generations != documentCount * state.iterations())
        state.SkipWithError("a file in flight was generated twice");
}
BENCHMARK(coldGridScrolledWhileLoading)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);
} // namespace

int main(int argc, char** argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
