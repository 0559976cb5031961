// What the files grid holds in memory once the user has scrolled through many documents at
// twice the pixel density: the bytes of each picture store (the thumbnails kept by the files
// model, the framed pictures of the grid, the thumbnail cache's memory, the type icons), the
// most each held on the way, the size thumbnails are asked at, and the process's resident memory.
// bench_window_grid_memory [documents]   (offscreen at density 2 unless the environment says
// otherwise; 1,000 documents by default: JPEG photos, PNG pictures and PDF reports)
// The documents are made by a second run of this program, so that the buffers of making them
// stay out of the memory measured here.
#include "AppsTableViewController.h"
#include "BenchDocuments.h"
#include "FileIconCache.h"
#include "FilesGridViewController.h"
#include "FilesViewController.h"
#include "GridCollectionView.h"
#include "GridItem.h"
#include "GridItemLayout.h"
#include "MainWindow.h"
#include "MainWindowController.h"
#include "RecentFilesModel.h"
#include "SharedReferences.h"
#include "TestHome.h"
#include "ThumbnailCache.h"
#include "ThumbnailService.h"
#include "UserDefaults.h"
#include "ViewController.h"
#include "VorlaneController.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QScrollBar>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <malloc.h>

namespace {
// Kilobytes of the process's memory from /proc/self/status: "VmRSS" now, "VmHWM" at the peak.
long statusKilobytes(const char* field)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(static_cast<qsizetype>(std::strlen(field)) + 1)
                .trimmed()
                .split(' ')
                .constFirst()
                .toLong();
    return -1;
}

double megabytes(qsizetype bytes)
{
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}

// Where the resident memory is: anonymous pages (the heap, pictures) against mapped files (the
// libraries, fonts, the icon theme), and of the heap what malloc hands out against what it keeps
// free without giving back.
void printBreakdown(const char* when)
{
    const struct mallinfo2 heap = mallinfo2();
    std::printf("  %s: anonymous %.1f MB, files %.1f MB, shared %.1f MB; malloc %.1f MB in use "
                "(%.1f MB of it mapped alone), %.1f MB free in its arenas\n",
                when, statusKilobytes("RssAnon:") / 1024.0, statusKilobytes("RssFile:") / 1024.0,
                statusKilobytes("RssShmem:") / 1024.0,
                megabytes(static_cast<qsizetype>(heap.uordblks + heap.hblkhd)),
                megabytes(static_cast<qsizetype>(heap.hblkhd)),
                megabytes(static_cast<qsizetype>(heap.fordblks)));
}

const QString makeDocumentsOption = QStringLiteral("--make-documents");

// Runs as the child that makes the documents: their paths on standard output, one a line.
int makeDocuments(const QString& folder, int count)
{
    for (const QUrl& url : BenchDocuments::make(folder, count))
        std::printf("%s\n", QFile::encodeName(url.toLocalFile()).constData());
    return 0;
}

QStringList madeByChild(const QString& folder, int count)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(),
                {makeDocumentsOption, folder, QString::number(count)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0)
        return {};
    QStringList paths;
    for (const QByteArray& line : child.readAllStandardOutput().split('\n'))
        if (!line.isEmpty())
            paths << QFile::decodeName(line);
    return paths;
}

struct Peaks
{
    qsizetype pictures = 0;
    qsizetype framed = 0;
    qsizetype memory = 0;

