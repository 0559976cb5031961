#pragma once

#include "MetadataQuery.h"
#include "RecentlyUsedFile.h"
#include "StringHash.h"

#include <QDateTime>
#include <QString>

#include <unordered_map>

// When a document was last used, as the shared recently-used file records it: the newest stamp
// any application left on it, else the bookmark's own modification date (GLib never updates
// "visited"). Built once from a file that is already read; answers from memory.
class RecentlyUsedMetadata final : public MetadataQuery
{
public:
    explicit RecentlyUsedMetadata(const RecentlyUsedFile& file);

    std::optional<QDateTime> lastUsedDate(const QUrl& fileUrl) const override;

    // How many documents the file dates.
    qsizetype size() const { return static_cast<qsizetype>(m_lastUsed.size()); }

private:
    // Keyed by decoded local path: differently escaped hrefs of one file are one document.
    std::unordered_map<QString, QDateTime, StringHash> m_lastUsed;
};
