#include "Calendar.h"

#include <QLocale>

Calendar::Calendar(std::optional<QTimeZone> timeZone, Qt::DayOfWeek firstDayOfWeek, Clock clock)
    : m_timeZone(std::move(timeZone))
    , m_firstDayOfWeek(firstDayOfWeek)
    , m_clock(std::move(clock))
{}

Calendar Calendar::system()
{
    return Calendar(std::nullopt, QLocale::system().firstDayOfWeek(),
                    [] { return QDateTime::currentDateTime(); });
}

Calendar Calendar::fixed(const QDateTime& now, QTimeZone timeZone, Qt::DayOfWeek firstDayOfWeek)
{
    return Calendar(std::move(timeZone), firstDayOfWeek, [now] { return now; });
}

namespace {
Calendar& sharedCalendar()
{
    static Calendar calendar = Calendar::system();
    return calendar;
}
} // namespace

const Calendar& Calendar::current()
{
    return sharedCalendar();
}

void Calendar::setCurrent(const Calendar& calendar)
{
    sharedCalendar() = calendar;
}

QDateTime Calendar::now() const
{
    return inCalendarZone(m_clock());
}

QDateTime Calendar::inCalendarZone(const QDateTime& moment) const
{
    return m_timeZone ? moment.toTimeZone(*m_timeZone) : moment.toLocalTime();
}

QDate Calendar::dayOf(const QDateTime& moment) const
{
    return inCalendarZone(moment).date();
}

QDate Calendar::startOfWeek(const QDate& day) const
{
    const int daysSinceStart = (day.dayOfWeek() - m_firstDayOfWeek + 7) % 7;
    return day.addDays(-daysSinceStart);
}

QDateTime Calendar::addDays(const QDateTime& moment, int days) const
{
    // Calendar days, not multiples of 24 hours: the wall-clock time stays across DST changes.
    return inCalendarZone(moment).addDays(days);
}
