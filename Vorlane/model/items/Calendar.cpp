#include "Calendar.h"

#include <QLocale>
#include <QMutex>
#include <QMutexLocker>

struct Calendar::BoundaryCache
{
    QMutex mutex;
    std::optional<Boundaries> boundaries;
};

Calendar::Calendar(std::optional<QTimeZone> timeZone, Qt::DayOfWeek firstDayOfWeek, Clock clock)
    : m_timeZone(std::move(timeZone))
    , m_firstDayOfWeek(firstDayOfWeek)
    , m_clock(std::move(clock))
    , m_cache(std::make_shared<BoundaryCache>())
{}

Calendar Calendar::system()
{
    return Calendar(std::nullopt, QLocale::system().firstDayOfWeek(),
                    [] { return QDateTime::currentDateTimeUtc(); });
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

QDateTime Calendar::inCalendarZone(const QDateTime& moment) const
{
    return m_timeZone ? moment.toTimeZone(*m_timeZone) : moment.toLocalTime();
}

QDateTime Calendar::startOfDay(const QDate& day) const
{
    // Not always midnight: some zones skip it when daylight-saving time begins.
    return m_timeZone ? day.startOfDay(*m_timeZone) : day.startOfDay(Qt::LocalTime);
}

Calendar::Boundaries Calendar::boundariesAround(const QDateTime& now) const
{
    const QDate today = inCalendarZone(now).date();
    const QDate firstOfWeek = today.addDays(-((today.dayOfWeek() - m_firstDayOfWeek + 7) % 7));
    return {startOfDay(today).toMSecsSinceEpoch(), startOfDay(today.addDays(1)).toMSecsSinceEpoch(),
            startOfDay(firstOfWeek).toMSecsSinceEpoch(),
            startOfDay(firstOfWeek.addDays(7)).toMSecsSinceEpoch()};
}

Calendar::Period Calendar::periodOf(const QDateTime& moment) const
{
    const QDateTime current = now();
    const qint64 nowMs = current.toMSecsSinceEpoch();
    Boundaries boundaries;
    {
        const QMutexLocker locker(&m_cache->mutex);
        const std::optional<Boundaries>& cached = m_cache->boundaries;
        if (!cached || nowMs < cached->startOfToday || nowMs >= cached->startOfTomorrow)
            m_cache->boundaries = boundariesAround(current);
        boundaries = *m_cache->boundaries;
    }
    const qint64 ms = moment.toMSecsSinceEpoch();
    if (ms >= boundaries.startOfToday && ms < boundaries.startOfTomorrow)
        return Period::Today;
    if (ms >= boundaries.startOfWeek && ms < boundaries.startOfNextWeek)
        return Period::ThisWeek;
    return Period::Other;
}

QDateTime Calendar::addDays(const QDateTime& moment, int days) const
{
    // Calendar days, not multiples of 24 hours: the wall-clock time stays across DST changes.
    return inCalendarZone(moment).addDays(days);
}
