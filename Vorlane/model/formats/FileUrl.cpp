#include "FileUrl.h"

QUrl FileUrl::fromLocalFile(const QString& path)
{
    static const QUrl emptyFileUrl = [] {
        QUrl url;
        url.setScheme(QStringLiteral("file"));
        return url;
    }();
    if (!path.startsWith(u'/') || path.startsWith(u"//") || path.contains(u'%'))
        return QUrl::fromLocalFile(path);
    QUrl url = emptyFileUrl;
    url.setPath(path, QUrl::TolerantMode);
    return url;
}
