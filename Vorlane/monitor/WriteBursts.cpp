#include "WriteBursts.h"

#include <algorithm>

WriteBursts::WriteBursts()
    : WriteBursts(Timing{})
{}

WriteBursts::WriteBursts(Timing timing)
    : m_timing(timing)
{}

std::vector<QUrl> WriteBursts::take(const std::vector<FileChange>& changes, Clock::time_point now)
{
    std::vector<QUrl> reported;
    for (const FileChange& change : changes) {
        if (change.writing) {
            write(change.url, now);
        } else {
            end(change.url);
            reported.push_back(change.url);
        }
    }
    return reported;
}

std::vector<QUrl> WriteBursts::due(Clock::time_point now)
{
    std::vector<QUrl> over;
    std::erase_if(m_bursts, [&](const Burst& burst) {
        if (endOf(burst) > now)
            return false;
        over.push_back(burst.url);
        return true;
    });
    return over;
}

std::optional<WriteBursts::Clock::time_point> WriteBursts::nextDue() const
{
    std::optional<Clock::time_point> next;
    for (const Burst& burst : m_bursts)
        next = next ? std::min(*next, endOf(burst)) : endOf(burst);
    return next;
}

WriteBursts::Clock::time_point WriteBursts::endOf(const Burst& burst) const
{
    return std::min(burst.last + m_timing.quiet, burst.first + m_timing.longest);
}

void WriteBursts::write(const QUrl& url, Clock::time_point now)
{
    const auto found = std::find_if(m_bursts.begin(), m_bursts.end(),
                                    [&](const Burst& burst) { return burst.url == url; });
    if (found == m_bursts.end())
        m_bursts.push_back({url, now, now});
    else
        found->last = now;
}

void WriteBursts::end(const QUrl& url)
{
    std::erase_if(m_bursts, [&](const Burst& burst) { return burst.url == url; });
}
