#include "PreviewFit.h"

#include <algorithm>
#include <cmath>

QSize PreviewFit::shrunk(const QSize& size, const QSize& box)
{
    if (size.isEmpty() || box.isEmpty())
        return size;
    if (size.width() <= box.width() && size.height() <= box.height())
        return size;
    return size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

double PreviewFit::scaleToFit(const QSizeF& size, const QSizeF& box)
{
    if (!(size.width() > 0) || !(size.height() > 0))
        return 1.0;
    return std::min(box.width() / size.width(), box.height() / size.height());
}

QSize PreviewFit::devicePixels(const QSize& logical, double devicePixelRatio)
{
    const auto pixels = [devicePixelRatio](int points) {
        return std::max(1, static_cast<int>(std::floor(points * devicePixelRatio)));
    };
    return {pixels(logical.width()), pixels(logical.height())};
}
