#include "SharedThumbnailCache.h"

#include "PrivateFolder.h"
#include "ThumbnailPng.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QHash>
#include <QStandardPaths>
#include <QTemporaryFile>

#include <cstdio>

namespace {
const QString failFolder = QStringLiteral("fail");

using Attributes = QHash<QByteArray, QByteArray>;

bool matches(const Attributes& attributes, const QByteArray& uri, const FileStamp& stamp)
{
    bool mtimeOk = false;
    const qint64 mtime = attributes.value("Thumb::MTime").toLongLong(&mtimeOk);
    const QByteArray size = attributes.value("Thumb::Size");
    return attributes.value("Thumb::URI") == uri && mtimeOk &&
           mtime == stamp.modificationSeconds() &&
           (size.isEmpty() || size.toLongLong() == stamp.size());
}

Attributes attributesOf(const QImage& image)
{
    Attributes attributes;
    for (const QString& key : image.textKeys())
        attributes.insert(key.toLatin1(), image.text(key).toUtf8());
    return attributes;
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
    QFile thumbnail(file);
    // A thumbnail is small; a file far larger than the largest one is not a thumbnail.
    if (!thumbnail.open(QIODevice::ReadOnly) || thumbnail.size() > 64 * 1024 * 1024)
        return std::nullopt;
    const QByteArray png = thumbnail.readAll();
    Attributes leading;
    for (const auto& [key, value] : ThumbnailPng::leadingTextChunks(png))
        leading.insert(key, value);
    // Plain tEXt before the pixels, as the standard has it: decided without decoding.
    const bool decided = leading.contains("Thumb::URI");
    if (decided && !matches(leading, uri, stamp))
        return std::nullopt;
    if (decided && !needPixels)
        return QImage();
    // Other writers compress their text (zTXt, iTXt) or put it last: Qt reads it with the image.
    QImage image = QImage::fromData(png, "png");
    if (image.isNull() || (!decided && !matches(attributesOf(image), uri, stamp)))
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
    // The standard's failure mark: an empty picture that carries the file's attributes. The
    // size tells a file rewritten within the same second from the version that failed.
    QImage mark(1, 1, QImage::Format_ARGB32);
    mark.fill(Qt::transparent);
    const ThumbnailPng::Attributes attributes{
        {"Thumb::URI", uri},
        {"Thumb::MTime", QByteArray::number(stamp.modificationSeconds())},
        {"Thumb::Size", QByteArray::number(stamp.size())},
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
