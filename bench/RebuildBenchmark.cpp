// A full rebuild of the list against the floor: only the I/O no reader can avoid (read every
// record file whole, stat every document). Two homes: 50 per-application records of 20 documents
// each; and the same plus a shared recently-used file of 2,000 bookmarks over 30 applications.

#include "BuildRecentApps.h"
#include "Calendar.h"
#include "Diagnostics.h"
#include "RebuildHome.h"
#include "RecentApp.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <sys/stat.h>

namespace {
using namespace RebuildHome;

// Homes for the whole run, one without and one with the shared record.
TestHome& populatedHome(bool withSharedRecord)
{
    static TestHome* homes[2] = {nullptr, nullptr};
    TestHome*& home = homes[withSharedRecord ? 1 : 0];
    if (!home) {
        home = new TestHome;
        populate(*home, withSharedRecord, QDateTime::currentDateTime());
    }
    return *home;
}

// Homes live side by side; the environment points at the one being measured.
void useHome(const TestHome& home)
{
    qputenv("HOME", home.path().toUtf8());
    qputenv("XDG_DATA_HOME", home.dataHome().toUtf8());
    qputenv("XDG_DATA_DIRS", home.systemDataDir().toUtf8());
    qputenv("XDG_CONFIG_HOME", (home.path() + QStringLiteral("/.config")).toUtf8());
    UserDefaults::global().reload();
}

void fullRebuild(benchmark::State& state)
{
    const bool withSharedRecord = state.range(0) != 0;
    useHome(populatedHome(withSharedRecord));
    const int expected = applicationCount + (withSharedRecord ? sharedApplicationCount : 0);
    Diagnostics::setSink([](const QString&) {});
    for (auto _ : state) {
        const std::optional<QList<RecentApp>> apps = buildRecentApps();
        if (!apps || apps->size() != expected)
            state.SkipWithError("the rebuild did not find every application");
        benchmark::DoNotOptimize(apps);
    }
    Diagnostics::setSink({});
}
BENCHMARK(fullRebuild)->ArgName("shared")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

qint64 readWhole(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll().size() : 0;
}

void unavoidableIo(benchmark::State& state)
{
    const bool withSharedRecord = state.range(0) != 0;
    const TestHome& home = populatedHome(withSharedRecord);
    const QDir folder(home.recordFolder());
    for (auto _ : state) {
        const QStringList records = folder.entryList(QDir::Files, QDir::Name);
        qint64 total = 0;
        for (const QString& record : records)
            total += readWhole(folder.filePath(record));
        if (withSharedRecord) {
            total += readWhole(home.dataHome() + QStringLiteral("/recently-used.xbel"));
            for (int bookmark = 0; bookmark < sharedBookmarkCount; ++bookmark) {
                struct stat info
                {};
                total +=
                    ::stat(QFile::encodeName(sharedDocumentPath(home.path(), bookmark)).constData(),
                           &info);
            }
        }
        for (int app = 0; app < applicationCount; ++app)
            for (int doc = 0; doc < documentsPerApplication; ++doc) {
                struct stat info
                {};
                const QByteArray path =
                    QFile::encodeName(recordDocumentPath(home.path(), app, doc));
                total += ::stat(path.constData(), &info);
            }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(unavoidableIo)->ArgName("shared")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
