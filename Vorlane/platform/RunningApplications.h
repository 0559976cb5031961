#pragma once

#include <QString>

// The user's running programs, standing in for the workspace's list of running applications.
namespace RunningApplications {

// Whether a process of the current user runs the program named name (its kernel process name).
bool isRunning(const QString& name);

} // namespace RunningApplications
