#include "ActivityManagerSource.h"

#include "ActivityDatabaseReader.h"
#include "AgentEntries.h"

#include <QCoreApplication>

QList<RecentApp> ActivityManagerSource::read()
{
    const QString path = ActivityDatabaseReader::databasePath();
    return AgentEntries::build(ActivityDatabaseReader::read(path), path);
}

QList<WatchedPath> ActivityManagerSource::watchedPaths() const
{
    const QString path = ActivityDatabaseReader::databasePath();
    return {WatchedPath::file(path, true), WatchedPath::file(path + QStringLiteral("-wal"), true)};
}

bool ActivityManagerSource::owns(const RecentApp& app) const
{
    return !AgentEntries::agentOf(app, ActivityDatabaseReader::databasePath()).isEmpty();
}

QString ActivityManagerSource::notClearedBecause() const
{
    return QCoreApplication::translate(
        "ActivityManagerSource",
        "Plasma's activity manager keeps this history; Vorlane cannot clear "
        "it. Clear it in System Settings, Recent Files.");
}
