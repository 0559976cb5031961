#pragma once

#include "RecentApp.h"

#include <QList>
#include <QUrl>

// The Adobe media browser's shared preference file, ~/Library/Preferences/
// com.adobe.mediabrowser.plist.
QUrl adobePreferenceFileUrl();

// One entry per installed Adobe application that lists existing files in that preference file.
QList<RecentApp> readAdobeEntries();
