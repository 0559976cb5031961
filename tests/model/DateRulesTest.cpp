#include "DateRules.h"

#include "Calendar.h"
#include "CivilDate.h"
#include "CombinedRows.h"
#include "MetadataQuery.h"
#include "QtPrinters.h"
#include "TestHome.h"
#include "UserDefaults.h"

#include <gtest/gtest.h>

#include <ctime>

namespace {
const QTimeZone berlinWinter(3600);

QDateTime at(int year, int month, int day, int hour, int minute = 0)
{
    return QDateTime(QDate(year, month, day), QTime(hour, minute), berlinWinter);
}

// Wednesday 9 December 2026, 15:00, weeks starting on Monday.
const QDateTime wednesdayAfternoon = at(2026, 12, 9, 15);

class FixedCalendar
{
public:
    FixedCalendar(const QDateTime& now, Qt::DayOfWeek firstDay = Qt::Monday,
                  const QTimeZone& zone = berlinWinter)
    {
        Calendar::setCurrent(Calendar::fixed(now, zone, firstDay));
    }
    ~FixedCalendar() { Calendar::setCurrent(Calendar::system()); }
};

RecentFile fileDated(const QString& name, const QDateTime& date)
{
    return RecentFile(name, {}, QUrl::fromLocalFile(u'/' + name), date, dateGroupName(date));
}

struct GroupCase
{
    const char* description;
    QDateTime now;
    Qt::DayOfWeek firstDay;
    QDateTime date;
    const char* group;
};

class DateGroupTest : public testing::TestWithParam<GroupCase>
{};

TEST_P(DateGroupTest, namesTheGroup)
{
    const GroupCase& c = GetParam();
    FixedCalendar calendar(c.now, c.firstDay);
    EXPECT_EQ(dateGroupName(c.date).toStdString(), c.group) << c.description;
}

INSTANTIATE_TEST_SUITE_P(
    Boundaries, DateGroupTest,
    testing::Values(
        GroupCase{"midnight today", wednesdayAfternoon, Qt::Monday, at(2026, 12, 9, 0), "Today"},
        GroupCase{"later today", wednesdayAfternoon, Qt::Monday, at(2026, 12, 9, 23, 59), "Today"},
        GroupCase{"Monday of this week", wednesdayAfternoon, Qt::Monday, at(2026, 12, 7, 0),
                  "This week"},
        GroupCase{"Sunday before, weeks from Monday", wednesdayAfternoon, Qt::Monday,
                  at(2026, 12, 6, 23, 59), "Last week and beyond"},
        GroupCase{"Sunday before, weeks from Sunday", wednesdayAfternoon, Qt::Sunday,
                  at(2026, 12, 6, 0), "This week"},
        GroupCase{"Saturday before, weeks from Sunday", wednesdayAfternoon, Qt::Sunday,
                  at(2026, 12, 5, 23), "Last week and beyond"},
        GroupCase{"later this week", wednesdayAfternoon, Qt::Monday, at(2026, 12, 12, 10),
                  "This week"},
        GroupCase{"next week", wednesdayAfternoon, Qt::Monday, at(2026, 12, 14, 10),
                  "Last week and beyond"},
        GroupCase{"same week across the new year", at(2027, 1, 1, 12), Qt::Monday,
                  at(2026, 12, 28, 9), "This week"},
        GroupCase{"a year ago today", wednesdayAfternoon, Qt::Monday, at(2025, 12, 9, 15),
                  "Last week and beyond"},
        GroupCase{"two days before a Monday", at(2026, 12, 7, 10), Qt::Monday, at(2026, 12, 5, 10),
                  "Last week and beyond"}));

TEST(DateGroup, countsDaysInTheCalendarsTimeZone)
{
    FixedCalendar calendar(wednesdayAfternoon);
    // 23:30 UTC on the 8th is already the 9th in UTC+1.
    const QDateTime lateUtc(QDate(2026, 12, 8), QTime(23, 30), Qt::UTC);
    EXPECT_EQ(dateGroupName(lateUtc), QStringLiteral("Today"));
}

struct RelativeCase
{
    QDateTime date;
    const char* text;
};

class RelativeDateTest : public testing::TestWithParam<RelativeCase>
{};

TEST_P(RelativeDateTest, describesElapsedTime)
{
    FixedCalendar calendar(wednesdayAfternoon);
    EXPECT_EQ(relativeDateText(GetParam().date).toStdString(), GetParam().text)
        << GetParam().date.toString(Qt::ISODate).toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Units, RelativeDateTest,
    testing::Values(RelativeCase{at(2026, 12, 9, 10), "Today"},
                    RelativeCase{at(2026, 12, 8, 16), "Today"}, // 23 hours: not a whole day
                    RelativeCase{at(2026, 12, 8, 15), "Yesterday"},
                    RelativeCase{at(2026, 12, 7, 14), "2 days ago"},
                    RelativeCase{at(2026, 12, 3, 15), "6 days ago"},
                    RelativeCase{at(2026, 12, 2, 15), "Last week"},
                    RelativeCase{at(2026, 11, 29, 15), "Last week"}, // 1 week and 3 days
                    RelativeCase{at(2026, 11, 25, 15), "2 weeks ago"},
                    RelativeCase{at(2026, 11, 9, 15), "Last month"},
                    RelativeCase{at(2026, 10, 9, 16), "Last month"}, // an hour short of 2 months
                    RelativeCase{at(2026, 10, 9, 15), "2 months ago"},
                    RelativeCase{at(2025, 12, 9, 15), "Last year"},
                    RelativeCase{at(2023, 12, 9, 15), "3 years ago"},
                    RelativeCase{at(2026, 12, 11, 15), "2 days ago"})); // in the future

TEST(RelativeDate, aFileThatCannotBeExaminedReadsLastWeek)
{
    FixedCalendar calendar(wednesdayAfternoon);
    const QDateTime date = modificationDate(QUrl::fromLocalFile(QStringLiteral("/no/such/file")));
    EXPECT_EQ(date, at(2026, 12, 2, 15));
    EXPECT_EQ(dateGroupName(date), QStringLiteral("Last week and beyond"));
    EXPECT_EQ(relativeDateText(date), QStringLiteral("Last week"));
}

TEST(RecentFileName, extensionsFollowTheGlobalSetting)
{
    TestHome home;
    FixedCalendar calendar(wednesdayAfternoon);
    const QString report = home.createDocument(QStringLiteral("Report.pdf"), wednesdayAfternoon);
    const QString archive =
        home.createDocument(QStringLiteral("archive.tar.gz"), wednesdayAfternoon);
    const QString hidden = home.createDocument(QStringLiteral(".profile"), wednesdayAfternoon);
    auto nameOf = [](const QString& path) {
        return makeRecentFile(QUrl::fromLocalFile(path), {}, false).name();
    };

    // No global settings file: Linux desktops show extensions.
    UserDefaults::global().reload();
    EXPECT_EQ(nameOf(report), QStringLiteral("Report.pdf"));

    // A global settings file without the key hides them.
    const QString globalFile =
        home.path() + QStringLiteral("/.config/ostrel/GlobalPreferences.conf");
    home.writeFile(globalFile, "[General]\nAppleInterfaceStyle=Dark\n");
    TestHome::setModificationTime(globalFile, at(2026, 12, 1, 8));
    UserDefaults::global().reload();
    EXPECT_EQ(nameOf(report), QStringLiteral("Report"));
    EXPECT_EQ(nameOf(archive), QStringLiteral("archive.tar"));
    EXPECT_EQ(nameOf(hidden), QStringLiteral(".profile"));

    // Any value at all, "0" included, counts as present.
    home.writeFile(globalFile, "[General]\nAppleShowAllExtensions=0\n");
    TestHome::setModificationTime(globalFile, at(2026, 12, 2, 8));
    UserDefaults::global().reload();
    EXPECT_EQ(nameOf(report), QStringLiteral("Report.pdf"));
    UserDefaults::global().reload();
}

class KnownLastUse final : public MetadataQuery
{
public:
    explicit KnownLastUse(QDateTime date)
        : m_date(std::move(date))
    {}
    std::optional<QDateTime> lastUsedDate(const QUrl&) const override { return m_date; }

private:
    QDateTime m_date;
};

TEST(LastUsedDate, prefersTheDesktopsRecordExceptForDropboxWhenAsked)
{
    TestHome home;
    FixedCalendar calendar(wednesdayAfternoon);
    const QDateTime modified = at(2026, 12, 1, 8);
    const QDateTime used = at(2026, 12, 9, 9);
    const QUrl plain = QUrl::fromLocalFile(home.createDocument(QStringLiteral("a.txt"), modified));
    const QUrl dropbox =
        QUrl::fromLocalFile(home.createDocument(QStringLiteral("Dropbox/b.txt"), modified));

    EXPECT_EQ(lastUsedDate(plain, false), modified);
    MetadataQuery::setCurrent(std::make_shared<KnownLastUse>(used));
    EXPECT_EQ(lastUsedDate(plain, true), used);
    EXPECT_EQ(lastUsedDate(dropbox, false), used);
    EXPECT_EQ(lastUsedDate(dropbox, true), modified);
    MetadataQuery::setCurrent(nullptr);
}

TEST(Sorting, newestFirstKeepsEqualDatesInOrder)
{
    FixedCalendar calendar(wednesdayAfternoon);
    const QDateTime same = at(2026, 12, 8, 10);
    QList<RecentFile> files{fileDated(QStringLiteral("first"), same),
                            fileDated(QStringLiteral("newest"), at(2026, 12, 9, 10)),
                            fileDated(QStringLiteral("second"), same),
                            fileDated(QStringLiteral("oldest"), at(2026, 1, 1, 10)),
                            fileDated(QStringLiteral("third"), same)};
    sortFilesNewestFirst(files);
    QStringList names;
    for (const RecentFile& file : files)
        names << file.name();
    EXPECT_EQ(names.join(u' '), QStringLiteral("newest first second third oldest"));
}

TEST(GroupCells, oneHeadingPerRunAtItsCombinedRow)
{
    FixedCalendar calendar(wednesdayAfternoon);
    const QList<RecentFile> files{fileDated(QStringLiteral("a"), at(2026, 12, 9, 12)),
                                  fileDated(QStringLiteral("b"), at(2026, 12, 9, 11)),
                                  fileDated(QStringLiteral("c"), at(2026, 12, 7, 11)),
                                  fileDated(QStringLiteral("d"), at(2026, 11, 1, 11))};
    const QList<RecentFileGroup> expected{{0, QStringLiteral("Today")},
                                          {3, QStringLiteral("This week")},
                                          {5, QStringLiteral("Last week and beyond")}};
    EXPECT_EQ(buildGroupCells(files), expected);
    EXPECT_TRUE(buildGroupCells({}).isEmpty());
    EXPECT_EQ(buildGroupCells(files.mid(3)),
              (QList<RecentFileGroup>{{0, QStringLiteral("Last week and beyond")}}));
}

TEST(GroupCells, aFutureDateOpensARunOfItsOwn)
{
    FixedCalendar calendar(wednesdayAfternoon);
    QList<RecentFile> files{fileDated(QStringLiteral("old"), at(2026, 11, 1, 11)),
                            fileDated(QStringLiteral("next week"), at(2026, 12, 16, 11)),
                            fileDated(QStringLiteral("today"), at(2026, 12, 9, 11))};
    sortFilesNewestFirst(files);
    const QList<RecentFileGroup> headings = buildGroupCells(files);
    ASSERT_EQ(headings.size(), 3);
    EXPECT_EQ(headings.first().string, headings.last().string);
}

TEST(CombinedRows, mapsRowsAndFileIndicesBothWays)
{
    // Rows: heading, file 0, file 1, heading, file 2, file 3, heading, file 4.
    const QList<RecentFileGroup> headings{{0, QStringLiteral("Today")},
                                          {3, QStringLiteral("This week")},
                                          {6, QStringLiteral("Last week and beyond")}};
    const QList<qsizetype> fileOfRow{-1, 0, 1, -1, 2, 3, -1, 4};
    ASSERT_EQ(CombinedRows::rowCount(headings, 5), fileOfRow.size());
    for (qsizetype row = 0; row < fileOfRow.size(); ++row) {
        EXPECT_EQ(CombinedRows::fileIndexForRow(headings, row), fileOfRow[row]) << row;
        EXPECT_EQ(CombinedRows::isHeading(headings, row), fileOfRow[row] < 0) << row;
        if (fileOfRow[row] >= 0) {
            EXPECT_EQ(CombinedRows::rowForFileIndex(headings, fileOfRow[row]), row);
        }
    }
    // Item 3 with one heading before it is row 4.
    EXPECT_EQ(CombinedRows::rowForFileIndex({{0, QStringLiteral("Today")}}, 3), 4);
}
} // namespace

