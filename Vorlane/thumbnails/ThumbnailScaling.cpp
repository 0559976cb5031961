#include "ThumbnailScaling.h"

#include <algorithm>

QSize ThumbnailScaling::fittedSize(const QSize& size, const QSize& box)
{
    if (size.isEmpty() || box.isEmpty())
        return {};
    if (size.width() <= box.width() && size.height() <= box.height())
        return size;
    const QSize scaled = size.scaled(box, Qt::KeepAspectRatio);
    return {std::clamp(scaled.width(), 1, box.width()),
            std::clamp(scaled.height(), 1, box.height())};
}

QImage ThumbnailScaling::fitInto(const QImage& image, const QSize& box)
{
    const QSize target = fittedSize(image.size(), box);
    if (target.isEmpty())
        return {};
    if (target == image.size())
        return image;
    return image.scaled(target, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}
