#pragma once

#include "RecentApp.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUrl>

// Entries from a list of which application (by desktop id) used which document when, as Plasma's
// stores keep them: one per installed application with documents that exist and are files, each
// document once at its newest use. filePath is recordPath's URL with the agent as fragment.
namespace AgentEntries {
struct Use
{
    QString agent;
    QString path;
    QDateTime lastUsed;
};

QList<RecentApp> build(const QList<Use>& uses, const QString& recordPath);

// The agent an entry of recordPath names; empty for entries of other records.
QString agentOf(const RecentApp& app, const QString& recordPath);
} // namespace AgentEntries