    void take(const RecentFilesModel* model, const GridItem* item)
    {
        pictures = std::max(pictures, model->pictures().bytesUsed());
        framed = std::max(framed, item->framedPictures().bytesUsed());
        memory = std::max(memory, ThumbnailService::instance().memoryCache().bytesUsed());
    }
};
} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("QT_SCALE_FACTOR"))
        qputenv("QT_SCALE_FACTOR", "2");
    QApplication application(argc, argv);
    if (argc == 4 && QString::fromLocal8Bit(argv[1]) == makeDocumentsOption)
        return makeDocuments(QString::fromLocal8Bit(argv[2]), std::atoi(argv[3]));
    const int documentCount = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;

    TestHome home;
    for (const QString& folder : {QStringLiteral("mime"), QStringLiteral("icons")})
        QFile::link(QStringLiteral("/usr/share/") + folder, home.systemDataDir() + u'/' + folder);
    std::printf("making %d documents...\n", documentCount);
    std::fflush(stdout);
    const QStringList paths =
        madeByChild(home.path() + QStringLiteral("/Pictures/Shoot"), documentCount);
    if (paths.size() != documentCount) {
        std::fprintf(stderr, "could not make the documents\n");
        return 1;
    }
    home.installApplication(QStringLiteral("org.example.Photos"), QStringLiteral("Photos"));
    home.writeRecord(QStringLiteral("org.example.Photos"), paths, QDateTime::currentDateTime());
    ThumbnailService::instance().reloadEnvironment(std::chrono::seconds(10));
    UserDefaults::standard().reload();
    UserDefaults::standard().setObject(QStringLiteral("FilesViewType"), QStringLiteral("grid"));
    VorlaneController::shared().refreshFromStore();
    while (VorlaneController::shared().isRefreshing())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);

    auto controller = std::make_unique<MainWindowController>();
    sharedMainWindowController = controller.get();
    controller->window()->resize(780, 440);
    controller->window()->show();
    GridCollectionView* grid = controller->contentViewController()
                                   ->filesViewController()
                                   ->filesGridViewController()
                                   ->collectionView();
    sharedAppsViewController->selectRow(0);
    RecentFilesModel* model = grid->filesModel();
    const long residentBefore = statusKilobytes("VmRSS:");
    printBreakdown("window shown");

    // Down through every document, a page at a time, each page's pictures shown before the next.
    QScrollBar* bar = grid->verticalScrollBar();
    Peaks peaks;
    int pages = 0;
    for (int value = 0;; value = std::min(value + bar->pageStep(), bar->maximum())) {
        bar->setValue(value);
        const QDeadlineTimer deadline(60000);
        for (;;) {
            grid->viewport()->repaint();
            QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            bool allShown = true;
            for (int row = 0; row < model->rowCount() && allShown; ++row) {
                const QModelIndex index = model->index(row, 0);
                if (grid->viewport()->rect().intersects(grid->visualRect(index)))
                    allShown = index.data(RecentFilesModel::HasThumbnailRole).toBool();
            }
            if (allShown || deadline.hasExpired())
                break;
        }
        peaks.take(model, grid->gridItem());
        ++pages;
        if (value >= bar->maximum())
            break;
    }
    while (ThumbnailService::instance().pendingGenerations() > 0)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    peaks.take(model, grid->gridItem());

    const QModelIndex last = model->index(model->rowCount() - 1, 0);
    const QSizeF request = model->pictureRequestSize();
    const auto cached = ThumbnailCache::cachedThumbnail(
        last.data(RecentFilesModel::FileUrlRole).toUrl(), request.width(), request.height());
    std::printf("%d documents, %d pages scrolled at density %.0f; thumbnails asked at %.0f x %.0f "
                "points (%d pixels), shown in %d points\n",
                documentCount, pages, grid->devicePixelRatioF(), request.width(), request.height(),
                cached ? std::max(cached->width(), cached->height()) : 0,
                GridItemLayout::thumbnailSize);
    const auto report = [](const char* name, qsizetype bytes, qsizetype count, qsizetype peak,
                           qsizetype limit) {
        std::printf("  %-28s %7.1f MB in %4lld pictures (at most %.1f MB on the way; bound "
                    "%.1f MB)\n",
                    name, megabytes(bytes), static_cast<long long>(count), megabytes(peak),
                    megabytes(limit));
    };
    report("files model thumbnails", model->pictures().bytesUsed(), model->pictures().count(),
           peaks.pictures, model->pictures().byteLimit());
    const PixmapStore& framed = grid->gridItem()->framedPictures();
    report("grid framed pictures", framed.bytesUsed(), framed.count(), peaks.framed,
           framed.byteLimit());
    const ThumbnailMemoryCache& memory = ThumbnailService::instance().memoryCache();
    report("thumbnail cache memory", memory.bytesUsed(), memory.count(), peaks.memory,
           memory.byteLimit());
    const PixmapStore& icons = FileIconCache::shared().pictures();
    report("type icons", icons.bytesUsed(), icons.count(), icons.bytesUsed(), icons.byteLimit());
    std::printf("  resident memory %.1f MB (%.1f MB with the window shown, before scrolling), "
                "peak %.1f MB\n",
                statusKilobytes("VmRSS:") / 1024.0, residentBefore / 1024.0,
                statusKilobytes("VmHWM:") / 1024.0);
    printBreakdown("after scrolling");
    controller.reset();
    return 0;
}
