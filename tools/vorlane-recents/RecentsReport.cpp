#include "RecentsReport.h"

#include "Calendar.h"
#include "CombinedRows.h"
#include "DateRules.h"

#include <QJsonArray>

RecentsReport::RecentsReport(QList<RecentApp> apps)
    : m_apps(std::move(apps))
{}

QString RecentsReport::isoDate(const QDateTime& date)
{
    const QDateTime local = Calendar::current().inCalendarZone(date);
    const QDateTime withOffset = local.toOffsetFromUtc(local.offsetFromUtc());
    return withOffset.toString(date.time().msec() ? Qt::ISODateWithMs : Qt::ISODate);
}

QString RecentsReport::text() const
{
    if (m_apps.isEmpty())
        return QStringLiteral("No applications with recent documents.\n");
    QString out;
    for (const RecentApp& app : m_apps) {
        out += app.appName() + QStringLiteral("  (") + app.sourceApp() + QStringLiteral(")\n");
        out += QStringLiteral("  record: ") + app.filePath().toLocalFile() + u'\n';
        out += QStringLiteral("  changed: ") + isoDate(app.dateModified()) + u'\n';
        const QList<RecentFileGroup>& headings = app.groupCells();
        const qsizetype rows = CombinedRows::rowCount(headings, app.recentFiles().size());
        qsizetype nextHeading = 0;
        for (qsizetype row = 0; row < rows; ++row) {
            if (nextHeading < headings.size() && headings.at(nextHeading).index == row) {
                out += QStringLiteral("  ") + headings.at(nextHeading++).string + u'\n';
                continue;
            }
            const RecentFile& file =
                app.recentFiles().at(CombinedRows::fileIndexForRow(headings, row));
            out += QStringLiteral("    ") + file.name() + QStringLiteral("  ") +
                   file.filePath().toLocalFile() + QStringLiteral("  ") +
                   isoDate(file.dateAccessed()) + QStringLiteral("  ") +
                   relativeDateText(file.dateAccessed()) + u'\n';
        }
        out += u'\n';
    }
    return out;
}

QJsonObject RecentsReport::json() const
{
    QJsonArray apps;
    for (const RecentApp& app : m_apps) {
        QJsonArray files;
        for (const RecentFile& file : app.recentFiles())
            files.append(QJsonObject{
                {QStringLiteral("name"), file.name()},
                {QStringLiteral("filePath"), file.filePath().toLocalFile()},
                {QStringLiteral("dateAccessed"), isoDate(file.dateAccessed())},
                {QStringLiteral("dateGroup"), file.dateGroup()},
                {QStringLiteral("relativeDate"), relativeDateText(file.dateAccessed())},
            });
        QJsonArray headings;
        for (const RecentFileGroup& heading : app.groupCells())
            headings.append(QJsonObject{{QStringLiteral("index"), heading.index},
                                        {QStringLiteral("string"), heading.string}});
        apps.append(QJsonObject{
            {QStringLiteral("name"), app.name()},
            {QStringLiteral("appName"), app.appName()},
            {QStringLiteral("sourceApp"), app.sourceApp()},
            {QStringLiteral("filePath"), app.filePath().toLocalFile()},
            {QStringLiteral("dateModified"), isoDate(app.dateModified())},
            {QStringLiteral("recentFiles"), files},
            {QStringLiteral("groupCells"), headings},
        });
    }
    return QJsonObject{{QStringLiteral("isEmpty"), m_apps.isEmpty()},
                       {QStringLiteral("recentApps"), apps}};
}
