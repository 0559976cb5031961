#pragma once

#include <QString>
#include <QStringList>

// Takes applications out of the Adobe media browser's shared preference file, leaving the other
// applications' lists and everything else in the file as they were.
class AdobePreferenceEditor
{
public:
    // Removes the given keys of the file's "MRU" dictionary. The file is rewritten in its own
    // format (binary or XML), keeping its permissions, through a new file renamed over it; what
    // is written must read back as the old contents without those keys, or the file is left
    // alone. Keys already gone need no rewrite. False, with *error set, when the file could not
    // be changed.
    static bool removeApplications(const QString& path, const QStringList& keys, QString* error);
};
