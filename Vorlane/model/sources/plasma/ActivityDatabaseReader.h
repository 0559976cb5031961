#pragma once

#include "AgentEntries.h"

#include <QList>
#include <QString>

// Plasma's activity manager (kactivitymanagerd) keeps which application used which resource, and
// when, in an SQLite database it owns. It is opened read-only through SQLite's URI form, so that
// reading it never takes a write lock the daemon would wait for, and never changes it.
namespace ActivityDatabaseReader {
// Agents are desktop ids without ".desktop" (org.kde.okular).
using Use = AgentEntries::Use;

// ~/.local/share/kactivitymanagerd/resources/database
QString databasePath();

// Each agent's local resources with the time it last used each, newest first; resources that
// are not local paths (remote URLs, applications:, activities) are left out. A missing, locked
// or damaged database gives what could be read, maybe nothing, never an error.
QList<Use> read(const QString& path);
} // namespace ActivityDatabaseReader
