#include "ThumbnailCache.h"

#include "ThumbnailMemoryCache.h"
#include "ThumbnailResultBox.h"
#include "ThumbnailService.h"
#include "ThumbnailTestFiles.h"
#include "ThumbnailTestHome.h"

#include <QCoreApplication>
#include <QPixmap>
#include <QThread>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;

namespace {
class ThumbnailCacheTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_home.isValid());
        service().reloadEnvironment(10s);
        service().memoryCache().clear();
        service().resetStatistics();
    }

    void TearDown() override
    {
        // Nothing of this test may reach the next one.
        EXPECT_TRUE(
            ThumbnailTestFiles::waitFor([] { return service().pendingGenerations() == 0; }));
    }

    static ThumbnailService& service() { return ThumbnailService::instance(); }

    QUrl document(const QString& name, const QColor& colour = Qt::red,
                  const QSize& size = QSize(400, 300)) const
    {
        return QUrl::fromLocalFile(ThumbnailTestFiles::writeImage(
            m_home.path() + QStringLiteral("/Documents/") + name, size, colour));
    }

    ThumbnailTestHome m_home;
};

// What a cell of a view shows, and how it asks for it.
class Cell : public QObject
{
public:
    void show(const QUrl& fileUrl, double size)
    {
        ThumbnailCache::cancelThumbnails(this);
        m_url = fileUrl;
        m_picture = ThumbnailCache::cachedThumbnail(fileUrl, size, size);
        ThumbnailCache::requestThumbnail(
            this, fileUrl, size, size, 1.0,
            [this](const QUrl& url, const std::optional<QImage>& image) {
                m_deliveries << url;
                if (image)
                    m_picture = image;
            });
    }

    QUrl m_url;
    std::optional<QImage> m_picture;
    QList<QUrl> m_deliveries;
};
} // namespace

TEST_F(ThumbnailCacheTest, CompletionRunsOnTheMainThreadWithTheBoxFilledAndTheMemoryCacheSet)
{
    const QUrl url = document(QStringLiteral("Report.png"));
    auto box = std::make_shared<ThumbnailResultBox>();
    std::optional<QImage> received;
    QThread* completionThread = nullptr;
    bool called = false;
    // The views may ask from a background thread; the answer still comes on the main thread.
    std::thread asker([&] {
        ThumbnailCache::generateThumbnail(
            url, box,
            [&](const std::optional<QImage>& image) {
                completionThread = QThread::currentThread();
                received = image;
                called = true;
            },
            86, 86);
    });
    asker.join();
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return called; }));
    EXPECT_EQ(completionThread, QCoreApplication::instance()->thread());
    ASSERT_TRUE(received);
    EXPECT_EQ(received->size(), QSize(86, 65));
    ASSERT_TRUE(box->image());
    EXPECT_EQ(box->image()->size(), QSize(86, 65));
    const auto cached = ThumbnailCache::cachedThumbnail(url, 86, 86);
    ASSERT_TRUE(cached);
    EXPECT_EQ(cached->size(), QSize(86, 65));
}

TEST_F(ThumbnailCacheTest, ListAndGridSizesAreTwoEntries)
{
    const QUrl url = document(QStringLiteral("both.png"));
    int answers = 0;
    for (const double size : {86.0, 192.0})
        ThumbnailCache::generateThumbnail(
            url, std::make_shared<ThumbnailResultBox>(),
            [&](const std::optional<QImage>&) { ++answers; }, size, size);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return answers == 2; }));
    EXPECT_EQ(ThumbnailCache::cachedThumbnail(url, 86, 86)->width(), 86);
    EXPECT_EQ(ThumbnailCache::cachedThumbnail(url, 192, 192)->width(), 192);
    EXPECT_EQ(service().memoryCache().count(), 2);
}

