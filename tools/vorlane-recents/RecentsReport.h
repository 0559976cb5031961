#pragma once

#include "RecentApp.h"

#include <QJsonObject>
#include <QList>
#include <QString>

// Renders the list of applications and their documents for people (text) or scripts (JSON).
class RecentsReport
{
public:
    explicit RecentsReport(QList<RecentApp> apps);

    QString text() const;
    QJsonObject json() const;
    // The same object as indented JSON text, written directly.
    QByteArray jsonText() const;

    // ISO 8601 with the UTC offset, milliseconds when there are any.
    static QString isoDate(const QDateTime& date);

private:
    QList<RecentApp> m_apps;
};
