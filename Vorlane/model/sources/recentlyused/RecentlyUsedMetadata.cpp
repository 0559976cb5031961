#include "RecentlyUsedMetadata.h"

#include <QDir>

RecentlyUsedMetadata::RecentlyUsedMetadata(const RecentlyUsedFile& file)
{
    m_lastUsed.reserve(static_cast<std::size_t>(file.bookmarks().size()));
    for (const RecentlyUsedFile::Bookmark& bookmark : file.bookmarks()) {
        if (bookmark.localPath.isEmpty())
            continue;
        const QDateTime used = bookmark.lastUsed();
        if (!used.isValid())
            continue;
        QDateTime& known = m_lastUsed[bookmark.localPath];
        if (!known.isValid() || used > known)
            known = used;
    }
}

std::optional<QDateTime> RecentlyUsedMetadata::lastUsedDate(const QUrl& fileUrl) const
{
    if (m_lastUsed.empty() || !fileUrl.isLocalFile())
        return std::nullopt;
    QString path = fileUrl.toLocalFile();
    auto found = m_lastUsed.find(path);
    if (found == m_lastUsed.cend()) {
        // Only a path cleaning changes can be found under its clean form.
        if (!RecentlyUsedFile::mayNeedCleaning(path))
            return std::nullopt;
        path = QDir::cleanPath(path);
        found = m_lastUsed.find(path);
        if (found == m_lastUsed.cend())
            return std::nullopt;
    }
    return found->second;
}
