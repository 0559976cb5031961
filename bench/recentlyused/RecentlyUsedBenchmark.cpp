// The shared recently-used file in a rebuild: 2,000 bookmarks over 30 applications (every
// document exists) beside 50 per-application records of 20 documents, measured against the floor
// of reading every file whole and looking at every document once.

#include "BuildRecentApps.h"
#include "Calendar.h"
#include "DateRules.h"
#include "DesktopApplicationIndex.h"
#include "Diagnostics.h"
#include "MetadataQuery.h"
#include "RecentlyUsedFile.h"
#include "RecentlyUsedMetadata.h"
#include "RecentlyUsedSource.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <QDir>
#include <QFile>

#include <benchmark/benchmark.h>

#include <sys/stat.h>

namespace {
constexpr int xbelBookmarks = 2000;
constexpr int xbelApplications = 30;
constexpr int recordApplications = 50;
constexpr int documentsPerRecord = 20;

QString uriOf(const QString& path)
{
    return QStringLiteral("file://") +
           QString::fromUtf8(QUrl::toPercentEncoding(path, "/!$&'()*+,;=:@~"));
}

QString stamp(const QDateTime& moment)
{
    return moment.toUTC().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz")) +
           QStringLiteral("123Z");
}

// A file as GTK writes it: one bookmark per document, one or two applications each.
QByteArray xbelFile(const QString& folder, const QDateTime& now)
{
    QByteArray text =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\"\n"
        "      xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\"\n"
        "      xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\"\n>\n";
    for (int i = 0; i < xbelBookmarks; ++i) {
        const QByteArray when = stamp(now.addSecs(-97LL * i)).toUtf8();
        text += "  <bookmark href=\"" +
                uriOf(folder + QStringLiteral("/file %1.odt").arg(i)).toUtf8() + "\" added=\"" +
                when + "\" modified=\"" + when + "\" visited=\"" + when +
                "\">\n    <info>\n      <metadata owner=\"http://freedesktop.org\">\n"
                "        <mime:mime-type type=\"application/vnd.oasis.opendocument.text\"/>\n"
                "        <bookmark:applications>\n";
        for (int a = 0; a < 1 + i % 2; ++a) {
            const int app = (i + 7 * a) % xbelApplications;
            text += "          <bookmark:application name=\"Application " +
                    QByteArray::number(app) + "\" exec=\"&apos;app" + QByteArray::number(app) +
                    " %u&apos;\" modified=\"" + when + "\" count=\"" +
                    QByteArray::number(1 + i % 4) + "\"/>\n";
        }
        text += "        </bookmark:applications>\n      </metadata>\n    </info>\n  </bookmark>\n";
    }
    text += "</xbel>\n";
    return text;
}

TestHome& populatedHome()
{
    static TestHome* home = [] {
        auto* made = new TestHome;
        const QDateTime now = QDateTime::currentDateTime();
        for (int app = 0; app < recordApplications; ++app) {
            const QString id = QStringLiteral("org.example.Record%1").arg(app);
            made->installApplication(id, QStringLiteral("Record %1").arg(app));
            QStringList documents;
            for (int doc = 0; doc < documentsPerRecord; ++doc)
                documents << made->createDocument(
                    QStringLiteral("Records/%1/file %2.txt").arg(app).arg(doc),
                    now.addSecs(-3600 * (app + doc)));
            made->writeRecord(id, documents, now.addSecs(-60 * app));
        }
        for (int app = 0; app < xbelApplications; ++app)
            made->installApplication(QStringLiteral("org.example.Xbel%1").arg(app),
                                     QStringLiteral("Application %1").arg(app));
        const QString folder = made->path() + QStringLiteral("/Shared");
        for (int i = 0; i < xbelBookmarks; ++i)
            made->createDocument(QStringLiteral("Shared/file %1.odt").arg(i), now.addDays(-40));
        made->writeFile(made->dataHome() + QStringLiteral("/recently-used.xbel"),
                        xbelFile(folder, now));
        // Folders changed long ago: the application index is built once and kept.
        const QDateTime longAgo = now.addDays(-2);
        TestHome::setModificationTime(made->dataHome() + QStringLiteral("/applications"), longAgo);
        TestHome::setModificationTime(made->systemDataDir() + QStringLiteral("/applications"),
                                      longAgo);
        UserDefaults::global().reload();
        return made;
    }();
    return *home;
}

QString xbelPath()
{
    return populatedHome().dataHome() + QStringLiteral("/recently-used.xbel");
}

// What the store does with the shared file in a rebuild.
qsizetype xbelPart()
{
    const RecentlyUsedFile file = RecentlyUsedFile::load(xbelPath());
    MetadataQuery::setCurrent(std::make_shared<RecentlyUsedMetadata>(file));
    return readRecentlyUsedEntries(file).size();
}

void xbelRebuild(benchmark::State& state)
{
    populatedHome();
    for (auto _ : state) {
        if (xbelPart() != xbelApplications)
            state.SkipWithError("not every application was found");
    }
    MetadataQuery::setCurrent(nullptr);
}
BENCHMARK(xbelRebuild)->Unit(benchmark::kMillisecond);

// The entries alone, from a file already read: index look-ups, one stat per document, dating and
// sorting.
void xbelEntriesOnly(benchmark::State& state)
{
    populatedHome();
    const RecentlyUsedFile file = RecentlyUsedFile::load(xbelPath());
    for (auto _ : state)
        benchmark::DoNotOptimize(readRecentlyUsedEntries(file));
}
BENCHMARK(xbelEntriesOnly)->Unit(benchmark::kMillisecond);

// The same with a calendar that carries the system's time zone: local-time conversions through
// the C library call tzset(), which looks at /etc/localtime again each time (a stat per
// conversion, several per document); a time zone read once costs none.
void xbelEntriesZoneCalendar(benchmark::State& state)
{
    populatedHome();
    const RecentlyUsedFile file = RecentlyUsedFile::load(xbelPath());
    Calendar::setCurrent(Calendar(QTimeZone::systemTimeZone(), Qt::Monday,
                                  [] { return QDateTime::currentDateTimeUtc(); }));
    for (auto _ : state)
        benchmark::DoNotOptimize(readRecentlyUsedEntries(file));
    Calendar::setCurrent(Calendar::system());
}
BENCHMARK(xbelEntriesZoneCalendar)->Unit(benchmark::kMillisecond);

// Only the shared date rules the entries go through: makeRecentFile for each registration of an
// installed application (3,000 here), as every source calls it.
void datingAlone(benchmark::State& state)
{
    populatedHome();
    const QString folder = populatedHome().path() + QStringLiteral("/Shared/");
    QList<QUrl> urls;
    for (int i = 0; i < xbelBookmarks; ++i)
        urls << QUrl::fromLocalFile(folder + QStringLiteral("file %1.odt").arg(i));
    const QDateTime used = QDateTime::currentDateTimeUtc().addDays(-3);
    for (auto _ : state) {
        for (int i = 0; i < xbelBookmarks * 3 / 2; ++i)
            benchmark::DoNotOptimize(makeRecentFile(urls.at(i % xbelBookmarks), QVariant(), used));
    }
}
BENCHMARK(datingAlone)->Unit(benchmark::kMillisecond);

qint64 xbelIo()
{
    QFile file(xbelPath());
    qint64 total = file.open(QIODevice::ReadOnly) ? file.readAll().size() : 0;
    const QString folder = populatedHome().path() + QStringLiteral("/Shared/");
    for (int i = 0; i < xbelBookmarks; ++i) {
        struct stat info
        {};
        total += ::stat(
            QFile::encodeName(folder + QStringLiteral("file %1.odt").arg(i)).constData(), &info);
    }
    return total;
}

void xbelUnavoidableIo(benchmark::State& state)
{
    populatedHome();
    for (auto _ : state)
        benchmark::DoNotOptimize(xbelIo());
}
BENCHMARK(xbelUnavoidableIo)->Unit(benchmark::kMillisecond);

void fullRebuildWithXbel(benchmark::State& state)
{
    populatedHome();
    Diagnostics::setSink([](const QString&) {});
    // Until the rebuild reads the shared file itself, it is read here the way it will be.
    const std::optional<QList<RecentApp>> probe = buildRecentApps();
    const bool rebuildReadsSharedFile = probe && probe->size() > recordApplications;
    for (auto _ : state) {
        std::optional<QList<RecentApp>> apps;
        if (rebuildReadsSharedFile) {
            apps = buildRecentApps();
        } else {
            const RecentlyUsedFile file = RecentlyUsedFile::load(xbelPath());
            MetadataQuery::setCurrent(std::make_shared<RecentlyUsedMetadata>(file));
            apps = buildRecentApps();
            if (apps)
                apps->append(readRecentlyUsedEntries(file));
        }
        if (!apps || apps->size() != recordApplications + xbelApplications)
            state.SkipWithError("the rebuild did not find every application");
        benchmark::DoNotOptimize(apps);
    }
    MetadataQuery::setCurrent(nullptr);
    Diagnostics::setSink({});
}
BENCHMARK(fullRebuildWithXbel)->Unit(benchmark::kMillisecond);

void fullUnavoidableIo(benchmark::State& state)
{
    const TestHome& home = populatedHome();
    const QDir folder(home.recordFolder());
    for (auto _ : state) {
        qint64 total = xbelIo();
        for (const QString& record : folder.entryList(QDir::Files, QDir::Name)) {
            QFile file(folder.filePath(record));
            if (file.open(QIODevice::ReadOnly))
                total += file.readAll().size();
        }
        for (int app = 0; app < recordApplications; ++app)
            for (int doc = 0; doc < documentsPerRecord; ++doc) {
                struct stat info
                {};
                total += ::stat(
                    QFile::encodeName(home.path() +
                                      QStringLiteral("/Records/%1/file %2.txt").arg(app).arg(doc))
                        .constData(),
                    &info);
            }
        benchmark::DoNotOptimize(total);
    }
}
BENCHMARK(fullUnavoidableIo)->Unit(benchmark::kMillisecond);

void parseBookmarks(benchmark::State& state)
{
    const QByteArray text =
        xbelFile(QStringLiteral("/home/user/Documents"), QDateTime::currentDateTime()).repeated(1);
    QByteArray big = text;
    if (state.range(0) != xbelBookmarks) {
        // 50,000 bookmarks: the same bookmarks repeated.
        const qsizetype start = text.indexOf("  <bookmark ");
        const qsizetype end = text.lastIndexOf("</xbel>");
        const QByteArray body = text.mid(start, end - start);
        big = text.left(start) + body.repeated(int(state.range(0) / xbelBookmarks)) + "</xbel>\n";
    }
    for (auto _ : state) {
        const RecentlyUsedFile file = RecentlyUsedFile::parse(big);
        if (file.bookmarks().size() != state.range(0))
            state.SkipWithError("wrong number of bookmarks");
    }
    state.SetBytesProcessed(state.iterations() * big.size());
}
BENCHMARK(parseBookmarks)->Arg(xbelBookmarks)->Arg(50000)->Unit(benchmark::kMillisecond);

void buildApplicationIndex(benchmark::State& state)
{
    populatedHome();
    for (auto _ : state) {
        DesktopApplicationIndex index;
        benchmark::DoNotOptimize(index.entryCount());
    }
}
BENCHMARK(buildApplicationIndex)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
