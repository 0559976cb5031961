#include "ThumbnailService.h"

#include "FileUri.h"
#include "SharedThumbnailCache.h"
#include "ThreadPriority.h"
#include "ThumbnailGenerator.h"
#include "ThumbnailKey.h"
#include "ThumbnailResultBox.h"
#include "ThumbnailerRegistry.h"
#include "ThumbnailerRunner.h"

#include <QCoreApplication>
#include <QRunnable>
#include <QThread>

#include <algorithm>
#include <cmath>
#include <malloc.h>

struct ThumbnailService::Generation
{
    QString inFlightKey;
    QString memoryKey;
    QString path;
    QByteArray recordedUri;
    QSize box;
    qreal devicePixelRatio = 1.0;
    QList<ThumbnailTicket> tickets;
    // Set while the work is queued on the pool, so that it can be taken off again.
    QRunnable* queued = nullptr;
    std::optional<QImage> result;
};

namespace {
constexpr int pictureMappingThreshold = 64 * 1024;

// Device pixels inside the requested size: never larger than asked for.
QSize pixelBox(double width, double height, qreal devicePixelRatio)
{
    const auto pixels = [devicePixelRatio](double points) {
        return std::max(1, static_cast<int>(std::floor(points * devicePixelRatio)));
    };
    return {pixels(width), pixels(height)};
}

bool isOpaque(const QImage& image)
{
    if (!image.hasAlphaChannel())
        return true;
    const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x)
            if (qAlpha(line[x]) != 255)
                return false;
    }
    return true;
}

// The formats the window's pixmaps hold their pixels in: RGB32 for opaque pictures (photos,
// pages), premultiplied ARGB32 for the rest. A picture already in it becomes a pixmap without
// being copied, so the views' pixmaps share their pixels with the memory cache; converted here,
// on a worker, the main thread has nothing left to convert either.
QImage inPixmapFormat(const QImage& image)
{
    const QImage::Format format =
        isOpaque(image) ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    return image.format() == format ? image : image.convertToFormat(format);
}

// Pictures (a thumbnail is 100 to 150 KB, a photo being decoded tens of MB) get pages of their
// own, given back the moment they are freed. Left to itself, glibc raises this threshold to the
// size of the first large buffer freed, after which every picture comes from the heaps of the
// threads that made it; freed from the main thread in another order, they leave holes those
// heaps keep resident.
void keepPicturesOutOfTheHeaps()
{
    static const bool set = mallopt(M_MMAP_THRESHOLD, pictureMappingThreshold) == 1 &&
                            mallopt(M_TRIM_THRESHOLD, pictureMappingThreshold) == 1;
    Q_UNUSED(set);
}

void shutDownService()
{
    ThumbnailService::instance().shutdown();
}
} // namespace

ThumbnailService& ThumbnailService::instance()
{
    static ThumbnailService service;
    return service;
}

ThumbnailService::ThumbnailService()
{
    keepPicturesOutOfTheHeaps();
    m_pool.setMaxThreadCount(workerThreads);
    m_pool.setObjectName(QStringLiteral("Vorlane.Thumbnails"));
    reloadEnvironment(ThumbnailGenerator::defaultTimeLimit);
    if (QCoreApplication* application = QCoreApplication::instance()) {
        // Completions are handed out by this object's events, on the main thread.
        if (thread() != application->thread())
            moveToThread(application->thread());
        qAddPostRoutine(shutDownService);
    }
}

ThumbnailService::~ThumbnailService()
{
    shutdown();
}

void ThumbnailService::shutdown()
{
    ThumbnailerRunner::abandonAll();
    m_pool.clear();
    m_pool.waitForDone();
}

void ThumbnailService::reloadEnvironment(std::chrono::milliseconds thumbnailerTimeLimit)
{
    auto generator = std::make_shared<const ThumbnailGenerator>(
        SharedThumbnailCache(), ThumbnailerRegistry::fromEnvironment(), thumbnailerTimeLimit);
    const QMutexLocker lock(&m_mutex);
    m_generator = std::move(generator);
}

