#include "ImageThumbnailRenderer.h"

#include "ThumbnailScaling.h"

#include <QImageReader>

bool ImageThumbnailRenderer::handles(const QMimeType& mimeType)
{
    static const QList<QByteArray> supported = QImageReader::supportedMimeTypes();
    if (supported.contains(mimeType.name().toLatin1()))
        return true;
    for (const QString& alias : mimeType.aliases()) {
        if (supported.contains(alias.toLatin1()))
            return true;
    }
    return false;
}

ThumbnailRenderResult ImageThumbnailRenderer::render(const QString& path, int edge)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(allocationLimitMiB);
    reader.setAutoTransform(true);
    const QSize box(edge, edge);
    const QSize original = reader.size();
    // The box is square, so the size before any EXIF rotation fits it just as well.
    if (original.isValid())
        reader.setScaledSize(ThumbnailScaling::fittedSize(original, box));
    QImage image;
    if (!reader.read(&image))
        return ThumbnailRenderResult::failed();
    return ThumbnailRenderResult::rendered(ThumbnailScaling::fitInto(image, box));
}
