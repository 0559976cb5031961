#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>
#include <QUrl>

#include <optional>

// Reader of bookmark data (the "book" binary format): a header, then records reached through one
// or more tables of contents. Only what resolving a document needs is decoded: the target's path
// components, its volume path, the number of leading components that form the home folder, the
// target URL of bookmarks that point at no file, and the display name. Every offset and count is
// checked against the data, so damaged or hostile bookmarks fail instead of reading out of bounds.
class Bookmark
{
public:
    // Where a bookmark led and whether it got there only by a fallback (the stored path was gone).
    struct Resolution
    {
        QUrl fileUrl;
        bool isStale = false;
    };

    static std::optional<Bookmark> parse(QByteArrayView data, QString* error = nullptr);

    // Resolves to an existing file or folder without mounting anything: the stored path first,
    // then, when the bookmark says which leading components were the home folder, the same path
    // below homeDirectory. None when neither exists or the bookmark names no file.
    std::optional<Resolution> resolve(const QString& homeDirectory) const;
    static std::optional<Resolution> resolve(QByteArrayView data, const QString& homeDirectory);

    bool hasTargetPath() const { return m_hasPath; }
    // "/" followed by the path components, as stored (relative components included).
    QString targetPath() const;
    const QStringList& pathComponents() const { return m_components; }
    const QString& volumePath() const { return m_volumePath; }
    // The target of a bookmark that names no file (a network node, a sidebar item, ...).
    const QString& targetUrl() const { return m_targetUrl; }
    const QString& displayName() const { return m_displayName; }
    // How many leading path components were the home folder when the bookmark was made.
    std::optional<int> homeComponentCount() const { return m_homeComponentCount; }
    int tableOfContentsCount() const { return m_tableOfContentsCount; }

private:
    friend class BookmarkParser;

    QStringList m_components;
    bool m_hasPath = false;
    QString m_volumePath;
    QString m_targetUrl;
    QString m_displayName;
    std::optional<int> m_homeComponentCount;
    int m_tableOfContentsCount = 0;
};
