#pragma once

#include "RecentApp.h"

#include <QList>
#include <QStringList>
#include <QUrl>

// The Office applications that keep secure-bookmark lists, in the order they are read.
QStringList officeApplications();

// ~/Library/Containers/<id>/Data/Library/Preferences/<id>.securebookmarks.plist
QUrl officeSecureBookmarkFileUrl(const QString& bundleIdentifier);

// At most one entry each for Word, Excel and PowerPoint, from their secure-bookmark files: each
// document once, Word templates (.dotx, .dotm) left out, dated by the file's own modification.
QList<RecentApp> readOfficeEntries();