std::shared_ptr<const ThumbnailGenerator> ThumbnailService::generator() const
{
    const QMutexLocker lock(&m_mutex);
    return m_generator;
}

ThumbnailTicket ThumbnailService::request(Request request)
{
    if (!request.callback)
        return 0;
    if (!request.fileUrl.isLocalFile()) {
        answerNone(std::move(request));
        return 0;
    }
    const QString path = request.fileUrl.toLocalFile();
    const QString memoryKey = thumbnailKey(path, request.width, request.height);
    const QString inFlightKey = memoryKey + u'@' + QString::number(request.devicePixelRatio);
    if (request.receiver)
        watchReceiver(request.receiver);

    const QMutexLocker lock(&m_mutex);
    const ThumbnailTicket ticket = ++m_lastTicket;
    m_waiters.insert(ticket, Waiter{request.receiver, request.receiver, request.fileUrl,
                                    std::move(request.box), std::move(request.callback)});
    ++m_statistics.requests;
    if (const auto found = m_inFlight.constFind(inFlightKey); found != m_inFlight.cend()) {
        (*found)->tickets << ticket;
        ++m_statistics.joined;
        return ticket;
    }
    auto generation = std::make_shared<Generation>();
    generation->inFlightKey = inFlightKey;
    generation->memoryKey = memoryKey;
    generation->path = path;
    generation->recordedUri = request.fileUrl.toEncoded();
    generation->box = pixelBox(request.width, request.height, request.devicePixelRatio);
    generation->devicePixelRatio = request.devicePixelRatio;
    generation->tickets << ticket;
    m_inFlight.insert(inFlightKey, generation);
    start(generation);
    return ticket;
}

void ThumbnailService::answerNone(Request request)
{
    QMetaObject::invokeMethod(
        this,
        [receiver = QPointer<QObject>(request.receiver), hasReceiver = request.receiver != nullptr,
         request = std::move(request)] {
            if (hasReceiver && !receiver)
                return;
            if (request.box)
                request.box->setImage(std::nullopt);
            request.callback(request.fileUrl, std::nullopt);
        },
        Qt::QueuedConnection);
}

void ThumbnailService::start(const std::shared_ptr<Generation>& generation)
{
    ++m_statistics.generations;
    ++m_atWork;
    QRunnable* work = QRunnable::create([this, generation] { run(generation); });
    generation->queued = work;
    m_pool.start(work);
}

void ThumbnailService::run(const std::shared_ptr<Generation>& generation)
{
    {
        const QMutexLocker lock(&m_mutex);
        generation->queued = nullptr;
        // Everyone cancelled while it was being taken off the queue: nobody can join it now.
        if (generation->tickets.isEmpty()) {
            m_inFlight.remove(generation->inFlightKey);
            ++m_statistics.cancelled;
            --m_atWork;
            return;
        }
    }
    // With every core decoding pictures, the window still gets its frames; the thumbnailers a
    // worker starts inherit its priority.
    ThreadPriority::lowerThisThread();
    generation->result = produce(*generation);
    bool lastAtWork = false;
    {
        const QMutexLocker lock(&m_mutex);
        lastAtWork = --m_atWork == 0;
    }
    // A burst of pictures, and the refresh that usually comes before it, leave the heaps full
    // of freed pages that malloc keeps resident: given back once the work is done.
    if (lastAtWork)
        malloc_trim(0);
    QMetaObject::invokeMethod(
        this, [this, generation] { deliver(generation); }, Qt::QueuedConnection);
}

