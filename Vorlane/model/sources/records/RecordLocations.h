#pragma once

#include <QString>

// Folder of the per-application recent-document records, one record file per application.
QString recordFolderPath();

// Suffix every record file carries on this system (".sfl3" until start-up says otherwise).
QString recordFileSuffix();
void setRecordFileSuffix(const QString& suffix);
