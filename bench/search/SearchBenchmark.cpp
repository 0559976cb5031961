// Finding documents by typing, with 5,000 documents over 40 applications: each key of "rep" typed
// one after the other (the search runs again on the whole text at every key), and the words made
// ahead again after the store changed. A key has one frame (16 ms) for the search and the redraw.

#include "DocumentSearch.h"
#include "RecentApp.h"

#include <QDir>
#include <QStringList>

#include <benchmark/benchmark.h>

namespace {
constexpr int applicationCount = 40;
constexpr int documentCount = 5000;

const QStringList subjects = {
    QStringLiteral("Quarterly Report"), QStringLiteral("Résumé"),
    QStringLiteral("invoice"),          QStringLiteral("MeetingNotes"),
    QStringLiteral("Budget"),           QStringLiteral("holiday photo"),
    QStringLiteral("Präsentation"),     QStringLiteral("contract"),
    QStringLiteral("thesis_draft"),     QStringLiteral("Recipe book"),
    QStringLiteral("tax return"),       QStringLiteral("Plan"),
};
const QStringList folders = {QStringLiteral("Documents/Work"), QStringLiteral("Downloads"),
                             QStringLiteral("Documents/Privé"), QStringLiteral("Desktop"),
                             QStringLiteral("Pictures/2024")};
const QStringList suffixes = {QStringLiteral(".odt"), QStringLiteral(".pdf"),
                              QStringLiteral(".ods"), QStringLiteral(".jpg"),
                              QStringLiteral(".txt")};

QList<RecentApp> benchmarkApps()
{
    const QDateTime now = QDateTime::currentDateTime();
    QList<QList<RecentFile>> files(applicationCount);
    for (int i = 0; i < documentCount; ++i) {
        const QString name = QStringLiteral("%1 %2%3")
                                 .arg(subjects.at(i % subjects.size()))
                                 .arg(i)
                                 .arg(suffixes.at(i % suffixes.size()));
        const QString path =
            QStringLiteral("%1/%2/%3").arg(QDir::homePath(), folders.at(i % folders.size()), name);
        files[i % applicationCount].append(
            RecentFile(name, {}, QUrl::fromLocalFile(path), now.addSecs(-i * 60), {}));
    }
    QList<RecentApp> apps;
    for (int app = 0; app < applicationCount; ++app)
        apps.append(RecentApp(QStringLiteral("/nowhere/app%1.desktop").arg(app), {},
                              QStringLiteral("app%1").arg(app), now, files.at(app), {}));
    return apps;
}

const QList<RecentApp>& apps()
{
    static const QList<RecentApp> list = benchmarkApps();
    return list;
}

// One key: the text typed so far, searched whole.
void typingAKey(benchmark::State& state, const QString& typed)
{
    const DocumentSearch search(apps());
    qsizetype found = 0;
    for (auto _ : state) {
        found = search.find(typed).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["documents"] = static_cast<double>(search.documentCount());
    state.counters["found"] = static_cast<double>(found);
}

void firstKey(benchmark::State& state)
{
    typingAKey(state, QStringLiteral("r"));
}
void secondKey(benchmark::State& state)
{
    typingAKey(state, QStringLiteral("re"));
}
void thirdKey(benchmark::State& state)
{
    typingAKey(state, QStringLiteral("rep"));
}
// Two words, one of them a folder's, with the slash that brings the folders in.
void folderAndName(benchmark::State& state)
{
    typingAKey(state, QStringLiteral("work/rep"));
}

// The store changed while a search is shown: the words are taken from the search before (the
// documents are the same but for one) and the text searched again.
void storeChanged(benchmark::State& state)
{
    const DocumentSearch before(apps());
    for (auto _ : state) {
        const DocumentSearch search(apps(), &before);
        benchmark::DoNotOptimize(search.find(QStringLiteral("rep")).size());
    }
}

// The first search after the window opened: every name cut into words.
void firstSearch(benchmark::State& state)
{
    for (auto _ : state) {
        const DocumentSearch search(apps());
        benchmark::DoNotOptimize(search.find(QStringLiteral("r")).size());
    }
}
} // namespace

BENCHMARK(firstKey)->Unit(benchmark::kMillisecond);
BENCHMARK(secondKey)->Unit(benchmark::kMillisecond);
BENCHMARK(thirdKey)->Unit(benchmark::kMillisecond);
BENCHMARK(folderAndName)->Unit(benchmark::kMillisecond);
BENCHMARK(storeChanged)->Unit(benchmark::kMillisecond);
BENCHMARK(firstSearch)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
