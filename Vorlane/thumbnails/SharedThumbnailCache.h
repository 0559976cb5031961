#pragma once

#include "FileStamp.h"
#include "SharedThumbnailSize.h"

#include <QByteArray>
#include <QImage>
#include <QList>
#include <QString>

#include <optional>

// The desktop's shared thumbnail cache, as the freedesktop Thumbnail Managing Standard lays it
// out: $XDG_CACHE_HOME/thumbnails/<size>/<md5 of the file's URI>.png, and fail/<application>/
// for files an application could not thumbnail. A thumbnail counts only while its Thumb::URI is
// the file's URI and its Thumb::MTime (and Thumb::Size, when present) match the file as it is now.
// Every method may run on any thread; nothing is kept in memory.
class SharedThumbnailCache
{
public:
    // The cache below the user's cache folder, read from the environment now.
    SharedThumbnailCache();
    explicit SharedThumbnailCache(QString root);

    QString root() const { return m_root; }
    // Our own folder below fail/, named after the program and its version so that a later
    // version tries again.
    static QString failFolderName();
    static QByteArray softwareName();

    // True for files inside the cache itself, which are never thumbnailed.
    bool contains(const QString& absolutePath) const;

    QString thumbnailPath(const QByteArray& uri, const SharedThumbnailSize& size) const;
    QString failurePath(const QByteArray& uri, const QString& application) const;

    // The first valid thumbnail for any of the URIs in the requested size or a larger one.
    std::optional<QImage> find(const QList<QByteArray>& uris, const FileStamp& stamp,
                               const SharedThumbnailSize& size) const;
    // Whether we recorded that this version of the file cannot be thumbnailed.
    bool hasOwnFailure(const QByteArray& uri, const FileStamp& stamp) const;
    // Whether any application recorded so.
    bool hasAnyFailure(const QByteArray& uri, const FileStamp& stamp) const;

    // Writes the thumbnail (already no larger than the size's edge) atomically, file mode 0600
    // in folders of mode 0700. False when it could not be written.
    bool store(const QImage& thumbnail, const QByteArray& uri, const FileStamp& stamp,
               const QString& mimeType, const SharedThumbnailSize& size) const;
    bool storeFailure(const QByteArray& uri, const FileStamp& stamp) const;

private:
    static QString fileName(const QByteArray& uri);
    static std::optional<QImage> readValid(const QString& file, const QByteArray& uri,
                                           const FileStamp& stamp, bool needPixels);
    bool writeAtomically(const QString& folder, const QString& file, const QByteArray& bytes) const;

    QString m_root;
};
