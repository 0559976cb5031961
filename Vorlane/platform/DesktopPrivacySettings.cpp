#include "DesktopPrivacySettings.h"

#include <QProcess>
#include <QStandardPaths>

namespace {
const DesktopPrivacySettings::Command gnomeSettings{QStringLiteral("gnome-control-center"),
                                                    {QStringLiteral("privacy")}};
const DesktopPrivacySettings::Command kdeSettings{QStringLiteral("systemsettings"),
                                                  {QStringLiteral("kcm_recentFiles")}};

bool isKde(const QString& currentDesktop)
{
    return currentDesktop.split(u':').contains(QStringLiteral("KDE"), Qt::CaseInsensitive);
}
} // namespace

QList<DesktopPrivacySettings::Command>
DesktopPrivacySettings::candidates(const QString& currentDesktop)
{
    if (isKde(currentDesktop))
        return {kdeSettings, gnomeSettings};
    return {gnomeSettings, kdeSettings};
}

std::optional<DesktopPrivacySettings::Command> DesktopPrivacySettings::installedCommand()
{
    for (const Command& command : candidates(qEnvironmentVariable("XDG_CURRENT_DESKTOP"))) {
        if (!QStandardPaths::findExecutable(command.program).isEmpty())
            return command;
    }
    return std::nullopt;
}

bool DesktopPrivacySettings::isAvailable() const
{
    return installedCommand().has_value();
}

bool DesktopPrivacySettings::open()
{
    const std::optional<Command> command = installedCommand();
    return command && QProcess::startDetached(command->program, command->arguments);
}
