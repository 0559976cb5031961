#pragma once

#include <QImage>
#include <QSize>

// Pictures are only ever made smaller, keeping their proportions.
class ThumbnailScaling
{
public:
    // The image scaled down to fit the box; unchanged when it already fits.
    static QImage fitInto(const QImage& image, const QSize& box);
    // The size a picture of the given size takes when fitted into the box (never enlarged, never
    // below one pixel in either direction).
    static QSize fittedSize(const QSize& size, const QSize& box);
};
