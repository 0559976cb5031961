#include "CombinedRows.h"

#include <algorithm>

qsizetype CombinedRows::rowCount(const QList<RecentFileGroup>& headings, qsizetype fileCount)
{
    return fileCount + headings.size();
}

bool CombinedRows::isHeading(const QList<RecentFileGroup>& headings, qsizetype row)
{
    return std::any_of(headings.cbegin(), headings.cend(),
                       [row](const RecentFileGroup& heading) { return heading.index == row; });
}

qsizetype CombinedRows::fileIndexForRow(const QList<RecentFileGroup>& headings, qsizetype row)
{
    if (isHeading(headings, row))
        return -1;
    const auto above = std::count_if(headings.cbegin(), headings.cend(),
                                     [row](const RecentFileGroup& h) { return h.index < row; });
    return row - above;
}

qsizetype CombinedRows::rowForFileIndex(const QList<RecentFileGroup>& headings, qsizetype fileIndex)
{
    // Headings are in row order: each one at or above the row pushes the file down by one.
    qsizetype row = fileIndex;
    for (const RecentFileGroup& heading : headings)
        if (heading.index <= row)
            ++row;
    return row;
}
