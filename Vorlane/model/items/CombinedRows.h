#pragma once

#include "RecentFileGroup.h"

#include <QList>

// The files list shows each date heading on a row of its own ahead of its files. These map
// between those combined rows and file indices (the grid has no headings and uses file indices).
class CombinedRows
{
public:
    static qsizetype rowCount(const QList<RecentFileGroup>& headings, qsizetype fileCount);
    static bool isHeading(const QList<RecentFileGroup>& headings, qsizetype row);
    // The file shown on a row: the row minus the headings above it; -1 on a heading row.
    static qsizetype fileIndexForRow(const QList<RecentFileGroup>& headings, qsizetype row);
    static qsizetype rowForFileIndex(const QList<RecentFileGroup>& headings, qsizetype fileIndex);
};
