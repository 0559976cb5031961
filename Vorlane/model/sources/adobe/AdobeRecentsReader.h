#pragma once

#include "RecentApp.h"

#include <QList>
#include <QUrl>

// The Adobe media browser's shared preference file, ~/Library/Preferences/
// com.adobe.mediabrowser.plist, whose "MRU" dictionary lists each Adobe application's recent files.
QUrl adobePreferenceFileUrl();

// One entry per installed Adobe application (desktop entry com.adobe.<key>) that lists files
// still on disk, named after its key with each word capitalised. All share the one file.
QList<RecentApp> readAdobeEntries();

// Each word's first letter upper case, the rest lower case; words are separated by white space.
QString capitalized(const QString& text);
