// A full rebuild of the list against the floor: only the I/O no reader can avoid (read every
// record file whole, stat every document).

#include "BookmarkWriter.h"
#include "Calendar.h"
#include "Diagnostics.h"
#include "SystemRecordsReader.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <benchmark/benchmark.h>

#include <sys/stat.h>

namespace {
constexpr int applicationCount = 50;
constexpr int documentsPerApplication = 20;

// One home for the whole run: 50 installed applications, each with a record of 20 documents.
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
                    now.addSecs(-3600 * (app + doc)));
            made->writeRecord(id, documents, now.addSecs(-60 * app));
        }
        UserDefaults::global().reload();
        return made;
    }();
    return *home;
}

void fullRebuild(benchmark::State& state)
{
    populatedHome();
    Diagnostics::setSink([](const QString&) {});
    for (auto _ : state) {
        const std::optional<QList<RecentApp>> apps = buildRecentApps();
        if (!apps || apps->size() != applicationCount)
            state.SkipWithError("the rebuild did not find every application");
        benchmark::DoNotOptimize(apps);
    }
    Diagnostics::setSink({});
}
BENCHMARK(fullRebuild)->Unit(benchmark::kMillisecond);

void unavoidableIo(benchmark::State& state)
{
    const TestHome& home = populatedHome();
    const QDir folder(home.recordFolder());
    for (auto _ : state) {
        const QStringList records = folder.entryList(QDir::Files, QDir::Name);
        qint64 total = 0;
        for (const QString& record : records) {
            QFile file(folder.filePath(record));
            if (file.open(QIODevice::ReadOnly))
                total += file.readAll().size();
        }
        for (int app = 0; app < applicationCount; ++app)
            for (int doc = 0; doc < documentsPerApplication; ++doc) {
                struct stat info
                {};
                const QByteArray path = QFile::encodeName(
                    home.path() + QStringLiteral("/Documents/%1/file %2.txt").arg(app).arg(doc));
                total += ::stat(path.constData(), &info);
            }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(unavoidableIo)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