std::optional<QImage> ThumbnailService::produce(const Generation& generation)
{
    const std::optional<FileStamp> stamp = FileStamp::of(generation.path);
    const auto known = m_memory.find(generation.memoryKey);
    // The picture we have still shows the file as it is: nothing to make.
    if (stamp && known && known->stamp == stamp &&
        known->image.devicePixelRatio() == generation.devicePixelRatio) {
        const QMutexLocker lock(&m_mutex);
        ++m_statistics.memoryConfirmed;
        return known->image;
    }
    const ThumbnailOutcome outcome =
        generator()->generate(generation.path, generation.box, generation.recordedUri);
    std::optional<QImage> image = outcome.image();
    if (image) {
        image = inPixmapFormat(*image);
        image->setDevicePixelRatio(generation.devicePixelRatio);
        m_memory.insert(generation.memoryKey, *image, outcome.stamp());
    } else {
        // A deleted or no longer readable file must not keep showing its old picture.
        m_memory.remove(generation.memoryKey);
    }
    const QMutexLocker lock(&m_mutex);
    switch (outcome.source()) {
    case ThumbnailOutcome::Source::SharedCache:
        ++m_statistics.sharedCacheHits;
        break;
    case ThumbnailOutcome::Source::Rendered:
        ++m_statistics.rendered;
        break;
    case ThumbnailOutcome::Source::RenderFailed:
        ++m_statistics.renderFailures;
        break;
    case ThumbnailOutcome::Source::None:
        break;
    }
    return image;
}

void ThumbnailService::deliver(const std::shared_ptr<Generation>& generation)
{
    QList<Waiter> waiters;
    {
        const QMutexLocker lock(&m_mutex);
        if (m_inFlight.value(generation->inFlightKey) == generation)
            m_inFlight.remove(generation->inFlightKey);
        for (const ThumbnailTicket ticket : std::as_const(generation->tickets)) {
            if (auto found = m_waiters.find(ticket); found != m_waiters.end()) {
                waiters << std::move(*found);
                m_waiters.erase(found);
            }
        }
        m_statistics.delivered += static_cast<int>(waiters.size());
    }
    for (const Waiter& waiter : std::as_const(waiters)) {
        if (waiter.receiverAddress && !waiter.receiver)
            continue;
        if (waiter.box)
            waiter.box->setImage(generation->result);
        waiter.callback(waiter.fileUrl, generation->result);
    }
}

void ThumbnailService::cancel(ThumbnailTicket ticket)
{
    const QMutexLocker lock(&m_mutex);
    dropWaiter(ticket);
}

void ThumbnailService::cancelAll(const QObject* receiver)
{
    if (!receiver)
        return;
    const QMutexLocker lock(&m_mutex);
    QList<ThumbnailTicket> tickets;
    for (auto it = m_waiters.cbegin(); it != m_waiters.cend(); ++it) {
        if (it->receiverAddress == receiver)
            tickets << it.key();
    }
    for (const ThumbnailTicket ticket : std::as_const(tickets))
        dropWaiter(ticket);
}

// Called with the mutex held.
void ThumbnailService::dropWaiter(ThumbnailTicket ticket)
{
    if (!m_waiters.remove(ticket))
        return;
    for (auto it = m_inFlight.begin(); it != m_inFlight.end(); ++it) {
        const std::shared_ptr<Generation>& generation = *it;
        if (!generation->tickets.removeOne(ticket))
            continue;
        // Nobody waits for it and it has not started: it need not run at all.
        if (generation->tickets.isEmpty() && generation->queued &&
            m_pool.tryTake(generation->queued)) {
            delete generation->queued;
            generation->queued = nullptr;
            ++m_statistics.cancelled;
            --m_atWork;
            m_inFlight.erase(it);
        }
        return;
    }
}

void ThumbnailService::watchReceiver(QObject* receiver)
{
    {
        const QMutexLocker lock(&m_mutex);
        if (m_watchedReceivers.contains(receiver))
            return;
        m_watchedReceivers.insert(receiver);
    }
    // Direct: the requests go while the receiver is still being destroyed, before its address
    // can be reused.
    connect(
        receiver, &QObject::destroyed, this,
        [this, receiver] {
            cancelAll(receiver);
            const QMutexLocker lock(&m_mutex);
            m_watchedReceivers.remove(receiver);
        },
        Qt::DirectConnection);
}

ThumbnailStatistics ThumbnailService::statistics() const
{
    const QMutexLocker lock(&m_mutex);
    return m_statistics;
}

void ThumbnailService::resetStatistics()
{
    const QMutexLocker lock(&m_mutex);
    m_statistics = {};
}

int ThumbnailService::pendingGenerations() const
{
    const QMutexLocker lock(&m_mutex);
    return static_cast<int>(m_inFlight.size());
}
