#include "PickListThumbnails.h"

#include "LibreOfficeSource.h"
#include "PickListReader.h"

#include <QDateTime>
#include <QFileInfo>
#include <QHash>
#include <QMutex>
#include <QUrl>

namespace {
struct Profile
{
    QString path;
    QDateTime modified;
    qint64 size = -1;
    // Keyed by the documents' local paths; base64 as stored.
    QHash<QString, QByteArray> thumbnails;
};

QMutex mutex;
Profile profile;

void readIfChanged()
{
    const QString path = LibreOfficeSource::profileFilePath();
    const QFileInfo info(path);
    if (path == profile.path && info.lastModified() == profile.modified &&
        info.size() == profile.size)
        return;
    profile = Profile{path, info.lastModified(), info.size(), {}};
    if (!info.isFile())
        return;
    for (const PickListReader::Item& item : PickListReader::readFile(path)) {
        const QUrl url(item.url);
        if (url.isLocalFile() && !item.thumbnail.isEmpty())
            profile.thumbnails.insert(url.toLocalFile(), item.thumbnail);
    }
}
} // namespace

namespace PickListThumbnails {
QByteArray pngOf(const QString& path)
{
    const QMutexLocker locker(&mutex);
    readIfChanged();
    const QByteArray base64 = profile.thumbnails.value(path);
    if (base64.isEmpty())
        return {};
    const auto decoded =
        QByteArray::fromBase64Encoding(base64, QByteArray::AbortOnBase64DecodingErrors);
    return decoded ? *decoded : QByteArray();
}
} // namespace PickListThumbnails
