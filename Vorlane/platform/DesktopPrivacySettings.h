#pragma once

#include "PrivacySettings.h"

// GNOME's Settings (the privacy page with File History) or KDE's System Settings (Recent Files),
// preferring the running desktop's own, started directly as a program (never through a shell).
class DesktopPrivacySettings : public PrivacySettings
{
public:
    struct Command
    {
        QString program;
        QStringList arguments;
    };

    // The commands to try, the current desktop's first (XDG_CURRENT_DESKTOP).
    static QList<Command> candidates(const QString& currentDesktop);

    bool isAvailable() const override;
    bool open() override;

private:
    // The first candidate whose program is on the PATH.
    static std::optional<Command> installedCommand();
};
