#pragma once

#include <QByteArray>
#include <QString>

// The file:// URI of an absolute local path, escaped exactly as GLib's g_filename_to_uri escapes
// it. The freedesktop thumbnail cache names each thumbnail after the MD5 of this text, so one
// byte of difference means another application never finds our thumbnail, nor we theirs.
class FileUri
{
public:
    static QByteArray fromPath(const QString& absolutePath);
    // The same for a path already in the file system's encoding.
    static QByteArray fromEncodedPath(const QByteArray& absolutePath);
};
