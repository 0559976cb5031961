#pragma once

#include <QByteArrayView>
#include <QDateTime>
#include <QLatin1StringView>
#include <QList>
#include <QString>
#include <QStringView>

// The desktop's shared record of recently used documents (recently-used.xbel, the freedesktop
// desktop-bookmark format written by GLib, GTK and KDE): its bookmarks and, for each, the
// applications that registered it.
//
// The reader is tolerant where GLib's GBookmarkFile is not: an element it cannot use (an
// application without a name or an exec line, a bookmark without a target, a date it cannot read)
// costs only that element, and a document that stops being well-formed keeps every bookmark read
// before the fault. Nothing here throws or crashes on bad input; sizes and nesting are bounded.
class RecentlyUsedFile
{
public:
    struct Application
    {
        // As registered: GTK writes its display name ("Image Viewer"), KDE its desktop id.
        QString name;
        // The exec line as stored (GTK quotes the whole line once: "'eog %u'").
        QString exec;
        // When the application last registered the document (UTC). Read from "modified", else
        // the legacy "timestamp" seconds, else the bookmark's own dates; invalid when none of
        // those can be read.
        QDateTime modified;
        int count = 1;

        friend bool operator==(const Application&, const Application&) = default;
    };

    struct Bookmark
    {
        QString href;
        // The decoded path of a file: target (differently escaped hrefs of one file give the same
        // path); empty for other schemes and for hrefs that name no local file.
        QString localPath;
        QDateTime added;
        QDateTime modified;
        QDateTime visited;
        QString title;
        bool isPrivate = false;
        QList<Application> applications;

        // When the document was last used: the newest of its applications' stamps, else the
        // bookmark's own modification date; invalid when neither is known.
        QDateTime lastUsed() const;

        friend bool operator==(const Bookmark&, const Bookmark&) = default;
    };

    // Larger files are refused: the shared record is capped by its writers far below this.
    static constexpr qint64 maximumFileSize = 64 * 1024 * 1024;
    // Deeper element nesting ends the reading (XBEL itself needs six levels).
    static constexpr int maximumDepth = 64;

    // Reads the file at path. A missing, empty, unreadable, oversized or malformed file gives a
    // file with fewer or no bookmarks, never an error.
    static RecentlyUsedFile load(const QString& path);
    static RecentlyUsedFile parse(QByteArrayView bytes);

    // The path the file was loaded from; empty for parsed bytes.
    const QString& path() const { return m_path; }
    const QList<Bookmark>& bookmarks() const { return m_bookmarks; }
    // True when the whole document was read without an XML error.
    bool isComplete() const { return m_complete; }
    // Why reading stopped early, or why the file could not be read; empty otherwise.
    const QString& errorString() const { return m_errorString; }

    // An ISO 8601 date and time as XBEL writers store it: extended or basic format, 'T' or a
    // space between date and time, any number of fractional digits, 'Z', an offset, or no zone
    // (local time). Invalid when the text is none of these.
    static QDateTime parseTimestamp(QStringView text);
    static QDateTime parseTimestamp(QLatin1StringView text);
    // The local path a file: URI names (file:///p, file://localhost/p, file:/p), percent-decoded
    // and cleaned; empty when the URI names no local file.
    static QString localPathOf(QStringView href);
    // The same for an href given as UTF-8 bytes.
    static QString localPathOfUtf8(QByteArrayView href);
    // False for a path QDir::cleanPath leaves as it is: absolute, without a trailing '/', and
    // with no empty component and none that starts with a dot. Looked at in one pass.
    static bool mayNeedCleaning(QStringView path);

    // Removes every registration of the application with the given desktop id (matched with
    // DesktopApplicationIndex) from the shared file at xbelPath, and every bookmark left with no
    // application. Everything else in the file stays exactly as written. The file is re-read
    // under recently-used.xbel.lock (the lock KDE's writer takes; waits at most lockWaitMs) and
    // replaced atomically by a file written in the same folder, with the same permissions.
    // A file that is not well-formed, not UTF-8, or keeps changing under us is left untouched.
    // Returns true when the application has no registrations left in the file; on failure sets
    // *error (when given) and returns false.
    static bool removeApplication(const QString& xbelPath, const QString& desktopId, QString* error,
                                  int lockWaitMs = 5000);

private:
    friend class RecentlyUsedReader;
    friend class XbelBuilder;

    QString m_path;
    QList<Bookmark> m_bookmarks;
    bool m_complete = false;
    QString m_errorString;
};
