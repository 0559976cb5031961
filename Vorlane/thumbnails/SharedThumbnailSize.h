#pragma once

#include <QList>
#include <QString>

// One of the freedesktop thumbnail standard's sizes: the folder below the cache root and the
// edge, in pixels, of the square every thumbnail in it fits.
class SharedThumbnailSize
{
public:
    // normal (128), large (256), x-large (512) and xx-large (1024), smallest first.
    static const QList<SharedThumbnailSize>& all();
    // The smallest size at least as large as edgePixels; the largest when none is.
    static SharedThumbnailSize forEdge(int edgePixels);

    QString folderName() const { return m_folderName; }
    int edge() const { return m_edge; }

    // This size and every larger one, in that order: a larger thumbnail scaled down serves too.
    QList<SharedThumbnailSize> withLarger() const;

    friend bool operator==(const SharedThumbnailSize& a, const SharedThumbnailSize& b)
    {
        return a.m_edge == b.m_edge;
    }

private:
    SharedThumbnailSize(QString folderName, int edge);

    QString m_folderName;
    int m_edge = 0;
};
