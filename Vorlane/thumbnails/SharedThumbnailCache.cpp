#include "SharedThumbnailCache.h"

#include "PrivateFolder.h"
#include "ThumbnailPng.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>

namespace {
const QString failFolder = QStringLiteral("fail");

// Attributes as written by gdk-pixbuf, Qt and others: the header usually has them; a writer
// that put them after the image data is only read completely.
QString attribute(QImageReader& reader, const QImage& image, const QString& key)
{
    return image.isNull() ? reader.text(key) : image.text(key);
}

bool matches(QImageReader& reader, const QImage& image, const QByteArray& uri,
             const FileStamp& stamp)
{
    bool mtimeOk = false;
    const qint64 mtime =
        attribute(reader, image, QStringLiteral("Thumb::MTime")).toLongLong(&mtimeOk);
    const QString size = attribute(reader, image, QStringLiteral("Thumb::Size"));
    return attribute(reader, image, QStringLiteral("Thumb::URI")).toUtf8() == uri && mtimeOk &&
           mtime == stamp.modificationSeconds() &&
           (size.isEmpty() || size.toLongLong() == stamp.size());
}
} // namespace

SharedThumbnailCache::SharedThumbnailCache()
    : SharedThumbnailCache(QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
                           QStringLiteral("/thumbnails"))
{}

SharedThumbnailCache::SharedThumbnailCache(QString root)
    : m_root(QDir::cleanPath(std::move(root)))
{}

QString SharedThumbnailCache::failFolderName()
{
    return QStringLiteral("vorlane-" VORLANE_VERSION);
}

QByteArray SharedThumbnailCache::softwareName()
{
    return QByteArrayLiteral("Vorlane " VORLANE_VERSION);
}

bool SharedThumbnailCache::contains(const QString& absolutePath) const
{
    const QString path = QDir::cleanPath(absolutePath);
    return path == m_root || path.startsWith(m_root + u'/');
}

QString SharedThumbnailCache::fileName(const QByteArray& uri)
{
    return QString::fromLatin1(QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex()) +
           QStringLiteral(".png");
}

QString SharedThumbnailCache::thumbnailPath(const QByteArray& uri,
                                            const SharedThumbnailSize& size) const
{
    return m_root + u'/' + size.folderName() + u'/' + fileName(uri);
}

QString SharedThumbnailCache::failurePath(const QByteArray& uri, const QString& application) const
{
    return m_root + u'/' + failFolder + u'/' + application + u'/' + fileName(uri);
}

std::optional<QImage> SharedThumbnailCache::readValid(const QString& file, const QByteArray& uri,
                                                      const FileStamp& stamp, bool needPixels)
{
    QImageReader reader(file, "png");
    if (!reader.canRead())
        return std::nullopt;
    const bool attributesInHeader = !reader.text(QStringLiteral("Thumb::URI")).isEmpty();
    if (attributesInHeader && !matches(reader, QImage(), uri, stamp))
        return std::nullopt;
    if (attributesInHeader && !needPixels)
        return QImage();
    QImage image;
    if (!reader.read(&image) || (!attributesInHeader && !matches(reader, image, uri, stamp)))
        return std::nullopt;
    return image;
}

std::optional<QImage> SharedThumbnailCache::find(const QList<QByteArray>& uris,
                                                 const FileStamp& stamp,
                                                 const SharedThumbnailSize& size) const
{
    for (const SharedThumbnailSize& candidate : size.withLarger()) {
        for (const QByteArray& uri : uris) {
            const QString file = thumbnailPath(uri, candidate);
            if (!QFile::exists(file))
                continue;
            if (auto image = readValid(file, uri, stamp, true); image && !image->isNull())
                return image;
        }
    }
    return std::nullopt;
}

bool SharedThumbnailCache::hasOwnFailure(const QByteArray& uri, const FileStamp& stamp) const
{
    const QString file = failurePath(uri, failFolderName());
    return QFile::exists(file) && readValid(file, uri, stamp, false).has_value();
}

bool SharedThumbnailCache::hasAnyFailure(const QByteArray& uri, const FileStamp& stamp) const
{
    const QDir fail(m_root + u'/' + failFolder);
    for (const QString& application : fail.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString file = failurePath(uri, application);
        if (QFile::exists(file) && readValid(file, uri, stamp, false))
            return true;
    }
    return false;
}

bool SharedThumbnailCache::store(const QImage& thumbnail, const QByteArray& uri,
                                 const FileStamp& stamp, const QString& mimeType,
                                 const SharedThumbnailSize& size) const
{
    ThumbnailPng::Attributes attributes{
        {"Thumb::URI", uri},
        {"Thumb::MTime", QByteArray::number(stamp.modificationSeconds())},
        {"Thumb::Size", QByteArray::number(stamp.size())},
    };
    if (!mimeType.isEmpty())
        attributes.append({"Thumb::Mimetype", mimeType.toLatin1()});
    attributes.append({"Software", softwareName()});
    const QByteArray png = ThumbnailPng::encode(thumbnail, attributes);
    const QString file = thumbnailPath(uri, size);
    return !png.isEmpty() && writeAtomically(m_root + u'/' + size.folderName(), file, png);
}

bool SharedThumbnailCache::storeFailure(const QByteArray& uri, const FileStamp& stamp) const
{
    // The standard's failure mark: an empty picture that carries the file's attributes.
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    const ThumbnailPng::Attributes attributes{
        {"Thumb::URI", uri},
        {"Thumb::MTime", QByteArray::number(stamp.modificationSeconds())},
        {"Software", softwareName()},
    };
    const QString folder = m_root + u'/' + failFolder + u'/' + failFolderName();
    return writeAtomically(folder, failurePath(uri, failFolderName()),
                           ThumbnailPng::encode(mark, attributes));
}

bool SharedThumbnailCache::writeAtomically(const QString& folder, const QString& file,
                                           const QByteArray& bytes) const
{
    if (bytes.isEmpty() || !PrivateFolder::make(folder))
        return false;
    // QTemporaryFile creates its file with mode 0600 in the target's folder, so the rename is
    // atomic and readers never see half a thumbnail.
    QTemporaryFile temporary(folder + QStringLiteral("/.vorlane-XXXXXX.png"));
    if (!temporary.open() || temporary.write(bytes) != bytes.size() || !temporary.flush())
        return false;
    temporary.close();
    if (std::rename(QFile::encodeName(temporary.fileName()).constData(),
                    QFile::encodeName(file).constData()) != 0)
        return false;
    temporary.setAutoRemove(false);
    return true;
}
