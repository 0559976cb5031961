#pragma once

#include "MetadataQuery.h"
#include "RecentlyUsedFile.h"

#include <QHash>
#include <QString>

// When a document was last used, as the shared recently-used file records it: the newest stamp
// any application left on it, else the bookmark's own modification date (GLib never updates
// "visited"). Built once from a file that is already read; answers from memory.
class RecentlyUsedMetadata final : public MetadataQuery
{
public:
    explicit RecentlyUsedMetadata(const RecentlyUsedFile& file);

    std::optional<QDateTime> lastUsedDate(const QUrl& fileUrl) const override;

    // How many documents the file dates.
    qsizetype size() const { return m_lastUsed.size(); }

private:
    // Keyed by decoded local path: differently escaped hrefs of one file are one document.
    QHash<QString, QDateTime> m_lastUsed;
};
