#include "StallMeter.h"

#include <algorithm>
#include <time.h>

namespace {
double threadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
}
} // namespace

StallMeter::StallMeter()
{
    m_ticker.setTimerType(Qt::PreciseTimer);
    m_ticker.setInterval(1);
    QObject::connect(&m_ticker, &QTimer::timeout, [this] { tick(); });
    m_sinceTick.start();
    m_sinceStart.start();
    m_cpuAtTick = threadCpuMs();
    m_ticker.start();
}

void StallMeter::tick()
{
    const double stall = static_cast<double>(m_sinceTick.nsecsElapsed()) / 1e6;
    m_gaps << stall;
    if (stall > m_longest) {
        m_longest = stall;
        m_longestEndedAt = static_cast<double>(m_sinceStart.nsecsElapsed()) / 1e6;
    }
    const double cpu = threadCpuMs();
    m_longestBusy = std::max(m_longestBusy, cpu - m_cpuAtTick);
    m_cpuAtTick = cpu;
    m_sinceTick.restart();
}

double StallMeter::percentile99() const
{
    QList<double> gaps = m_gaps;
    std::sort(gaps.begin(), gaps.end());
    return gaps.isEmpty() ? 0 : gaps.at(gaps.size() * 99 / 100);
}

double StallMeter::median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}
