#pragma once

#include "RecentApp.h"

#include <QJsonObject>
#include <QList>
#include <QString>

#include <functional>

class IndentedJsonWriter;

// Renders the list of applications and their documents for people (text) or scripts (JSON).
class RecentsReport
{
public:
    explicit RecentsReport(QList<RecentApp> apps);

    QString text() const;
    QJsonObject json() const;
    // The same object as indented JSON text, written directly.
    QByteArray jsonText() const;
    // The same text handed to sink a piece at a time, never all in memory at once.
    void writeJsonText(const std::function<void(QByteArrayView)>& sink) const;

    // ISO 8601 with the UTC offset, milliseconds when there are any.
    static QString isoDate(const QDateTime& date);

private:
    void write(IndentedJsonWriter& json) const;

    QList<RecentApp> m_apps;
};
