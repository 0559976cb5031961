#pragma once

#include <QDateTime>
#include <QTimeZone>

#include <functional>
#include <memory>
#include <optional>

// The clock and calendar every date rule uses: the current moment, the time zone in which
// calendar days are counted and the first day of the week. The process-wide instance follows the
// system; tests and tools install their own.
//
// Dates are kept as instants (usually UTC) and converted to wall-clock time only where calendar
// arithmetic or display needs it. The system's zone is read once and kept as a QTimeZone until
// followSystemZone() reads it again: a conversion to Qt::LocalTime goes through the C library,
// which looks at /etc/localtime again each time, and a rebuild dates thousands of documents.
class Calendar
{
public:
    using Clock = std::function<QDateTime()>;

    // Which part of the calendar a moment falls in, seen from now.
    enum class Period
    {
        Today,
        ThisWeek,
        Other
    };

    // A calendar in the given zone; without one, in the system's zone.
    Calendar(std::optional<QTimeZone> timeZone, Qt::DayOfWeek firstDayOfWeek, Clock clock);

    static Calendar system();
    // A calendar whose clock always answers the given moment.
    static Calendar fixed(const QDateTime& now, QTimeZone timeZone, Qt::DayOfWeek firstDayOfWeek);

    static const Calendar& current();
    static void setCurrent(const Calendar& calendar);

    // Reads the system's zone again (once per rebuild), for calendars that follow it; today and
    // this week are worked out again when it has changed.
    void followSystemZone() const;

    QDateTime now() const { return m_clock(); }
    // The moment as wall-clock time of this calendar's zone.
    QDateTime inCalendarZone(const QDateTime& moment) const;
    Qt::DayOfWeek firstDayOfWeek() const { return m_firstDayOfWeek; }

    // A moment as wall-clock time of the calendar's zone: its day, counted from 1970-01-01, and
    // the milliseconds into that day. Worked out from the zone's offsets read once, without a
    // zone lookup; none where those are not known (the zone cannot be read, or the moment is far
    // from now), where inCalendarZone() answers.
    struct WallClock
    {
        qint64 day = 0;
        int msecsOfDay = 0;
        int offsetFromUtc = 0;
    };
    std::optional<WallClock> wallClockAt(qint64 msecsSinceEpoch) const;

    // Today, the rest of this week (the calendar's own week, future days included), or neither.
    Period periodOf(const QDateTime& moment) const;
    // The same wall-clock time the given number of calendar days away.
    QDateTime addDays(const QDateTime& moment, int days) const;

    // Whether the zone's offset from UTC stays the same from three days before the day to three
    // days after it. Wall-clock times of such days exist, are unambiguous and compare as the
    // instants they stand for, so calendar arithmetic on them needs no zone lookup. False where
    // that is not known (the zone cannot be read, or the day is far from now).
    bool isSteadyAround(const QDate& day) const;
    // The same for a day counted from 1970-01-01.
    bool isSteadyAroundDay(qint64 day) const;
    // The same for every day from first to last, in one lookup.
    bool isSteadyAroundDays(qint64 first, qint64 last) const;

private:
    // Where today and this week begin and end, in milliseconds since the epoch.
    struct Boundaries
    {
        qint64 startOfToday = 0;
        qint64 startOfTomorrow = 0;
        qint64 startOfWeek = 0;
        qint64 startOfNextWeek = 0;
    };
    struct BoundaryCache;
    struct Offsets;

    Boundaries boundariesAround(const QDateTime& now, const std::optional<QTimeZone>& zone) const;
    // The zone days are counted in; none where the system's cannot be read as a QTimeZone.
    std::optional<QTimeZone> zone() const;
    // The system's zone, read on first use; the cache's mutex is held.
    const std::optional<QTimeZone>& systemZoneLocked() const;
    // The zone's offsets and when they change, read on first use; the cache's mutex is held.
    const Offsets& offsetsLocked() const;

    std::optional<QTimeZone> m_timeZone;
    Qt::DayOfWeek m_firstDayOfWeek;
    Clock m_clock;
    // Shared by copies; worked out again only when the day or the system's zone changes.
    std::shared_ptr<BoundaryCache> m_cache;
};
