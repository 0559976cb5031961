#include "RecentsReport.h"

#include "Calendar.h"
#include "CivilDate.h"
#include "CombinedRows.h"
#include "DateRules.h"
#include "IndentedJsonWriter.h"

#include <QJsonArray>

#include <deque>

namespace {
char* writeDigits(char* out, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        out[i] = char('0' + value % 10);
    return out + width;
}

// Written out by hand: QDateTime::toString formats each field through printf.
char* writeIsoFields(char* end, int year, int month, int day, int msecsOfDay, bool withMilliseconds,
                     int offset)
{
    end = writeDigits(end, year, 4);
    *end++ = '-';
    end = writeDigits(end, month, 2);
    *end++ = '-';
    end = writeDigits(end, day, 2);
    *end++ = 'T';
    end = writeDigits(end, msecsOfDay / 3'600'000, 2);
    *end++ = ':';
    end = writeDigits(end, msecsOfDay / 60'000 % 60, 2);
    *end++ = ':';
    end = writeDigits(end, msecsOfDay / 1000 % 60, 2);
    if (withMilliseconds) {
        *end++ = '.';
        end = writeDigits(end, msecsOfDay % 1000, 3);
    }
    if (offset == 0) {
        *end++ = 'Z';
    } else {
        *end++ = offset > 0 ? '+' : '-';
        end = writeDigits(end, qAbs(offset) / 3600, 2);
        *end++ = ':';
        end = writeDigits(end, qAbs(offset) / 60 % 60, 2);
    }
    return end;
}

// RecentsReport::isoDate's text, without a string of its own.
class IsoDateText
{
public:
    explicit IsoDateText(const QDateTime& date)
    {
        const Calendar& calendar = Calendar::current();
        const bool withMilliseconds = date.time().msec() != 0;
        if (date.isValid()) {
            // Without a zone lookup where the calendar knows the offset.
            if (const std::optional<Calendar::WallClock> wall =
                    calendar.wallClockAt(date.toMSecsSinceEpoch())) {
                const CivilDate day = CivilDate::fromDayNumber(wall->day);
                if (day.year >= 0 && day.year <= 9999) {
                    m_end = writeIsoFields(m_text, day.year, day.month, day.day, wall->msecsOfDay,
                                           withMilliseconds, wall->offsetFromUtc);
                    return;
                }
            }
        }
        const QDateTime local = calendar.inCalendarZone(date);
        const QDate day = local.date();
        if (day.year() < 0 || day.year() > 9999) {
            const QDateTime withOffset = local.toOffsetFromUtc(local.offsetFromUtc());
            const QByteArray text =
                withOffset.toString(withMilliseconds ? Qt::ISODateWithMs : Qt::ISODate).toLatin1();
            m_end =
                std::copy_n(text.constData(), qMin(text.size(), qsizetype(sizeof m_text)), m_text);
            return;
        }
        m_end = writeIsoFields(m_text, day.year(), day.month(), day.day(),
                               local.time().msecsSinceStartOfDay(), withMilliseconds,
                               local.offsetFromUtc());
    }

    QByteArrayView text() const { return QByteArrayView(m_text, m_end - m_text); }

private:
    // The longest text QDateTime writes for a date in its range is under 40 characters.
    char m_text[48];
    char* m_end = m_text;
};

// The words for elapsed times, each worded once: a report repeats a few of them thousands of
// times. Every date is seen from the moment the report began.
class RelativeDateTexts
{
public:
    const QString& of(const QDateTime& date)
    {
        const RelativeDate relativeDate = relativeDateOf(date, m_now);
        for (const auto& [known, text] : m_texts)
            if (known == relativeDate)
                return text;
        m_texts.emplace_back(relativeDate, relativeDateText(relativeDate));
        return m_texts.back().second;
    }

private:
    const QDateTime m_now = Calendar::current().now();
    // Few: one per count of days, weeks, months and years that occurs.
    std::deque<std::pair<RelativeDate, QString>> m_texts;
};
} // namespace

RecentsReport::RecentsReport(QList<RecentApp> apps)
    : m_apps(std::move(apps))
{}

QString RecentsReport::isoDate(const QDateTime& date)
{
    return QString::fromLatin1(IsoDateText(date).text());
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
            out += QStringLiteral("    ") + file.name() + QStringLiteral("  ") + file.localPath() +
                   QStringLiteral("  ") + isoDate(file.dateAccessed()) + QStringLiteral("  ") +
                   relativeDateText(file.dateAccessed()) + u'\n';
        }
        out += u'\n';
    }
    return out;
}

QByteArray RecentsReport::jsonText() const
{
    IndentedJsonWriter json;
    write(json);
    return json.take();
}

void RecentsReport::writeJsonText(const std::function<void(QByteArrayView)>& sink) const
{
    IndentedJsonWriter json(sink);
    write(json);
    json.take();
}

void RecentsReport::write(IndentedJsonWriter& json) const
{
    RelativeDateTexts relativeDates;
    json.beginObject();
    json.member(QLatin1StringView("isEmpty"), m_apps.isEmpty());
    json.beginArray(QLatin1StringView("recentApps"));
    for (const RecentApp& app : m_apps) {
        json.beginObject();
        json.member(QLatin1StringView("appName"), app.appName());
        json.plainMember(QLatin1StringView("dateModified"), IsoDateText(app.dateModified()).text());
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
            json.beginObject();
            json.plainMember(QLatin1StringView("dateAccessed"),
                             IsoDateText(file.dateAccessed()).text());
            json.member(QLatin1StringView("dateGroup"), file.dateGroup());
            json.member(QLatin1StringView("filePath"), file.localPath());
            json.member(QLatin1StringView("name"), file.name());
            json.member(QLatin1StringView("relativeDate"), relativeDates.of(file.dateAccessed()));
            json.end();
        }
        json.end();
        json.member(QLatin1StringView("sourceApp"), app.sourceApp());
        json.end();
    }
    json.end();
    json.end();
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
