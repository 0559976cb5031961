#include "DateRules.h"

#include "Calendar.h"
#include "CivilDate.h"
#include "FileStatus.h"
#include "MetadataQuery.h"
#include "UserDefaults.h"

#include <QCoreApplication>
#include <QFile>

#include <algorithm>
#include <vector>

namespace {
QString lastPathComponent(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path.mid(path.lastIndexOf(u'/') + 1);
}

QString withoutExtension(const QString& fileName)
{
    // A leading dot starts a hidden file's name, not an extension.
    const qsizetype dot = fileName.lastIndexOf(u'.');
    return dot > 0 ? fileName.left(dot) : fileName;
}

struct ElapsedTime
{
    int years = 0;
    int months = 0;
    int weeks = 0;
    int days = 0;
};

// The calendar difference from earlier to later, each unit holding what the larger ones leave.
ElapsedTime elapsedBetween(const QDateTime& earlier, const QDateTime& later)
{
    ElapsedTime elapsed;
    elapsed.years = later.date().year() - earlier.date().year();
    if (earlier.addYears(elapsed.years) > later)
        --elapsed.years;
    const QDateTime afterYears = earlier.addYears(elapsed.years);

    elapsed.months = (later.date().year() - afterYears.date().year()) * 12 + later.date().month() -
                     afterYears.date().month();
    if (afterYears.addMonths(elapsed.months) > later)
        --elapsed.months;
    const QDateTime afterMonths = afterYears.addMonths(elapsed.months);

    qint64 days = afterMonths.date().daysTo(later.date());
    if (afterMonths.addDays(days) > later)
        --days;
    elapsed.weeks = static_cast<int>(days / 7);
    elapsed.days = static_cast<int>(days % 7);
    return elapsed;
}

// Whether a wall-clock time of the calendar's zone comes after another.
bool isAfter(qint64 day, int msecsOfDay, const Calendar::WallClock& other)
{
    return day != other.day ? day > other.day : msecsOfDay > other.msecsOfDay;
}

// The same difference as elapsedBetween, on wall-clock dates and times alone. Only where every
// day it looks at keeps its offset from UTC (see Calendar::isSteadyAround): there the times all
// exist and compare as their instants, without a zone lookup for each; none otherwise.
std::optional<ElapsedTime> elapsedOnSteadyDays(const Calendar::WallClock& earlier,
                                               const Calendar::WallClock& later,
                                               const Calendar& calendar)
{
    const CivilDate start = CivilDate::fromDayNumber(earlier.day);
    const CivilDate end = CivilDate::fromDayNumber(later.day);
    // Usually no change of offset lies near the span at all: one lookup answers for every day
    // within it, and only a day reached beyond its end is looked up on its own.
    const bool steadySpan = calendar.isSteadyAroundDays(earlier.day, later.day);
    const auto steadyAround = [&](qint64 day) {
        return (steadySpan && day >= earlier.day && day <= later.day) ||
               calendar.isSteadyAroundDay(day);
    };
    bool steady = steadySpan || (calendar.isSteadyAroundDay(earlier.day) &&
                                 calendar.isSteadyAroundDay(later.day));
    // Steps one unit back when the first guess passes the end.
    auto fitted = [&](auto advance, int& count) {
        qint64 reached = advance(count);
        steady = steady && steadyAround(reached);
        if (steady && isAfter(reached, earlier.msecsOfDay, later)) {
            reached = advance(--count);
            steady = steadyAround(reached);
        }
        return reached;
    };
    ElapsedTime elapsed;
    elapsed.years = end.year - start.year;
    const CivilDate afterYears = CivilDate::fromDayNumber(
        fitted([&](int years) { return start.addYears(years).dayNumber(); }, elapsed.years));
    elapsed.months = (end.year - afterYears.year) * 12 + end.month - afterYears.month;
    const qint64 afterMonths = fitted(
        [&](int months) { return afterYears.addMonths(months).dayNumber(); }, elapsed.months);
    int days = static_cast<int>(later.day - afterMonths);
    fitted([&](int count) { return afterMonths + count; }, days);
    if (!steady)
        return std::nullopt;
    elapsed.weeks = days / 7;
    elapsed.days = days % 7;
    return elapsed;
}

// The elapsed time between two moments, worked out on their wall-clock times where the
// calendar knows its zone's offsets around them, else with Qt's arithmetic in the zone.
ElapsedTime elapsedBetweenMoments(const QDateTime& date, const QDateTime& current,
                                  const Calendar& calendar)
{
    if (date.isValid() && current.isValid()) {
        const qint64 dateMs = date.toMSecsSinceEpoch();
        const qint64 nowMs = current.toMSecsSinceEpoch();
        const std::optional<Calendar::WallClock> moment = calendar.wallClockAt(dateMs);
        const std::optional<Calendar::WallClock> now = calendar.wallClockAt(nowMs);
        if (moment && now) {
            const bool before = dateMs < nowMs;
            if (const std::optional<ElapsedTime> elapsed =
                    elapsedOnSteadyDays(before ? *moment : *now, before ? *now : *moment, calendar))
                return *elapsed;
        }
    }
    const QDateTime now = calendar.inCalendarZone(current);
    const QDateTime moment = calendar.inCalendarZone(date);
    return moment < now ? elapsedBetween(moment, now) : elapsedBetween(now, moment);
}
} // namespace

