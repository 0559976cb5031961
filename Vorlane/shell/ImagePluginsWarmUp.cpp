#include "ImagePluginsWarmUp.h"

#include <QImageReader>
#include <QThreadPool>

void ImagePluginsWarmUp::startInBackground()
{
    // Asking what can be read makes Qt load each plug-in to ask it; the thumbnail renderers ask
    // the same later on their workers, so this is no work the program would not do anyway.
    QThreadPool::globalInstance()->start([] { QImageReader::supportedMimeTypes(); });
}
