#include "ThumbnailRenderResult.h"

ThumbnailRenderResult::ThumbnailRenderResult(Status status, QImage image)
    : m_status(status)
    , m_image(std::move(image))
{}

ThumbnailRenderResult ThumbnailRenderResult::rendered(QImage image)
{
    if (image.isNull())
        return failed();
    return ThumbnailRenderResult(Status::Rendered, std::move(image));
}