namespace {
TEST(DateGroup, aDayThatBeginsAfterMidnightStillHasItsMorning)
{
    // On 4 November 2018 São Paulo's clocks jumped from midnight to one o'clock.
    const QTimeZone saoPaulo(QByteArrayLiteral("America/Sao_Paulo"));
    if (!saoPaulo.isValid())
        GTEST_SKIP() << "no time-zone data for America/Sao_Paulo on this machine";
    const QDateTime noon(QDate(2018, 11, 4), QTime(12, 0), saoPaulo);
    Calendar::setCurrent(Calendar::fixed(noon, saoPaulo, Qt::Sunday));
    EXPECT_EQ(dateGroupName(QDateTime(QDate(2018, 11, 4), QTime(1, 30), saoPaulo)),
              QStringLiteral("Today"));
    EXPECT_EQ(dateGroupName(QDateTime(QDate(2018, 11, 3), QTime(23, 30), saoPaulo)),
              QStringLiteral("Last week and beyond"));
    EXPECT_EQ(relativeDateText(QDateTime(QDate(2018, 11, 3), QTime(12, 0), saoPaulo)),
              QStringLiteral("Yesterday"));
    Calendar::setCurrent(Calendar::system());
}

TEST(DateGroup, followsTheClockIntoTheNextDay)
{
    QDateTime now = at(2026, 12, 9, 23, 59);
    Calendar::setCurrent(Calendar(berlinWinter, Qt::Monday, [&now] { return now; }));
    const QDateTime evening = at(2026, 12, 9, 20);
    EXPECT_EQ(dateGroupName(evening), QStringLiteral("Today"));
    now = at(2026, 12, 10, 0, 1);
    EXPECT_EQ(dateGroupName(evening), QStringLiteral("This week"));
    now = at(2026, 12, 14, 0, 1);
    EXPECT_EQ(dateGroupName(evening), QStringLiteral("Last week and beyond"));
    Calendar::setCurrent(Calendar::system());
}
} // namespace