namespace {
// The rules below for a document whose URL and local path (fileUrl.toLocalFile()) are known:
// each reader's document is looked at through both, and its path is decoded from the URL once.
QString displayNameOf(const QString& localPath)
{
    const QString fileName = lastPathComponent(localPath);
    if (UserDefaults::global().objectIsPresent(QStringLiteral("AppleShowAllExtensions")))
        return fileName;
    return withoutExtension(fileName);
}

QDateTime modificationDateOf(const QUrl& fileUrl, const QString& localPath)
{
    // Not QFileInfo: it answers in local time, a time-zone lookup per document.
    if (const std::optional<QDateTime> modified =
            fileUrl.isLocalFile() ? FileStatus::modificationTime(localPath) : std::nullopt)
        return *modified;
    const Calendar& calendar = Calendar::current();
    return calendar.addDays(calendar.now(), -7);
}

QDateTime lastUsedDateOf(const QUrl& fileUrl, const QString& localPath, bool preferModificationDate)
{
    if (preferModificationDate &&
        fileUrl.toString(QUrl::FullyEncoded).contains(QStringLiteral("Dropbox")))
        return modificationDateOf(fileUrl, localPath);
    if (const std::optional<QDateTime> used = MetadataQuery::current()->lastUsedDate(fileUrl))
        return *used;
    return modificationDateOf(fileUrl, localPath);
}
} // namespace

QString displayName(const QUrl& fileUrl)
{
    return displayNameOf(fileUrl.toLocalFile());
}

QString displayNameOfPath(const QString& localPath)
{
    return displayNameOf(localPath);
}

RecentFile makeRecentFile(const QUrl& fileUrl, const QVariant& bookmark,
                          bool preferModificationDate)
{
    const QString localPath = fileUrl.toLocalFile();
    const QDateTime date = lastUsedDateOf(fileUrl, localPath, preferModificationDate);
    return RecentFile(displayNameOf(localPath), bookmark, fileUrl, localPath, date,
                      dateGroupName(date));
}

RecentFile makeRecentFile(const QUrl& fileUrl, const QVariant& bookmark, const QDateTime& usedAt)
{
    const QString localPath = fileUrl.toLocalFile();
    return RecentFile(displayNameOf(localPath), bookmark, fileUrl, localPath, usedAt,
                      dateGroupName(usedAt));
}

QDateTime lastUsedDate(const QUrl& fileUrl, bool preferModificationDate)
{
    return lastUsedDateOf(fileUrl, fileUrl.toLocalFile(), preferModificationDate);
}

QDateTime modificationDate(const QUrl& fileUrl)
{
    return modificationDateOf(fileUrl, fileUrl.toLocalFile());
}

QString dateGroupName(const QDateTime& date)
{
    return dateGroupName(Calendar::current().periodOf(date));
}

