#pragma once

#include <QString>

class DesktopApplicationIndex;

// Finds installed applications by bundle identifier. On Linux the bundle identifier is a desktop
// entry id (org.gnome.Evince) and the "bundle" is the desktop entry file itself.
class ApplicationLookup
{
public:
    // Path of the desktop entry whose desktop id is bundleIdentifier (<id>.desktop, or a file in a
    // subfolder: kde4/konsole.desktop is kde4-konsole), searched in the user's applications folder
    // and then in those of the system data folders, as DesktopApplicationIndex finds it; empty
    // when the application is not installed (no entry, or an entry that is hidden or is not an
    // application).
    static QString urlForApplicationWithBundleIdentifier(const QString& bundleIdentifier);
    // The same in an index the caller has just refreshed, for many lookups in a row.
    static QString urlForApplicationWithBundleIdentifier(const QString& bundleIdentifier,
                                                         DesktopApplicationIndex& refreshedIndex);
};
