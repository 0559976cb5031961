#pragma once

#include <QDateTime>
#include <QMimeType>
#include <QString>
#include <QStringList>
#include <QUrl>

// What the file system says about a document, read off the UI thread: what the icon page shows
// and what decides how the document is previewed.
class PreviewFileFacts
{
public:
    // Looks at the file without blocking on it: special files (pipes, devices) are never opened,
    // and a file that cannot be read is named by its name alone.
    static PreviewFileFacts read(const QUrl& fileUrl);

    QString name;
    QString path;
    bool exists = false;
    bool isRegularFile = false;
    // -1 when unknown (no file, or a folder).
    qint64 size = -1;
    QDateTime modified;
    QMimeType mimeType;

    // The theme icon names for the type, most specific first.
    QStringList iconNames() const;
};
