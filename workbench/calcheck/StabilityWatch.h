#pragma once

#include <QList>
#include <QtGlobal>

// Decides when a reading has settled: its change over the last window (two
// seconds) stays below a limit. Times in milliseconds of any monotonic clock.
class StabilityWatch
{
public:
    enum class State
    {
        Waiting,
        Stable,
        TimedOut
    };

    static constexpr qint64 DefaultWindowMs = 2000;
    static constexpr qint64 DefaultTimeoutMs = 60000;

    StabilityWatch(double limit, qint64 windowMs = DefaultWindowMs,
                   qint64 timeoutMs = DefaultTimeoutMs);

    void restart(qint64 nowMs);
    State add(qint64 nowMs, double value);
    State state() const { return m_state; }
    // 0..100: how much of the window the present calm has lasted.
    int progress() const;
    // Largest minus smallest value in the last window.
    double spread() const { return m_spread; }

private:
    struct Sample
    {
        qint64 ms;
        double value;
    };

    double m_limit;
    qint64 m_windowMs;
    qint64 m_timeoutMs;
    qint64 m_startMs = 0;
    qint64 m_calmSinceMs = 0;
    qint64 m_lastMs = 0;
    double m_spread = 0.0;
    QList<Sample> m_samples;
    State m_state = State::Waiting;
};