namespace {
// The process's zone through TZ, as a desktop session sets it; restored afterwards.
class SystemZone
{
public:
    explicit SystemZone(const QByteArray& zone)
        : m_saved(qgetenv("TZ"))
        , m_wasSet(qEnvironmentVariableIsSet("TZ"))
    {
        set(zone);
    }
    ~SystemZone()
    {
        if (m_wasSet)
            qputenv("TZ", m_saved);
        else
            qunsetenv("TZ");
        tzset();
        Calendar::setCurrent(Calendar::system());
    }
    static void set(const QByteArray& zone)
    {
        qputenv("TZ", zone);
        tzset();
        Calendar::current().followSystemZone();
    }

private:
    QByteArray m_saved;
    bool m_wasSet;
};

TEST(SystemCalendar, datesInTheZoneReadAtTheLastRebuild)
{
    const QTimeZone saoPaulo(QByteArrayLiteral("America/Sao_Paulo"));
    const QTimeZone tokyo(QByteArrayLiteral("Asia/Tokyo"));
    if (!saoPaulo.isValid() || !tokyo.isValid())
        GTEST_SKIP() << "no time-zone data on this machine";
    Calendar::setCurrent(Calendar::system());
    const SystemZone zone("America/Sao_Paulo");
    // Both sides of the day São Paulo's clocks skipped midnight.
    for (const QDateTime& moment :
         {QDateTime(QDate(2018, 11, 3), QTime(12, 0), saoPaulo),
          QDateTime(QDate(2018, 11, 4), QTime(1, 30), saoPaulo), QDateTime::currentDateTimeUtc()}) {
        const QDateTime local = Calendar::current().inCalendarZone(moment);
        // A zone of its own, not the C library's local time looked up again for every date.
        EXPECT_EQ(local.timeSpec(), Qt::TimeZone);
        EXPECT_EQ(local, moment);
        EXPECT_EQ(local.offsetFromUtc(), saoPaulo.offsetFromUtc(moment));
    }
    SystemZone::set("Asia/Tokyo");
    const QDateTime now = QDateTime::currentDateTimeUtc();
    EXPECT_EQ(Calendar::current().inCalendarZone(now).offsetFromUtc(), 9 * 3600);
    EXPECT_EQ(relativeDateText(now.addDays(-1)), QStringLiteral("Yesterday"));
}
} // namespace