// A view turns each picture into a pixmap: one in the pixmap's own format is taken without a
// copy, so the view's pictures and the memory cache's share their pixels.
TEST_F(ThumbnailCacheTest, PicturesComeInTheFormatViewsShowThemIn)
{
    const auto png = [this](const QString& name, const QColor& colour) {
        QImage image(60, 40, QImage::Format_ARGB32);
        image.fill(colour);
        const QString path = m_home.document(name);
        image.save(path, "png");
        return QUrl::fromLocalFile(path);
    };
    const QColor seeThrough = QColor::fromRgb(0, 0, 255, 128);
    const struct
    {
        QUrl url;
        QColor colour;
    } documents[]{
        {document(QStringLiteral("photo.jpg"), Qt::green, QSize(800, 600)), Qt::green},
        {png(QStringLiteral("opaque.png"), Qt::red), Qt::red},
        {png(QStringLiteral("see-through.png"), seeThrough), seeThrough},
    };
    int answers = 0;
    for (const auto& made : documents)
        ThumbnailCache::generateThumbnail(
            made.url, nullptr, [&](const std::optional<QImage>&) { ++answers; }, 86, 86);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return answers == 3; }));
    for (const auto& made : documents) {
        const auto cached = ThumbnailCache::cachedThumbnail(made.url, 86, 86);
        ASSERT_TRUE(cached) << qPrintable(made.url.fileName());
        const QImage shown = QPixmap::fromImage(*cached).toImage();
        EXPECT_EQ(shown.constBits(), cached->constBits()) << qPrintable(made.url.fileName());
        const QColor corner = shown.pixelColor(0, 0);
        EXPECT_TRUE(ThumbnailTestFiles::isCloseTo(corner, made.colour, 2) &&
                    corner.alpha() == made.colour.alpha())
            << qPrintable(made.url.fileName()) << ' ' << qPrintable(corner.name(QColor::HexArgb));
    }
}

TEST_F(ThumbnailCacheTest, StoredThumbnailIsFoundUnderItsKey)
{
    const QUrl url = QUrl::fromLocalFile(QStringLiteral("/tmp/Report.pdf"));
    QImage image(10, 10, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ThumbnailCache::storeThumbnail(image, url, 86, 86);
    EXPECT_EQ(ThumbnailCache::cachedThumbnail(url, 86, 86), image);
    EXPECT_FALSE(ThumbnailCache::cachedThumbnail(url, 86, 87));
}

TEST_F(ThumbnailCacheTest, DeletedOrUnsupportedFileAnswersNoneAndStoresNothing)
{
    const QUrl missing = QUrl::fromLocalFile(m_home.path() + QStringLiteral("/missing.png"));
    const QUrl remote(QStringLiteral("https://example.org/a.png"));
    const QUrl unsupported = QUrl::fromLocalFile(ThumbnailTestFiles::writeBytes(
        m_home.document(QStringLiteral("notes.txt")), "nothing to see\n"));
    int answers = 0;
    std::optional<QImage> last = QImage(1, 1, QImage::Format_RGB32);
    auto box = std::make_shared<ThumbnailResultBox>();
    for (const QUrl& url : {missing, remote, unsupported}) {
        ThumbnailCache::generateThumbnail(
            url, box,
            [&](const std::optional<QImage>& image) {
                ++answers;
                last = image;
            },
            86, 86);
    }
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return answers == 3; }));
    EXPECT_FALSE(last);
    EXPECT_FALSE(box->image());
    EXPECT_EQ(service().memoryCache().count(), 0);
}

TEST_F(ThumbnailCacheTest, RequestsForAFileInFlightJoinItsGeneration)
{
    const QUrl url = document(QStringLiteral("popular.png"));
    QList<QImage> pictures;
    for (int i = 0; i < 5; ++i)
        ThumbnailCache::generateThumbnail(
            url, std::make_shared<ThumbnailResultBox>(),
            [&](const std::optional<QImage>& image) { pictures << image.value_or(QImage()); }, 192,
            192);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return pictures.size() == 5; }));
    const ThumbnailStatistics statistics = service().statistics();
    EXPECT_EQ(statistics.generations, 1);
    EXPECT_EQ(statistics.joined, 4);
    EXPECT_EQ(statistics.rendered, 1);
    for (const QImage& picture : std::as_const(pictures))
        EXPECT_EQ(picture.size(), QSize(192, 144));
}

TEST_F(ThumbnailCacheTest, ReusedCellNeverShowsThePreviousFilesPicture)
{
    const QUrl first = document(QStringLiteral("first.png"), Qt::red);
    const QUrl second = document(QStringLiteral("second.png"), Qt::blue);
    Cell cell;
    cell.show(first, 86);
    cell.show(second, 86);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return !cell.m_deliveries.isEmpty(); }));
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([] { return service().pendingGenerations() == 0; }));
    EXPECT_EQ(cell.m_deliveries, QList<QUrl>{second});
    ASSERT_TRUE(cell.m_picture);
    EXPECT_TRUE(
        ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*cell.m_picture), Qt::blue));
}

