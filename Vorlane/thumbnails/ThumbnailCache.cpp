#include "ThumbnailCache.h"

#include "ThumbnailKey.h"
#include "ThumbnailResultBox.h"
#include "ThumbnailService.h"

namespace {
QString keyFor(const QUrl& fileUrl, double width, double height)
{
    return thumbnailKey(fileUrl.toLocalFile(), width, height);
}
} // namespace

std::optional<QImage> ThumbnailCache::cachedThumbnail(const QUrl& fileUrl, double width,
                                                      double height)
{
    if (!fileUrl.isLocalFile())
        return std::nullopt;
    const auto entry =
        ThumbnailService::instance().memoryCache().find(keyFor(fileUrl, width, height));
    if (!entry)
        return std::nullopt;
    return entry->image;
}

void ThumbnailCache::storeThumbnail(const QImage& image, const QUrl& fileUrl, double width,
                                    double height)
{
    if (fileUrl.isLocalFile())
        ThumbnailService::instance().memoryCache().insert(keyFor(fileUrl, width, height), image,
                                                          std::nullopt);
}

void ThumbnailCache::generateThumbnail(const QUrl& fileUrl,
                                       const std::shared_ptr<ThumbnailResultBox>& box,
                                       Completion completion, double width, double height,
                                       qreal devicePixelRatio)
{
    if (!completion)
        return;
    ThumbnailService::Request request;
    request.fileUrl = fileUrl;
    request.width = width;
    request.height = height;
    request.devicePixelRatio = devicePixelRatio;
    request.box = box;
    request.callback = [completion = std::move(completion)](
                           const QUrl&, const std::optional<QImage>& image) { completion(image); };
    ThumbnailService::instance().request(std::move(request));
}

ThumbnailTicket ThumbnailCache::requestThumbnail(QObject* receiver, const QUrl& fileUrl,
                                                 double width, double height,
                                                 qreal devicePixelRatio, Callback callback)
{
    ThumbnailService::Request request;
    request.receiver = receiver;
    request.fileUrl = fileUrl;
    request.width = width;
    request.height = height;
    request.devicePixelRatio = devicePixelRatio;
    request.callback = std::move(callback);
    return ThumbnailService::instance().request(std::move(request));
}

void ThumbnailCache::cancelThumbnail(ThumbnailTicket ticket)
{
    ThumbnailService::instance().cancel(ticket);
}

void ThumbnailCache::cancelThumbnails(const QObject* receiver)
{
    ThumbnailService::instance().cancelAll(receiver);
}
