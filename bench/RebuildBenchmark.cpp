// A full rebuild of the list against the floor: only the I/O no reader can avoid (read every
// record file whole, stat every document). Two homes: 50 per-application records of 20 documents
// each; and the same plus a shared recently-used file of 2,000 bookmarks over 30 applications.

#include "BookmarkWriter.h"
#include "BuildRecentApps.h"
#include "Calendar.h"
#include "Diagnostics.h"
#include "RecentApp.h"
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
constexpr int sharedApplicationCount = 30;
constexpr int sharedBookmarkCount = 2000;

QString sharedDocumentPath(const TestHome& home, int bookmark)
{
    return home.path() + QStringLiteral("/Shared/%1/doc %2.txt").arg(bookmark % 40).arg(bookmark);
}

// 2,000 bookmarks as GLib writes them, each registered by one or two of 30 applications.
void writeSharedRecord(TestHome& home, const QDateTime& now)
{
    for (int app = 0; app < sharedApplicationCount; ++app)
        home.installApplication(QStringLiteral("org.example.Shared%1").arg(app),
                                QStringLiteral("Shared App %1").arg(app));
    QByteArray xbel = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<xbel version=\"1.0\" "
                      "xmlns:bookmark=\"http://www.freedesktop.org/standards/desktop-bookmarks\" "
                      "xmlns:mime=\"http://www.freedesktop.org/standards/shared-mime-info\">\n";
    for (int bookmark = 0; bookmark < sharedBookmarkCount; ++bookmark) {
        const QString path =
            home.createDocument(sharedDocumentPath(home, bookmark).mid(home.path().size() + 1),
                                now.addSecs(-600 * bookmark));
        const QByteArray stamp =
            now.addSecs(-60 * bookmark).toUTC().toString(Qt::ISODateWithMs).toUtf8();
        xbel += "  <bookmark href=\"" + QUrl::fromLocalFile(path).toEncoded() + "\" added=\"" +
                stamp + "\" modified=\"" + stamp + "\" visited=\"" + stamp + "\">\n    <info>\n" +
                "      <metadata owner=\"http://freedesktop.org\">\n" +
                "        <mime:mime-type type=\"text/plain\"/>\n        <bookmark:applications>\n";
        for (int app : {bookmark % sharedApplicationCount, (bookmark * 7) % sharedApplicationCount})
            xbel += "          <bookmark:application name=\"Shared App " + QByteArray::number(app) +
                    "\" exec=\"&apos;shared" + QByteArray::number(app) + " %u&apos;\" modified=\"" +
                    stamp + "\" count=\"1\"/>\n";
        xbel += "        </bookmark:applications>\n      </metadata>\n    </info>\n  </bookmark>\n";
    }
    home.writeFile(home.dataHome() + QStringLiteral("/recently-used.xbel"), xbel + "</xbel>\n");
}

// Homes for the whole run: 50 installed applications, each with a record of 20 documents, and
// optionally the shared record.
TestHome& populatedHome(bool withSharedRecord)
{
    static TestHome* homes[2] = {nullptr, nullptr};
    TestHome*& home = homes[withSharedRecord ? 1 : 0];
    if (home)
        return *home;
    home = [withSharedRecord] {
        auto* made = new TestHome;
        const QDateTime now = QDateTime::currentDateTime();
        if (withSharedRecord)
            writeSharedRecord(*made, now);
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
        return made;
    }();
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
                total += ::stat(QFile::encodeName(sharedDocumentPath(home, bookmark)).constData(),
                                &info);
            }
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
BENCHMARK(unavoidableIo)->ArgName("shared")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
} // namespace

BENCHMARK_MAIN();
