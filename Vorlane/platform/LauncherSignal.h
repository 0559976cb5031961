#pragma once

#include <QString>

// The message Vorlane sends its login launcher when it has started: a session-bus signal
// "killLauncher" whose one argument is Vorlane's bundle identifier. The launcher quits on it.
namespace LauncherSignal {

inline const QString objectPath = QStringLiteral("/com/ostrel/Vorlane");
inline const QString interfaceName = QStringLiteral("com.ostrel.Vorlane");
inline const QString name = QStringLiteral("killLauncher");
inline const QString bundleIdentifier = QStringLiteral("com.ostrel.Vorlane");
// The launcher's bundle identifier, its name on the session bus while it runs.
inline const QString launcherIdentifier = QStringLiteral("com.ostrel.VorlaneHelper");

// Sends the signal; false without a session bus.
bool postKillLauncher();

} // namespace LauncherSignal
