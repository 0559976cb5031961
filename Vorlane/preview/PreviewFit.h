#pragma once

#include <QSize>
#include <QSizeF>

// How content is fitted into the space the preview has.
class PreviewFit
{
public:
    // The size scaled down, aspect kept, until it fits into box; never enlarged, never empty.
    static QSize shrunk(const QSize& size, const QSize& box);
    // The factor that makes size just fit into box (enlarging as well as shrinking).
    static double scaleToFit(const QSizeF& size, const QSizeF& box);
    // The device pixels of a box of logical pixels: never empty.
    static QSize devicePixels(const QSize& logical, double devicePixelRatio);
};
