#include "PreviewImageDecoder.h"

#include "JpegCompleteness.h"
#include "PreviewFit.h"

#include <QImageReader>

bool PreviewImageDecoder::handles(const QMimeType& mimeType)
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

std::optional<PreviewImageDecoder::Picture> PreviewImageDecoder::decode(const QString& path,
                                                                        const QSize& box)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAllocationLimit(allocationLimitMiB);
    reader.setAutoTransform(true);
    if (reader.format() == "jpeg" && !JpegCompleteness::isComplete(path))
        return std::nullopt;
    Picture picture;
    picture.animated = reader.supportsAnimation() && reader.imageCount() > 1;
    const QSize stored = reader.size();
    // The reader scales before it turns the picture upright: a quarter turn swaps the sides.
    const bool quarterTurn =
        reader.transformation().testFlag(QImageIOHandler::TransformationRotate90);
    if (stored.isValid()) {
        picture.naturalSize = quarterTurn ? stored.transposed() : stored;
        const QSize shown = PreviewFit::shrunk(picture.naturalSize, box);
        if (shown != picture.naturalSize)
            reader.setScaledSize(quarterTurn ? shown.transposed() : shown);
    }
    if (!reader.read(&picture.image) || picture.image.isNull())
        return std::nullopt;
    if (!stored.isValid()) {
        picture.naturalSize = picture.image.size();
        const QSize shown = PreviewFit::shrunk(picture.naturalSize, box);
        if (shown != picture.naturalSize)
            picture.image =
                picture.image.scaled(shown, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    return picture;
}
