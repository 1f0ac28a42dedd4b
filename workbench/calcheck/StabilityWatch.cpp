#include "StabilityWatch.h"

#include <algorithm>
#include <cmath>

StabilityWatch::StabilityWatch(double trendLimit, double scatterLimit, qint64 windowMs,
                               qint64 timeoutMs)
    : m_trendLimit(trendLimit), m_scatterLimit(scatterLimit), m_windowMs(windowMs),
      m_timeoutMs(timeoutMs)
{
}

void StabilityWatch::restart(qint64 nowMs)
{
    m_samples.clear();
    m_startMs = nowMs;
    m_trend = m_scatter = 0.0;
    m_progress = 0;
    m_state = State::Waiting;
}

StabilityWatch::State StabilityWatch::add(qint64 nowMs, double value)
{
    if (m_state != State::Waiting)
        return m_state;
    m_samples.append({nowMs, value});
    // Keep the oldest sample at least a window old, so the window is covered.
    while (m_samples.size() > 1 && m_samples.at(1).ms <= nowMs - m_windowMs)
        m_samples.removeFirst();
    const qint64 covered = nowMs - m_samples.first().ms;
    // Fewer than three samples always lie on a line: nothing to judge yet.
    if (covered < m_windowMs || m_samples.size() < 3) {
        m_progress = int(std::clamp<qint64>(covered * 99 / m_windowMs, 0, 99));
    } else {
        fit();
        if (m_trend < m_trendLimit && m_scatter < m_scatterLimit) {
            m_state = State::Stable;
            m_progress = 100;
            return m_state;
        }
        const double nearness = std::min(m_trendLimit / m_trend, m_scatterLimit / m_scatter);
        m_progress = int(std::clamp(nearness * 99.0, 0.0, 99.0));
    }
    if (nowMs - m_startMs >= m_timeoutMs)
        m_state = State::TimedOut;
    return m_state;
}

// Least squares through the window's samples, times relative to the oldest.
void StabilityWatch::fit()
{
    const double n = double(m_samples.size());
    double meanT = 0.0, meanV = 0.0;
    for (const Sample &s : m_samples) {
        meanT += double(s.ms - m_samples.first().ms) / n;
        meanV += s.value / n;
    }
    double stt = 0.0, stv = 0.0;
    for (const Sample &s : m_samples) {
        const double t = double(s.ms - m_samples.first().ms) - meanT;
        stt += t * t;
        stv += t * (s.value - meanV);
    }
    const double slope = stt > 0.0 ? stv / stt : 0.0;
    double squares = 0.0;
    for (const Sample &s : m_samples) {
        const double t = double(s.ms - m_samples.first().ms) - meanT;
        const double residual = s.value - meanV - slope * t;
        squares += residual * residual;
    }
    m_trend = std::abs(slope) * double(m_windowMs);
    m_scatter = std::sqrt(squares / (n - 2.0));
}
