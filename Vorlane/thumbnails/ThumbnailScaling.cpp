#include "ThumbnailScaling.h"

#include <algorithm>
#include <cmath>

QSize ThumbnailScaling::fittedSize(const QSize& size, const QSize& box)
{
    if (size.isEmpty() || box.isEmpty())
        return {};
    if (size.width() <= box.width() && size.height() <= box.height())
        return size;
    // Rounded rather than cut off, so that 400 x 300 in 86 x 86 gives 86 x 65.
    const double factor = std::min(static_cast<double>(box.width()) / size.width(),
                                   static_cast<double>(box.height()) / size.height());
    const auto scaled = [factor](int length, int limit) {
        return std::clamp(static_cast<int>(std::lround(length * factor)), 1, limit);
    };
    return {scaled(size.width(), box.width()), scaled(size.height(), box.height())};
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
