// What summoning the window costs to find out whether the listed documents still exist: 5,000
// documents (50 applications of 100), all present, so every one is looked at. The look runs on
// the store's worker thread; the window's own thread only hands it a shared copy of the list.
//   lookAtEveryDocument      the worker's whole look: a stat per document, and per vanished one
//   askFromTheWindowsThread  the window's thread's share: revalidateInBackground() returning

#include "Diagnostics.h"
#include "DocumentPresence.h"
#include "RecentApp.h"
#include "TestHome.h"
#include "UserDefaults.h"
#include "VorlaneController.h"

#include <QCoreApplication>
#include <QElapsedTimer>

#include <benchmark/benchmark.h>

namespace {
constexpr int applicationCount = 50;
constexpr int documentsPerApplication = 100;

// One home for the run: every application installed, with a record of its documents.
TestHome& populatedHome()
{
    static TestHome* home = [] {
        auto* made = new TestHome;
        const QDateTime now = QDateTime::currentDateTime();
        for (int app = 0; app < applicationCount; ++app) {
            const QString id = QStringLiteral("org.example.App%1").arg(app);
            made->installApplication(id, QStringLiteral("App %1").arg(app));
            QStringList documents;
            for (int doc = 0; doc < documentsPerApplication; ++doc)
                documents << made->createDocument(
                    QStringLiteral("Documents/%1/file %2.txt").arg(app).arg(doc),
                    now.addSecs(-60 * (app + doc)));
            made->writeRecord(id, documents, now.addSecs(-60 * app));
        }
        UserDefaults::global().reload();
        return made;
    }();
    return *home;
}

VorlaneController& populatedStore()
{
    populatedHome();
    static VorlaneController* store = [] {
        Diagnostics::setSink([](const QString&) {});
        return new VorlaneController;
    }();
    return *store;
}

qsizetype documentCount(const QList<RecentApp>& apps)
{
    qsizetype count = 0;
    for (const RecentApp& app : apps)
        count += app.recentFiles().size();
    return count;
}

void lookAtEveryDocument(benchmark::State& state)
{
    const QList<RecentApp> apps = populatedStore().recentApps();
    if (documentCount(apps) != applicationCount * documentsPerApplication)
        state.SkipWithError("the store does not list every document");
    // Documents gone since they were listed are looked for too.
    QStringList vanished;
    for (int i = 0; i < 100; ++i)
        vanished << populatedHome().path() + QStringLiteral("/Gone/file %1.txt").arg(i);
    for (auto _ : state) {
        const bool changed =
            DocumentPresence::anyMissing(apps) || DocumentPresence::anyBack(vanished);
        if (changed)
            state.SkipWithError("nothing changed, yet the look says so");
        benchmark::DoNotOptimize(changed);
    }
    state.SetItemsProcessed(state.iterations() * (documentCount(apps) + vanished.size()));
}
BENCHMARK(lookAtEveryDocument)->Unit(benchmark::kMillisecond);

void askFromTheWindowsThread(benchmark::State& state)
{
    VorlaneController& store = populatedStore();
    for (auto _ : state) {
        store.revalidateInBackground();
        state.PauseTiming();
        while (store.isRevalidating())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        if (store.isRefreshing())
            state.SkipWithError("nothing changed, yet the list is rebuilt");
        state.ResumeTiming();
    }
}
// Each asking waits for its look, untimed: a fixed count keeps the run short.
BENCHMARK(askFromTheWindowsThread)->Iterations(200)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
    // The store hands its work to a worker thread only where an application runs.
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
