#include "RecentsReport.h"

#include "Calendar.h"
#include "CombinedRows.h"
#include "DateRules.h"
#include "IndentedJsonWriter.h"

#include <QJsonArray>

namespace {
void appendDigits(QString& out, int value, int width)
{
    char digits[4];
    for (int i = width - 1; i >= 0; --i, value /= 10)
        digits[i] = char('0' + value % 10);
    out += QLatin1StringView(digits, width);
}
} // namespace

RecentsReport::RecentsReport(QList<RecentApp> apps)
    : m_apps(std::move(apps))
{}

QString RecentsReport::isoDate(const QDateTime& date)
{
    const QDateTime local = Calendar::current().inCalendarZone(date);
    const QDate day = local.date();
    const bool withMilliseconds = date.time().msec() != 0;
    if (day.year() < 0 || day.year() > 9999) {
        const QDateTime withOffset = local.toOffsetFromUtc(local.offsetFromUtc());
        return withOffset.toString(withMilliseconds ? Qt::ISODateWithMs : Qt::ISODate);
    }
    // Written out by hand: QDateTime::toString formats each field through printf.
    const QTime time = local.time();
    QString out;
    out.reserve(29);
    appendDigits(out, day.year(), 4);
    out += u'-';
    appendDigits(out, day.month(), 2);
    out += u'-';
    appendDigits(out, day.day(), 2);
    out += u'T';
    appendDigits(out, time.hour(), 2);
    out += u':';
    appendDigits(out, time.minute(), 2);
    out += u':';
    appendDigits(out, time.second(), 2);
    if (withMilliseconds) {
        out += u'.';
        appendDigits(out, time.msec(), 3);
    }
    const int offset = local.offsetFromUtc();
    if (offset == 0) {
        out += u'Z';
    } else {
        out += offset > 0 ? u'+' : u'-';
        appendDigits(out, qAbs(offset) / 3600, 2);
        out += u':';
        appendDigits(out, qAbs(offset) / 60 % 60, 2);
    }
    return out;
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

QByteArray RecentsReport::jsonText() const
{
    IndentedJsonWriter json;
    json.beginObject();
    json.member(QLatin1StringView("isEmpty"), m_apps.isEmpty());
    json.beginArray(QLatin1StringView("recentApps"));
    for (const RecentApp& app : m_apps) {
        json.beginObject();
        json.member(QLatin1StringView("appName"), app.appName());
        json.member(QLatin1StringView("dateModified"), isoDate(app.dateModified()));
        json.member(QLatin1StringView("filePath"), app.filePath().toLocalFile());
        json.beginArray(QLatin1StringView("groupCells"));
        for (const RecentFileGroup& heading : app.groupCells()) {
            json.beginObject();
            json.member(QLatin1StringView("index"), qint64(heading.index));
            json.member(QLatin1StringView("string"), heading.string);
            json.end();
        }
        json.end();
        json.member(QLatin1StringView("name"), app.name());
        json.beginArray(QLatin1StringView("recentFiles"));
        for (const RecentFile& file : app.recentFiles()) {
            // Into the calendar zone once, for both texts.
            const QDateTime used = Calendar::current().inCalendarZone(file.dateAccessed());
            json.beginObject();
            json.member(QLatin1StringView("dateAccessed"), isoDate(used));
            json.member(QLatin1StringView("dateGroup"), file.dateGroup());
            json.member(QLatin1StringView("filePath"), file.filePath().toLocalFile());
            json.member(QLatin1StringView("name"), file.name());
            json.member(QLatin1StringView("relativeDate"), relativeDateText(used));
            json.end();
        }
        json.end();
        json.member(QLatin1StringView("sourceApp"), app.sourceApp());
        json.end();
    }
    json.end();
    json.end();
    return json.take();
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
