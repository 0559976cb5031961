#pragma once

#include <QString>

// Folder of the per-application recent-document records, one record file per application.
QString recordFolderPath();

// Suffix every record file carries on this system (".sfl3" until start-up says otherwise).
QString recordFileSuffix();
void setRecordFileSuffix(const QString& suffix);

// The desktop's shared record of recently used documents, written by GTK, GNOME and KDE
// applications: recently-used.xbel in the user's data folder.
QString recentlyUsedFilePath();
