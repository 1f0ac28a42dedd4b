#include "StabilityWatch.h"

#include <algorithm>

StabilityWatch::StabilityWatch(double limit, qint64 windowMs, qint64 timeoutMs)
    : m_limit(limit), m_windowMs(windowMs), m_timeoutMs(timeoutMs)
{
}

void StabilityWatch::restart(qint64 nowMs)
{
    m_samples.clear();
    m_startMs = nowMs;
    m_calmSinceMs = nowMs;
    m_lastMs = nowMs;
    m_spread = 0.0;
    m_state = State::Waiting;
}

StabilityWatch::State StabilityWatch::add(qint64 nowMs, double value)
{
    if (m_state != State::Waiting)
        return m_state;
    if (m_samples.isEmpty())
        m_calmSinceMs = nowMs;
    m_samples.append({nowMs, value});
    m_lastMs = nowMs;
    // Keep the newest sample at least a window old, so the window is covered.
    while (m_samples.size() > 1 && m_samples.at(1).ms <= nowMs - m_windowMs)
        m_samples.removeFirst();
    const auto [low, high] =
        std::minmax_element(m_samples.cbegin(), m_samples.cend(),
                            [](const Sample &a, const Sample &b) { return a.value < b.value; });
    m_spread = high->value - low->value;
    if (m_spread >= m_limit) {
        // The calm starts again after the newest sample that broke it.
        m_calmSinceMs = nowMs;
        while (m_samples.size() > 1)
            m_samples.removeFirst();
        m_spread = 0.0;
    }
    if (nowMs - m_calmSinceMs >= m_windowMs)
        m_state = State::Stable;
    else if (nowMs - m_startMs >= m_timeoutMs)
        m_state = State::TimedOut;
    return m_state;
}

int StabilityWatch::progress() const
{
    if (m_state == State::Stable)
        return 100;
    return int(std::clamp<qint64>((m_lastMs - m_calmSinceMs) * 100 / m_windowMs, 0, 100));
}
