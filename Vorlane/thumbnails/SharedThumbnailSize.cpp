#include "SharedThumbnailSize.h"

SharedThumbnailSize::SharedThumbnailSize(QString folderName, int edge)
    : m_folderName(std::move(folderName))
    , m_edge(edge)
{}

const QList<SharedThumbnailSize>& SharedThumbnailSize::all()
{
    static const QList<SharedThumbnailSize> sizes{
        {QStringLiteral("normal"), 128},
        {QStringLiteral("large"), 256},
        {QStringLiteral("x-large"), 512},
        {QStringLiteral("xx-large"), 1024},
    };
    return sizes;
}

SharedThumbnailSize SharedThumbnailSize::forEdge(int edgePixels)
{
    for (const SharedThumbnailSize& size : all()) {
        if (size.edge() >= edgePixels)
            return size;
    }
    return all().constLast();
}

QList<SharedThumbnailSize> SharedThumbnailSize::withLarger() const
{
    QList<SharedThumbnailSize> sizes;
    for (const SharedThumbnailSize& size : all()) {
        if (size.edge() >= m_edge)
            sizes << size;
    }
    return sizes;
}
