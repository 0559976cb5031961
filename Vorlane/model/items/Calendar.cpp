#include "Calendar.h"

#include <QLocale>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>

struct Calendar::BoundaryCache
{
    QMutex mutex;
    std::optional<Boundaries> boundaries;
    // The system's zone as last read, for calendars without a zone of their own.
    std::optional<std::optional<QTimeZone>> systemZone;
    // The calendar zone's offset changes (milliseconds since the epoch, ascending) between
    // the first and last day they were looked up for.
    std::optional<QList<qint64>> transitions;
    QDate firstSteadyKnown;
    QDate lastSteadyKnown;
};

namespace {
std::optional<QTimeZone> readSystemZone()
{
    // An unreadable zone leaves the conversions to the C library, slow but right.
    QTimeZone zone = QTimeZone::systemTimeZone();
    return zone.isValid() ? std::optional(std::move(zone)) : std::nullopt;
}
} // namespace

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

void Calendar::followSystemZone() const
{
    if (m_timeZone)
        return;
    std::optional<QTimeZone> zone = readSystemZone();
    const QMutexLocker locker(&m_cache->mutex);
    if (m_cache->systemZone && *m_cache->systemZone == zone)
        return;
    m_cache->systemZone = std::move(zone);
    m_cache->boundaries.reset();
    m_cache->transitions.reset();
}

std::optional<QTimeZone> Calendar::zone() const
{
    if (m_timeZone)
        return m_timeZone;
    const QMutexLocker locker(&m_cache->mutex);
    return systemZoneLocked();
}

const std::optional<QTimeZone>& Calendar::systemZoneLocked() const
{
    if (!m_cache->systemZone)
        m_cache->systemZone = readSystemZone();
    return *m_cache->systemZone;
}

namespace {
QDateTime toZone(const QDateTime& moment, const std::optional<QTimeZone>& zone)
{
    return zone ? moment.toTimeZone(*zone) : moment.toLocalTime();
}

QDateTime startOfDay(const QDate& day, const std::optional<QTimeZone>& zone)
{
    // Not always midnight: some zones skip it when daylight-saving time begins.
    return zone ? day.startOfDay(*zone) : day.startOfDay(Qt::LocalTime);
}
} // namespace

QDateTime Calendar::inCalendarZone(const QDateTime& moment) const
{
    return toZone(moment, zone());
}

Calendar::Boundaries Calendar::boundariesAround(const QDateTime& now,
                                                const std::optional<QTimeZone>& zone) const
{
    const QDate today = toZone(now, zone).date();
    const QDate firstOfWeek = today.addDays(-((today.dayOfWeek() - m_firstDayOfWeek + 7) % 7));
    auto start = [&zone](const QDate& day) { return startOfDay(day, zone).toMSecsSinceEpoch(); };
    return {start(today), start(today.addDays(1)), start(firstOfWeek),
            start(firstOfWeek.addDays(7))};
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
            m_cache->boundaries =
                boundariesAround(current, m_timeZone ? m_timeZone : systemZoneLocked());
        boundaries = *m_cache->boundaries;
    }
    const qint64 ms = moment.toMSecsSinceEpoch();
    if (ms >= boundaries.startOfToday && ms < boundaries.startOfTomorrow)
        return Period::Today;
    if (ms >= boundaries.startOfWeek && ms < boundaries.startOfNextWeek)
        return Period::ThisWeek;
    return Period::Other;
}

const QList<qint64>& Calendar::transitionsLocked() const
{
    if (m_cache->transitions)
        return *m_cache->transitions;
    const std::optional<QTimeZone>& calendarZone = m_timeZone ? m_timeZone : systemZoneLocked();
    QList<qint64> transitions;
    // Far enough back for any document's date, far enough ahead for any clock set wrong.
    const QDate today = QDate::currentDate();
    m_cache->firstSteadyKnown = QDate(1900, 1, 1);
    m_cache->lastSteadyKnown = today.addYears(20);
    if (!calendarZone) {
        m_cache->lastSteadyKnown = QDate();
    } else if (calendarZone->hasTransitions()) {
        const QDateTime from = m_cache->firstSteadyKnown.addDays(-4).startOfDay(Qt::UTC);
        const QDateTime to = m_cache->lastSteadyKnown.addDays(5).startOfDay(Qt::UTC);
        for (const QTimeZone::OffsetData& transition : calendarZone->transitions(from, to))
            transitions.append(transition.atUtc.toMSecsSinceEpoch());
    }
    m_cache->transitions = std::move(transitions);
    return *m_cache->transitions;
}

bool Calendar::isSteadyAround(const QDate& day) const
{
    const QMutexLocker locker(&m_cache->mutex);
    const QList<qint64>& transitions = transitionsLocked();
    if (!m_cache->lastSteadyKnown.isValid() || day < m_cache->firstSteadyKnown ||
        day > m_cache->lastSteadyKnown)
        return false;
    // Offsets lie within a day of UTC: a day's instants lie within [midnight UTC - 1 day,
    // midnight UTC + 2 days), and each is then three days away from any change.
    constexpr qint64 dayMs = 24 * 3600 * 1000;
    const qint64 midnight = day.startOfDay(Qt::UTC).toMSecsSinceEpoch();
    const auto next =
        std::lower_bound(transitions.cbegin(), transitions.cend(), midnight - 4 * dayMs);
    return next == transitions.cend() || *next >= midnight + 5 * dayMs;
}

QDateTime Calendar::addDays(const QDateTime& moment, int days) const
{
    // Calendar days, not multiples of 24 hours: the wall-clock time stays across DST changes.
    return inCalendarZone(moment).addDays(days);
}
