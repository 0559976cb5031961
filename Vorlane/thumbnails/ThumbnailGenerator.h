#pragma once

#include "SharedThumbnailCache.h"
#include "ThumbnailOutcome.h"
#include "ThumbnailRenderResult.h"
#include "ThumbnailerRegistry.h"

#include <QByteArray>
#include <QList>
#include <QMimeType>
#include <QSize>
#include <QString>

#include <chrono>

// Makes one file's thumbnail, blocking; runs on a worker thread. In this order: the desktop's
// shared cache (a valid thumbnail of the needed size or larger), then, unless this version of the
// file is marked as failed, our own renderers: pictures through Qt's image readers, PDF first
// pages through Poppler, anything else through the installed freedesktop thumbnailers. What is
// rendered goes back into the shared cache at the standard's size; a definite failure leaves a
// failure mark. A file that changes or disappears while its thumbnail is made gets none, and
// nothing is written for it.
class ThumbnailGenerator
{
public:
    static constexpr std::chrono::milliseconds defaultTimeLimit{10000};

    ThumbnailGenerator(SharedThumbnailCache sharedCache, ThumbnailerRegistry thumbnailers,
                       std::chrono::milliseconds thumbnailerTimeLimit = defaultTimeLimit);

    // The thumbnail fitted into box (device pixels). extraUri is another spelling of the file's
    // URI under which the shared cache may hold it (the form a recent-files record used).
    ThumbnailOutcome generate(const QString& path, const QSize& box,
                              const QByteArray& extraUri = {}) const;

    const SharedThumbnailCache& sharedCache() const { return m_sharedCache; }

private:
    ThumbnailRenderResult render(const QString& path, const QMimeType& mimeType,
                                 const QByteArray& uri, const FileStamp& stamp, int edge) const;

    SharedThumbnailCache m_sharedCache;
    ThumbnailerRegistry m_thumbnailers;
    std::chrono::milliseconds m_timeLimit;
};
