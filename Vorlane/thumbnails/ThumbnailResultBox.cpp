#include "ThumbnailResultBox.h"

std::optional<QImage> ThumbnailResultBox::image() const
{
    const QMutexLocker lock(&m_mutex);
    return m_image;
}

void ThumbnailResultBox::setImage(std::optional<QImage> image)
{
    const QMutexLocker lock(&m_mutex);
    m_image = std::move(image);
}