namespace {
// "n units ago" by its definition: the most whole years, then months, then days that fit
// between the two moments, counted with Qt's own arithmetic in the zone.
QString elapsedInWords(QDateTime from, const QDateTime& to)
{
    auto mostThatFit = [&](auto step) {
        int count = 0;
        while (step(from, count + 1) <= to)
            ++count;
        from = step(from, count);
        return count;
    };
    const int years = mostThatFit([](const QDateTime& d, int n) { return d.addYears(n); });
    const int months = mostThatFit([](const QDateTime& d, int n) { return d.addMonths(n); });
    const int days = mostThatFit([](const QDateTime& d, int n) { return d.addDays(n); });
    const std::pair<int, const char*> units[] = {
        {years, "year"}, {months, "month"}, {days / 7, "week"}, {days % 7, "day"}};
    for (const auto& [count, unit] : units) {
        if (count > 1)
            return QStringLiteral("%1 %2s ago").arg(count).arg(QLatin1StringView(unit));
        if (count == 1)
            return unit == std::string_view("day")
                       ? QStringLiteral("Yesterday")
                       : QStringLiteral("Last %1").arg(QLatin1StringView(unit));
    }
    return QStringLiteral("Today");
}

TEST(RelativeDate, agreesWithTheCalendarArithmeticAcrossOffsetChanges)
{
    // Daylight-saving changes by an hour and by half an hour, a skipped midnight, a skipped day.
    for (const char* name :
         {"Europe/Berlin", "Australia/Lord_Howe", "America/Sao_Paulo", "Pacific/Apia", "UTC"}) {
        const QTimeZone zone(name);
        if (!zone.isValid())
            continue;
        for (const QDateTime& now : {QDateTime(QDate(2026, 3, 29), QTime(3, 30), zone),
                                     QDateTime(QDate(2018, 11, 4), QTime(1, 0), zone),
                                     QDateTime(QDate(2011, 12, 31), QTime(0, 30), zone)}) {
            Calendar::setCurrent(Calendar::fixed(now, zone, Qt::Monday));
            // Every 7 hours and 13 minutes for two years back and a week ahead.
            for (qint64 minutes = -7 * 24 * 60; minutes < 2 * 366 * 24 * 60; minutes += 433) {
                const QDateTime moment = now.addSecs(-60 * minutes);
                const QString expected =
                    moment <= now ? elapsedInWords(moment, now) : elapsedInWords(now, moment);
                ASSERT_EQ(relativeDateText(moment), expected)
                    << name << " now " << now.toString(Qt::ISODate).toStdString() << " moment "
                    << moment.toString(Qt::ISODate).toStdString();
            }
        }
    }
    Calendar::setCurrent(Calendar::system());
}
} // namespace

