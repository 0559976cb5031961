#include "StallMeter.h"

#include <algorithm>

StallMeter::StallMeter()
{
    m_ticker.setTimerType(Qt::PreciseTimer);
    m_ticker.setInterval(1);
    QObject::connect(&m_ticker, &QTimer::timeout, [this] { tick(); });
    m_sinceTick.start();
    m_sinceStart.start();
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
