#pragma once

#include <QString>

// The user's choice between the files list and the files grid, kept under "FilesViewType" as
// "list" or "grid"; the grid when nothing is stored. Every part of the window reads it here.
class FilesViewType
{
public:
    enum class Kind
    {
        list,
        grid
    };

    static const QString key;

    // The grid when nothing or "grid" is stored, else the list: what the files side shows.
    static Kind stored();
    static void store(Kind kind);
    // "list" or "grid": the stored text, and the view type FileActions counts rows for.
    static QString name(Kind kind);
};
