#pragma once

#include "RecentApp.h"

#include <QList>

// At most one entry each for Word, Excel and PowerPoint, from their secure-bookmark files.
QList<RecentApp> readOfficeEntries();
