#pragma once

#include "DocumentSearch.h"
#include "RecentApp.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// The documents typed words find, best first, as the window's search finds them: for people
// (text) or scripts (JSON).
class SearchReport
{
public:
    SearchReport(QList<RecentApp> apps, QString typed);

    QString text() const;
    QJsonObject json() const;
    qsizetype matchCount() const { return m_hits.size(); }

private:
    QList<RecentApp> m_apps;
    QString m_typed;
    QList<DocumentSearch::Hit> m_hits;
};
