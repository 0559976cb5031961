#pragma once

#include <QImage>
#include <QMutex>

#include <optional>

// Where a generation leaves its picture for the caller: one optional image, empty until a
// thumbnail has been made. Shared between the caller and the generation; safe on any thread.
class ThumbnailResultBox
{
public:
    std::optional<QImage> image() const;
    void setImage(std::optional<QImage> image);

private:
    mutable QMutex m_mutex;
    std::optional<QImage> m_image;
};
