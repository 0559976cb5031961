#pragma once

#include "ThumbnailerEntry.h"

#include <QHash>
#include <QMimeType>
#include <QStringList>

#include <optional>

// The installed thumbnailers by MIME type, from the "thumbnailers" folder of each data folder.
// An earlier folder wins, both for a file name found twice and for a MIME type two thumbnailers
// claim; thumbnailers whose program is missing are left out.
class ThumbnailerRegistry
{
public:
    // $XDG_DATA_HOME, then each $XDG_DATA_DIRS entry, read now.
    static ThumbnailerRegistry fromEnvironment();
    static ThumbnailerRegistry fromDataFolders(const QStringList& dataFolders);

    std::optional<ThumbnailerEntry> forMimeType(const QMimeType& mimeType) const;
    qsizetype size() const { return m_entries.size(); }

private:
    void add(const ThumbnailerEntry& entry);

    QList<ThumbnailerEntry> m_entries;
    QHash<QString, qsizetype> m_byMimeType;
};
