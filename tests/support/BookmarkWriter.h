#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>

// Writes bookmark data in the binary "book" format: a 48-byte header, a data area whose first word
// points at the table of contents, 4-byte aligned records, and one or more tables of contents.
class BookmarkWriter
{
public:
    struct Contents
    {
        QStringList pathComponents;
        bool hasPath = true;
        QString volumePath = QStringLiteral("/");
        QString volumeUrl = QStringLiteral("file:///");
        QString volumeName = QStringLiteral("Macintosh HD");
        std::optional<int> homeComponentCount;
        QString displayName;
        // Only for bookmarks that name no file.
        QString targetUrl;
        // Adds a second table of contents, as bookmarks of files on other volumes have.
        bool secondTableOfContents = false;
        // Equal path components share one string record, as a crafted bookmark may have them.
        bool shareEqualComponents = false;
    };

    static QByteArray write(const Contents& contents);
    // A bookmark to an absolute path, the home folder's components marked when it lies below home.
    static QByteArray forPath(const QString& absolutePath, const QString& homeDirectory = {});

    // Offsets inside written bookmarks, for tests that damage them on purpose.
    static constexpr int headerSize = 48;
};