TEST_F(ThumbnailCacheTest, ReusedCellIgnoresTheEarlierFilesCachedPictureToo)
{
    const QUrl first = document(QStringLiteral("first.png"), Qt::red);
    const QUrl second = document(QStringLiteral("second.png"), Qt::blue);
    Cell cell;
    cell.show(first, 86);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return cell.m_deliveries.size() == 1; }));
    cell.show(second, 86);
    EXPECT_FALSE(cell.m_picture) << "nothing cached for the second file yet: the icon stays";
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return cell.m_deliveries.size() == 2; }));
    EXPECT_TRUE(
        ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*cell.m_picture), Qt::blue));
}

TEST_F(ThumbnailCacheTest, DestroyedReceiverIsNeverCalled)
{
    const QUrl url = document(QStringLiteral("a.png"));
    bool called = false;
    {
        QObject receiver;
        ThumbnailCache::requestThumbnail(
            &receiver, url, 86, 86, 1.0,
            [&](const QUrl&, const std::optional<QImage>&) { called = true; });
    }
    // A later request for the same file finishes after the first one would have.
    bool laterAnswered = false;
    ThumbnailCache::generateThumbnail(
        url, std::make_shared<ThumbnailResultBox>(),
        [&](const std::optional<QImage>&) { laterAnswered = true; }, 86, 86);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return laterAnswered; }));
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([] { return service().pendingGenerations() == 0; }));
    EXPECT_FALSE(called);
}

TEST_F(ThumbnailCacheTest, CancelledRequestIsNeverAnswered)
{
    const QUrl url = document(QStringLiteral("a.png"));
    QObject receiver;
    bool cancelledCalled = false;
    bool otherCalled = false;
    const ThumbnailTicket ticket = ThumbnailCache::requestThumbnail(
        &receiver, url, 86, 86, 1.0,
        [&](const QUrl&, const std::optional<QImage>&) { cancelledCalled = true; });
    ThumbnailCache::requestThumbnail(
        &receiver, url, 86, 86, 1.0,
        [&](const QUrl&, const std::optional<QImage>&) { otherCalled = true; });
    ThumbnailCache::cancelThumbnail(ticket);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return otherCalled; }));
    EXPECT_FALSE(cancelledCalled);
}

TEST_F(ThumbnailCacheTest, QueuedWorkNobodyWantsIsTakenOffThePool)
{
    // Both workers held up by a thumbnailer that waits for a go-ahead: what follows stays queued.
    const QString go = m_home.path() + QStringLiteral("/go");
    ThumbnailTestFiles::installThumbnailer(
        m_home.systemDataDir(), QStringLiteral("waiting"),
        QStringLiteral("while [ ! -e '%1' ]; do sleep 0.05; done\nexit 1").arg(go),
        QStringLiteral("%i %o"), QStringLiteral("text/csv"));
    service().reloadEnvironment(60s);
    QObject blockers;
    int blockersAnswered = 0;
    for (int i = 0; i < ThumbnailService::workerThreads; ++i)
        ThumbnailCache::requestThumbnail(
            &blockers,
            QUrl::fromLocalFile(ThumbnailTestFiles::writeBytes(
                m_home.document(QStringLiteral("blocker-%1.csv").arg(i)), "a,b\n")),
            86, 86, 1.0, [&](const QUrl&, const std::optional<QImage>&) { ++blockersAnswered; });

    QObject view;
    int called = 0;
    for (int i = 0; i < 24; ++i)
        ThumbnailCache::requestThumbnail(
            &view, document(QStringLiteral("many-%1.png").arg(i)), 192, 192, 1.0,
            [&](const QUrl&, const std::optional<QImage>&) { ++called; });
    ThumbnailCache::cancelThumbnails(&view);
    EXPECT_EQ(service().statistics().cancelled, 24);
    EXPECT_EQ(service().pendingGenerations(), ThumbnailService::workerThreads);

    ThumbnailTestFiles::writeBytes(go, {});
    ASSERT_TRUE(ThumbnailTestFiles::waitFor(
        [&] { return blockersAnswered == ThumbnailService::workerThreads; }));
    EXPECT_EQ(called, 0);
    EXPECT_EQ(service().statistics().rendered, 0);
}

