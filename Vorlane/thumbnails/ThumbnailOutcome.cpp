#include "ThumbnailOutcome.h"

ThumbnailOutcome ThumbnailOutcome::found(Source source, QImage image, const FileStamp& stamp)
{
    ThumbnailOutcome outcome(source);
    outcome.m_image = std::move(image);
    outcome.m_stamp = stamp;
    return outcome;
}
