#pragma once

#include "ThumbnailTicket.h"

#include <QImage>
#include <QUrl>

#include <functional>
#include <memory>
#include <optional>

class QObject;
class ThumbnailResultBox;

// Pictures of documents for the file views, kept in memory for as long as the program runs
// (within a bound on their bytes), keyed by the file's path and the requested size in points.
// New ones come, off the main thread, from the desktop's shared thumbnail cache or from our own
// renderers, and are handed back on the main thread.
//
// A view cell shows, in this order: the file's ordinary icon, the cachedThumbnail if there is
// one, then what its request delivers. A cell that is reused for another file cancels its
// earlier requests first (cancelThumbnails(cell)), so a late picture of the previous file never
// reaches it; the callback also names the file it is for.
class ThumbnailCache
{
public:
    using Completion = std::function<void(const std::optional<QImage>& image)>;
    using Callback = std::function<void(const QUrl& fileUrl, const std::optional<QImage>& image)>;

    // The thumbnail in memory for the file at this size, if any. A lookup only, for the main
    // thread when a cell is configured.
    static std::optional<QImage> cachedThumbnail(const QUrl& fileUrl, double width, double height);
    static void storeThumbnail(const QImage& image, const QUrl& fileUrl, double width,
                               double height);

    // Makes the thumbnail off the main thread, puts it into the box and keeps it in memory, then
    // calls the completion on the main thread with it, or with none when the file has no
    // thumbnail (missing, unsupported, damaged, or changed while it was made). Any thread; never
    // blocks. A thumbnail in memory that still shows the file as it is now is reused as it is.
    static void generateThumbnail(const QUrl& fileUrl,
                                  const std::shared_ptr<ThumbnailResultBox>& box,
                                  Completion completion, double width, double height,
                                  qreal devicePixelRatio = 1.0);

    // The same for views: the callback runs on the main thread only while the receiver exists
    // and the request has not been cancelled. The picture is at most width x height points, at
    // most (width, height) x devicePixelRatio pixels, and carries that device pixel ratio.
    static ThumbnailTicket requestThumbnail(QObject* receiver, const QUrl& fileUrl, double width,
                                            double height, qreal devicePixelRatio,
                                            Callback callback);
    static void cancelThumbnail(ThumbnailTicket ticket);
    // Every outstanding request of the receiver: for a cell about to show another file, or a
    // model about to be reset.
    static void cancelThumbnails(const QObject* receiver);
};
