#pragma once

#include "LoginItemService.h"

// Login items as XDG autostart entries: $XDG_CONFIG_HOME/autostart/<identifier>.desktop, whose
// existence is the registration. The entry starts the helper program inside Vorlane's own
// bundle, found beside the running executable.
class AutostartLoginItems : public LoginItemService
{
public:
    bool setEnabled(const QString& identifier, bool enabled) override;

    static QString entryPath(const QString& identifier);
    // Vorlane.app/Contents/Library/LoginItems/VorlaneHelper.app/Contents/MacOS/VorlaneHelper.
    static QString helperExecutablePath();
    // The entry's Exec value: the path, quoted as the desktop entry rules require.
    static QString quotedExecValue(const QString& path);
    // A value of the string type: backslash, line breaks, tabs and a leading space escaped.
    static QString escapedStringValue(const QString& text);
    static QByteArray entryText(const QString& executable);
};
