#include "ThumbnailGenerator.h"

#include "FileUri.h"
#include "ImageThumbnailRenderer.h"
#include "PdfThumbnailRenderer.h"
#include "PickListThumbnails.h"
#include "SharedThumbnailSize.h"
#include "ThumbnailScaling.h"
#include "ThumbnailerRunner.h"

#include <QDir>
#include <QFileInfo>
#include <QMimeDatabase>

#include <algorithm>

ThumbnailGenerator::ThumbnailGenerator(SharedThumbnailCache sharedCache,
                                       ThumbnailerRegistry thumbnailers,
                                       std::chrono::milliseconds thumbnailerTimeLimit)
    : m_sharedCache(std::move(sharedCache))
    , m_thumbnailers(std::move(thumbnailers))
    , m_timeLimit(thumbnailerTimeLimit)
{}

ThumbnailOutcome ThumbnailGenerator::generate(const QString& path, const QSize& box,
                                              const QByteArray& extraUri) const
{
    using Source = ThumbnailOutcome::Source;
    if (path.isEmpty() || box.isEmpty() || !QFileInfo(path).isAbsolute())
        return ThumbnailOutcome::none();
    const QString cleanPath = QDir::cleanPath(path);
    // Thumbnails of thumbnails would only fill the cache with copies of itself.
    if (m_sharedCache.contains(cleanPath))
        return ThumbnailOutcome::none();
    const std::optional<FileStamp> before = FileStamp::of(cleanPath);
    if (!before)
        return ThumbnailOutcome::none();

    const QByteArray uri = FileUri::fromPath(cleanPath);
    QList<QByteArray> uris{uri};
    if (!extraUri.isEmpty() && extraUri != uri)
        uris << extraUri;
    const SharedThumbnailSize size =
        SharedThumbnailSize::forEdge(std::max(box.width(), box.height()));
    if (const auto cached = m_sharedCache.find(uris, *before, size))
        return ThumbnailOutcome::found(Source::SharedCache, ThumbnailScaling::fitInto(*cached, box),
                                       *before);
    if (m_sharedCache.hasOwnFailure(uri, *before))
        return ThumbnailOutcome::none();

    const QMimeType mimeType = QMimeDatabase().mimeTypeForFile(cleanPath);
    const ThumbnailRenderResult result = render(cleanPath, mimeType, uri, *before, size.edge());
    // Deleted, replaced or rewritten meanwhile: what was made may show neither version.
    if (FileStamp::of(cleanPath) != before)
        return ThumbnailOutcome::none();
    if (result.status() == ThumbnailRenderResult::Status::Failed) {
        m_sharedCache.storeFailure(uri, *before);
        return ThumbnailOutcome::none(Source::RenderFailed);
    }
    if (result.status() == ThumbnailRenderResult::Status::TimedOut)
        return ThumbnailOutcome::none(Source::RenderFailed);
    if (!result.isRendered())
        return ThumbnailOutcome::none();
    m_sharedCache.store(result.image(), uri, *before, mimeType.name(), size);
    return ThumbnailOutcome::found(Source::Rendered, ThumbnailScaling::fitInto(result.image(), box),
                                   *before);
}

ThumbnailRenderResult ThumbnailGenerator::render(const QString& path, const QMimeType& mimeType,
                                                 const QByteArray& uri, const FileStamp& stamp,
                                                 int edge) const
{
    ThumbnailRenderResult result = ThumbnailRenderResult::unsupported();
    if (PdfThumbnailRenderer::handles(mimeType)) {
        result = PdfThumbnailRenderer::render(path, edge);
        // Without the PDF module an installed thumbnailer may still draw it.
        if (result.status() != ThumbnailRenderResult::Status::Unsupported)
            return result;
    }
    if (ImageThumbnailRenderer::handles(mimeType)) {
        result = ImageThumbnailRenderer::render(path, edge);
        // Qt's plugins claim some formats they read only in part (TGA files without the
        // version 2 footer): an installed thumbnailer may still make the picture.
        if (result.isRendered())
            return result;
    }
    // LibreOffice keeps a picture of each document in its list: no program needs to run.
    if (const QImage kept = QImage::fromData(PickListThumbnails::pngOf(path), "PNG");
        !kept.isNull())
        return ThumbnailRenderResult::rendered(ThumbnailScaling::fitInto(kept, QSize(edge, edge)));
    const auto thumbnailer = m_thumbnailers.forMimeType(mimeType);
    if (!thumbnailer)
        return result;
    // Other programs run the same thumbnailers: when one of them already failed on this
    // version of the file, so would we.
    if (m_sharedCache.hasAnyFailure(uri, stamp))
        return result;
    return ThumbnailerRunner::run(*thumbnailer, path, uri, edge, m_timeLimit);
}