namespace {
TEST(CivilDate, countsDaysAndStepsMonthsAsQDate)
{
    const QDate epoch(1970, 1, 1);
    // Every day from 1896 to 2104: century years with and without a leap day, month ends.
    for (QDate day(1896, 1, 1); day < QDate(2104, 12, 31); day = day.addDays(1)) {
        const qint64 number = epoch.daysTo(day);
        const CivilDate civil = CivilDate::fromDayNumber(number);
        ASSERT_EQ(civil, (CivilDate{day.year(), day.month(), day.day()})) << number;
        ASSERT_EQ(civil.dayNumber(), number);
        if (day.day() < 28 && day.month() != 1)
            continue;
        for (int step : {-25, -13, -12, -1, 1, 11, 12, 49}) {
            const QDate months = day.addMonths(step);
            const QDate years = day.addYears(step);
            ASSERT_EQ(civil.addMonths(step),
                      (CivilDate{months.year(), months.month(), months.day()}))
                << day.toString(Qt::ISODate).toStdString() << " + " << step << " months";
            ASSERT_EQ(civil.addYears(step), (CivilDate{years.year(), years.month(), years.day()}))
                << day.toString(Qt::ISODate).toStdString() << " + " << step << " years";
        }
    }
}

TEST(Calendar, wallClockIsTheZonesOwnAcrossOffsetChanges)
{
    for (const char* name : {"Europe/Berlin", "Australia/Lord_Howe", "America/St_Johns",
                             "Pacific/Apia", "Asia/Kathmandu", "UTC"}) {
        const QTimeZone zone(name);
        if (!zone.isValid())
            continue;
        const Calendar calendar =
            Calendar::fixed(QDateTime::currentDateTimeUtc(), zone, Qt::Monday);
        // Every 3 hours and 7 minutes over the years of three offset changes and around 1900.
        for (const QDateTime& from : {QDateTime(QDate(2010, 1, 1), QTime(0, 0), Qt::UTC),
                                      QDateTime(QDate(1899, 12, 20), QTime(0, 0), Qt::UTC)}) {
            for (qint64 minutes = 0; minutes < 3 * 366 * 24 * 60; minutes += 187) {
                const QDateTime moment = from.addSecs(60 * minutes + 17);
                const QDateTime local = calendar.inCalendarZone(moment);
                const std::optional<Calendar::WallClock> wall =
                    calendar.wallClockAt(moment.toMSecsSinceEpoch());
                if (!wall) {
                    ASSERT_LT(moment.date().year(), 1900) << name << ": offsets known from 1900";
                    continue;
                }
                ASSERT_EQ(QDate(1970, 1, 1).addDays(wall->day), local.date())
                    << name << " " << moment.toString(Qt::ISODate).toStdString();
                ASSERT_EQ(wall->msecsOfDay, local.time().msecsSinceStartOfDay()) << name;
                ASSERT_EQ(wall->offsetFromUtc, local.offsetFromUtc()) << name;
            }
        }
    }
}
} // namespace
