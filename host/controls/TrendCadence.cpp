#include "TrendCadence.h"

#include <algorithm>

void TrendCadence::read(qint64 roundMs, qint64 atMs)
{
    m_lastAtMs = std::max(m_lastAtMs, atMs);
    if (m_lastRoundMs != 0 && roundMs <= m_lastRoundMs)
        return;
    if (m_lastRoundMs != 0) {
        m_intervals[size_t(m_next)] = roundMs - m_lastRoundMs;
        m_next = (m_next + 1) % Kept;
        m_count = std::min(m_count + 1, Kept);
    }
    m_lastRoundMs = roundMs;
}

void TrendCadence::reset()
{
    *this = TrendCadence(m_minimumMs);
}

qint64 TrendCadence::intervalMs() const
{
    if (m_count == 0)
        return 0;
    // The median: one long outage does not make the next gap wait.
    std::array<qint64, Kept> sorted = m_intervals;
    std::sort(sorted.begin(), sorted.begin() + m_count);
    return sorted[size_t(m_count / 2)];
}

qint64 TrendCadence::allowanceMs() const
{
    // Before the pace is known, a slow first interval is no gap either.
    if (m_count == 0)
        return 3 * m_minimumMs;
    return std::max(m_minimumMs, 3 * intervalMs());
}

bool TrendCadence::overdue(qint64 nowMs) const
{
    return m_lastAtMs != 0 && nowMs - m_lastAtMs > allowanceMs();
}