TEST_F(ThumbnailCacheTest, CurrentPictureIsNotMadeAgainButAChangedFileGetsANewOne)
{
    const QString path = m_home.path() + QStringLiteral("/Documents/changing.png");
    const QUrl url = document(QStringLiteral("changing.png"), Qt::red);
    Cell cell;
    cell.show(url, 86);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return cell.m_deliveries.size() == 1; }));
    EXPECT_EQ(service().statistics().rendered, 1);

    // Configured again (scrolled back into view): shown from memory at once, confirmed, not made.
    cell.show(url, 86);
    ASSERT_TRUE(cell.m_picture);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return cell.m_deliveries.size() == 2; }));
    EXPECT_EQ(service().statistics().rendered, 1);
    EXPECT_EQ(service().statistics().memoryConfirmed, 1);

    ThumbnailTestFiles::writeImage(path, QSize(400, 300), Qt::blue);
    TestHome::setModificationTime(path, QDateTime::currentDateTime().addSecs(10));
    cell.show(url, 86);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return cell.m_deliveries.size() == 3; }));
    EXPECT_EQ(service().statistics().rendered, 2);
    EXPECT_TRUE(
        ThumbnailTestFiles::isCloseTo(ThumbnailTestFiles::centreColour(*cell.m_picture), Qt::blue));
    EXPECT_TRUE(ThumbnailTestFiles::isCloseTo(
        ThumbnailTestFiles::centreColour(*ThumbnailCache::cachedThumbnail(url, 86, 86)), Qt::blue));
}

TEST_F(ThumbnailCacheTest, DeletedFileLosesItsPictureInMemory)
{
    const QUrl url = document(QStringLiteral("doomed.png"));
    Cell cell;
    cell.show(url, 86);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return cell.m_deliveries.size() == 1; }));
    ASSERT_TRUE(ThumbnailCache::cachedThumbnail(url, 86, 86));
    QFile::remove(url.toLocalFile());
    cell.show(url, 86);
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return cell.m_deliveries.size() == 2; }));
    EXPECT_FALSE(ThumbnailCache::cachedThumbnail(url, 86, 86));
}

TEST_F(ThumbnailCacheTest, HighDensityPicturesHaveTheirDevicePixels)
{
    const QUrl url = document(QStringLiteral("sharp.png"), Qt::red, QSize(800, 800));
    std::optional<QImage> picture;
    bool called = false;
    QObject receiver;
    ThumbnailCache::requestThumbnail(&receiver, url, 86, 86, 2.0,
                                     [&](const QUrl&, const std::optional<QImage>& image) {
                                         picture = image;
                                         called = true;
                                     });
    ASSERT_TRUE(ThumbnailTestFiles::waitFor([&] { return called; }));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->size(), QSize(172, 172));
    EXPECT_EQ(picture->devicePixelRatio(), 2.0);
}

TEST(ThumbnailMemoryCacheTest, HoldsNoMoreBytesThanItsBound)
{
    ThumbnailMemoryCache cache(1024 * 1024);
    QImage picture(256, 256, QImage::Format_ARGB32); // 256 KiB
    picture.fill(Qt::red);
    for (int i = 0; i < 10; ++i)
        cache.insert(QStringLiteral("key-%1").arg(i), picture, std::nullopt);
    EXPECT_LE(cache.bytesUsed(), 1024 * 1024);
    EXPECT_EQ(cache.count(), 4);
    // The most recent stay.
    EXPECT_TRUE(cache.find(QStringLiteral("key-9")));
    EXPECT_FALSE(cache.find(QStringLiteral("key-0")));
    cache.insert(QStringLiteral("too big"), QImage(1024, 1024, QImage::Format_ARGB32),
                 std::nullopt);
    EXPECT_FALSE(cache.find(QStringLiteral("too big")));
}

TEST(ThumbnailMemoryCacheTest, TheProgramsCacheIsBounded)
{
    EXPECT_EQ(ThumbnailService::instance().memoryCache().byteLimit(), 32 * 1024 * 1024);
}
