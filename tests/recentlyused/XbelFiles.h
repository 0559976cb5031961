#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

// Hand-written XBEL text, for the files GLib's writer cannot or will not produce: KDE's, other
// writers', damaged ones and very large ones.
namespace XbelFiles {
// A document with GLib's header and namespace declarations around the given body.
QByteArray document(const QByteArray& body);

struct Registration
{
    QString name;
    QString exec;
    // Written as given, so that tests can write any date text (or none).
    QString modified;
    int count = 1;
};

// A bookmark element as GLib lays it out (mime type, applications), with extra elements placed
// inside its metadata.
QByteArray bookmark(const QString& href, const QList<Registration>& registrations,
                    const QString& modified = QStringLiteral("2026-12-01T10:00:00Z"),
                    const QByteArray& extraMetadata = {});

// The file: URI of a local path, escaped as GLib escapes it (g_filename_to_uri).
QString fileUri(const QString& path);

// GLib's date format with microseconds: 2026-12-07T21:05:28.002347Z.
QString glibStamp(const QDateTime& moment);
// KDE's: milliseconds padded to six digits, 2026-12-07T21:05:28.123000Z.
QString kdeStamp(const QDateTime& moment);

// A file of count bookmarks under folder, registered in turn by applications named
// "Application 0".."Application <applications - 1>" (exec 'app<n> %u'), the first one newest.
QByteArray generated(int count, int applications, const QString& folder, const QDateTime& newest);
} // namespace XbelFiles
