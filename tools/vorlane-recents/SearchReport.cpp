#include "SearchReport.h"

#include "DateRules.h"
#include "RecentsReport.h"

#include <QJsonArray>

SearchReport::SearchReport(QList<RecentApp> apps, QString typed)
    : m_apps(std::move(apps))
    , m_typed(std::move(typed))
    , m_hits(DocumentSearch(m_apps).find(m_typed))
{}

QString SearchReport::text() const
{
    if (m_hits.isEmpty())
        return QStringLiteral("No recent document matches \"%1\".\n").arg(m_typed);
    QString out;
    for (const DocumentSearch::Hit& hit : m_hits) {
        const RecentApp& app = m_apps.at(hit.appIndex);
        const RecentFile& file = app.recentFiles().at(hit.fileIndex);
        out += file.name() + QStringLiteral("  ") + file.filePath().toLocalFile() +
               QStringLiteral("  ") + app.appName() + QStringLiteral("  ") +
               RecentsReport::isoDate(file.dateAccessed()) + QStringLiteral("  ") +
               relativeDateText(file.dateAccessed()) + u'\n';
    }
    return out;
}

QJsonObject SearchReport::json() const
{
    QJsonArray matches;
    for (const DocumentSearch::Hit& hit : m_hits) {
        const RecentApp& app = m_apps.at(hit.appIndex);
        const RecentFile& file = app.recentFiles().at(hit.fileIndex);
        matches.append(QJsonObject{
            {QStringLiteral("name"), file.name()},
            {QStringLiteral("filePath"), file.filePath().toLocalFile()},
            {QStringLiteral("dateAccessed"), RecentsReport::isoDate(file.dateAccessed())},
            {QStringLiteral("relativeDate"), relativeDateText(file.dateAccessed())},
            {QStringLiteral("app"), app.name()},
            {QStringLiteral("appName"), app.appName()},
            {QStringLiteral("sourceApp"), app.sourceApp()},
            {QStringLiteral("score"), hit.score},
        });
    }
    return QJsonObject{{QStringLiteral("search"), m_typed}, {QStringLiteral("matches"), matches}};
}
