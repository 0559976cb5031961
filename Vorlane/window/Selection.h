#pragma once

#include "RecentApp.h"

#include <QList>

// The selection shared by the applications list and the files side. The applications list's
// own selection is the truth; these follow it whenever a view counts its rows.

// The selected application as the only element, empty before the first count.
extern QList<RecentApp> selectedApp;
// Index of the selected application in the store's list.
extern qsizetype selectedAppIndex;
// Row of the selected file in the list (item in the grid); -1 when none.
extern qsizetype selectedFileIndex;
// The identity (name) of the application the applications list's context menu acts on: a row
// number would name another application after a refresh while the menu is open.
extern QString contextMenuAppName;

// Reads the applications list's selected row (none counts as the first) into the values above
// and forgets the selected file.
void updateSelectedApp();
