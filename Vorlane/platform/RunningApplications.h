#pragma once

#include <QString>

// The applications running in the user's session, standing in for the workspace's list of
// running applications: a running application owns its bundle identifier as a name on the
// session bus ("com.ostrel.Vorlane", "com.ostrel.VorlaneHelper"). Programs of another session,
// or of the same name that never joined this one, do not count.
namespace RunningApplications {

// Whether an application with that bundle identifier runs in this session; false without a
// session bus.
bool isRunning(const QString& bundleIdentifier);

} // namespace RunningApplications