QString dateGroupName(Calendar::Period period)
{
    switch (period) {
    case Calendar::Period::Today:
        return QCoreApplication::translate("DateRules", "Today");
    case Calendar::Period::ThisWeek:
        return QCoreApplication::translate("DateRules", "This week");
    case Calendar::Period::Other:
        break;
    }
    return QCoreApplication::translate("DateRules", "Last week and beyond");
}

QString relativeDateText(const QDateTime& date)
{
    return relativeDateText(relativeDateOf(date));
}

RelativeDate relativeDateOf(const QDateTime& date)
{
    return relativeDateOf(date, Calendar::current().now());
}

RelativeDate relativeDateOf(const QDateTime& date, const QDateTime& now)
{
    const ElapsedTime elapsed = elapsedBetweenMoments(date, now, Calendar::current());
    if (elapsed.years > 0)
        return {RelativeDate::Unit::Years, elapsed.years};
    if (elapsed.months > 0)
        return {RelativeDate::Unit::Months, elapsed.months};
    if (elapsed.weeks > 0)
        return {RelativeDate::Unit::Weeks, elapsed.weeks};
    return {RelativeDate::Unit::Days, qMax(elapsed.days, 0)};
}

QString relativeDateText(RelativeDate relativeDate)
{
    const int count = relativeDate.count;
    switch (relativeDate.unit) {
    case RelativeDate::Unit::Years:
        if (count > 1)
            return QCoreApplication::translate("DateRules", "%n years ago", nullptr, count);
        return QCoreApplication::translate("DateRules", "Last year");
    case RelativeDate::Unit::Months:
        if (count > 1)
            return QCoreApplication::translate("DateRules", "%n months ago", nullptr, count);
        return QCoreApplication::translate("DateRules", "Last month");
    case RelativeDate::Unit::Weeks:
        if (count > 1)
            return QCoreApplication::translate("DateRules", "%n weeks ago", nullptr, count);
        return QCoreApplication::translate("DateRules", "Last week");
    case RelativeDate::Unit::Days:
        break;
    }
    if (count > 1)
        return QCoreApplication::translate("DateRules", "%n days ago", nullptr, count);
    if (count == 1)
        return QCoreApplication::translate("DateRules", "Yesterday");
    return QCoreApplication::translate("DateRules", "Today");
}

void sortFilesNewestFirst(QList<RecentFile>& files)
{
    // Sorted by instants read once, the documents then moved once: comparing QDateTimes and
    // moving documents at each step of the sort costs several times more. An invalid date
    // comes after every valid one, as QDateTime orders them.
    struct Key
    {
        bool valid;
        qint64 msecs;
        qsizetype index;
    };
    std::vector<Key> keys;
    keys.reserve(size_t(files.size()));
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QDateTime& date = files.at(i).dateAccessed();
        const bool valid = date.isValid();
        keys.push_back({valid, valid ? date.toMSecsSinceEpoch() : 0, i});
    }
    std::stable_sort(keys.begin(), keys.end(), [](const Key& a, const Key& b) {
        return a.valid != b.valid ? a.valid : a.msecs > b.msecs;
    });
    if (std::all_of(keys.cbegin(), keys.cend(),
                    [&keys](const Key& key) { return key.index == &key - keys.data(); }))
        return;
    QList<RecentFile> sorted;
    sorted.reserve(files.size());
    for (const Key& key : keys)
        sorted.append(std::move(files[key.index]));
    files = std::move(sorted);
}

void sortAppsNewestFirst(QList<RecentApp>& apps)
{
    std::stable_sort(apps.begin(), apps.end(), [](const RecentApp& a, const RecentApp& b) {
        return a.dateModified() > b.dateModified();
    });
}

QList<RecentFileGroup> buildGroupCells(const QList<RecentFile>& files)
{
    QList<RecentFileGroup> headings;
    QString lastGroup = QStringLiteral("nil");
    for (qsizetype i = 0; i < files.size(); ++i) {
        const QString& group = files.at(i).dateGroup();
        if (group == lastGroup)
            continue;
        headings.append(RecentFileGroup{i + headings.size(), group});
        lastGroup = group;
    }
    return headings;
}
