#include "Calendar.h"

#include <QLocale>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>

// The calendar zone's offset from UTC between firstKnown and lastKnown (milliseconds since the
// epoch): offsetBefore until the first change, then each change's offset from its moment on.
struct Calendar::Offsets
{
    qint64 firstKnown = 0;
    qint64 lastKnown = -1;
    int offsetBefore = 0;
    QList<qint64> changes;
    QList<int> offsetsAfter;
};

struct Calendar::BoundaryCache
{
    QMutex mutex;
    std::optional<Boundaries> boundaries;
    // The system's zone as last read, for calendars without a zone of their own.
    std::optional<std::optional<QTimeZone>> systemZone;
    // The calendar zone's offsets from a little before the first to a little after the last day
    // they were looked up for (days counted from 1970-01-01).
    std::optional<Offsets> offsets;
    qint64 firstSteadyKnown = 0;
    qint64 lastSteadyKnown = -1;
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
    m_cache->offsets.reset();
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

namespace {
constexpr qint64 dayMs = 24 * 3600 * 1000;

qint64 dayNumberOf(const QDate& day)
{
    return day.toJulianDay() - QDate(1970, 1, 1).toJulianDay();
}

// Floor division: days before 1970 count down from -1.
qint64 floorDiv(qint64 value, qint64 divisor)
{
    return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor);
}
} // namespace

const Calendar::Offsets& Calendar::offsetsLocked() const
{
    if (m_cache->offsets)
        return *m_cache->offsets;
    const std::optional<QTimeZone>& calendarZone = m_timeZone ? m_timeZone : systemZoneLocked();
    Offsets offsets;
    // Far enough back for any document's date, far enough ahead for any clock set wrong.
    m_cache->firstSteadyKnown = dayNumberOf(QDate(1900, 1, 1));
    m_cache->lastSteadyKnown = dayNumberOf(QDate::currentDate().addYears(20));
    if (!calendarZone) {
        m_cache->lastSteadyKnown = m_cache->firstSteadyKnown - 1;
    } else {
        offsets.firstKnown = (m_cache->firstSteadyKnown - 4) * dayMs;
        offsets.lastKnown = (m_cache->lastSteadyKnown + 5) * dayMs;
        const QDateTime from = QDateTime::fromMSecsSinceEpoch(offsets.firstKnown, Qt::UTC);
        const QDateTime to = QDateTime::fromMSecsSinceEpoch(offsets.lastKnown, Qt::UTC);
        offsets.offsetBefore = calendarZone->offsetFromUtc(from);
        if (calendarZone->hasTransitions()) {
            for (const QTimeZone::OffsetData& transition : calendarZone->transitions(from, to)) {
                offsets.changes.append(transition.atUtc.toMSecsSinceEpoch());
                offsets.offsetsAfter.append(transition.offsetFromUtc);
            }
        }
    }
    m_cache->offsets = std::move(offsets);
    return *m_cache->offsets;
}

std::optional<Calendar::WallClock> Calendar::wallClockAt(qint64 msecsSinceEpoch) const
{
    int offset = 0;
    {
        const QMutexLocker locker(&m_cache->mutex);
        const Offsets& offsets = offsetsLocked();
        if (msecsSinceEpoch < offsets.firstKnown || msecsSinceEpoch >= offsets.lastKnown)
            return std::nullopt;
        const auto next =
            std::upper_bound(offsets.changes.cbegin(), offsets.changes.cend(), msecsSinceEpoch);
        offset = next == offsets.changes.cbegin()
                     ? offsets.offsetBefore
                     : offsets.offsetsAfter.at(next - offsets.changes.cbegin() - 1);
    }
    const qint64 wall = msecsSinceEpoch + qint64(offset) * 1000;
    const qint64 day = floorDiv(wall, dayMs);
    return WallClock{day, int(wall - day * dayMs), offset};
}

bool Calendar::isSteadyAround(const QDate& day) const
{
    return day.isValid() && isSteadyAroundDay(dayNumberOf(day));
}

bool Calendar::isSteadyAroundDay(qint64 day) const
{
    return isSteadyAroundDays(day, day);
}

bool Calendar::isSteadyAroundDays(qint64 first, qint64 last) const
{
    const QMutexLocker locker(&m_cache->mutex);
    const Offsets& offsets = offsetsLocked();
    if (first > last || first < m_cache->firstSteadyKnown || last > m_cache->lastSteadyKnown)
        return false;
    // Offsets lie within a day of UTC: a day's instants lie within [midnight UTC - 1 day,
    // midnight UTC + 2 days), and each is then three days away from any change.
    const auto next = std::lower_bound(offsets.changes.cbegin(), offsets.changes.cend(),
                                       first * dayMs - 4 * dayMs);
    return next == offsets.changes.cend() || *next >= last * dayMs + 5 * dayMs;
}

QDateTime Calendar::addDays(const QDateTime& moment, int days) const
{
    // Calendar days, not multiples of 24 hours: the wall-clock time stays across DST changes.
    return inCalendarZone(moment).addDays(days);
}
