#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <functional>
#include <optional>

// The clock and calendar every date rule uses: the current moment, the time zone in which
// calendar days are counted and the first day of the week. The process-wide instance follows the
// system; tests and tools install their own.
class Calendar
{
public:
    using Clock = std::function<QDateTime()>;

    // A calendar in the given zone; without one, in the system's local time.
    Calendar(std::optional<QTimeZone> timeZone, Qt::DayOfWeek firstDayOfWeek, Clock clock);

    static Calendar system();
    // A calendar whose clock always answers the given moment.
    static Calendar fixed(const QDateTime& now, QTimeZone timeZone, Qt::DayOfWeek firstDayOfWeek);

    static const Calendar& current();
    static void setCurrent(const Calendar& calendar);

    QDateTime now() const;
    // The moment as wall-clock time of this calendar's zone.
    QDateTime inCalendarZone(const QDateTime& moment) const;
    Qt::DayOfWeek firstDayOfWeek() const { return m_firstDayOfWeek; }

    // The date's calendar day in this calendar's time zone.
    QDate dayOf(const QDateTime& moment) const;
    // The first day of the week that holds the given day.
    QDate startOfWeek(const QDate& day) const;
    QDateTime addDays(const QDateTime& moment, int days) const;

private:
    // None: the system's local time, which needs no time-zone lookups.
    std::optional<QTimeZone> m_timeZone;
    Qt::DayOfWeek m_firstDayOfWeek;
    Clock m_clock;
};
