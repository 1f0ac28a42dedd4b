#pragma once

#include <QList>
#include <QtGlobal>

// Decides when a reading has settled. Over the last window (two seconds) a
// straight line is fitted through the samples: the reading is stable when
// that line moves by less than the trend limit across the window and the
// samples scatter about it by less than the scatter limit (one standard
// deviation). A line rather than the largest minus the smallest sample, so
// that a sensor's noise does not hide a steady pressure, nor a slow creep
// pass for one. Times in milliseconds of any monotonic clock.
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

    StabilityWatch(double trendLimit, double scatterLimit, qint64 windowMs = DefaultWindowMs,
                   qint64 timeoutMs = DefaultTimeoutMs);

    void restart(qint64 nowMs);
    State add(qint64 nowMs, double value);
    State state() const { return m_state; }
    // 0..100: how much of the window is covered, then how near the reading
    // is to both limits.
    int progress() const { return m_progress; }
    // The change of the fitted line across the window and the scatter about
    // it, once the window is covered.
    double trend() const { return m_trend; }
    double scatter() const { return m_scatter; }

private:
    struct Sample
    {
        qint64 ms;
        double value;
    };

    void fit();

    double m_trendLimit;
    double m_scatterLimit;
    qint64 m_windowMs;
    qint64 m_timeoutMs;
    qint64 m_startMs = 0;
    double m_trend = 0.0;
    double m_scatter = 0.0;
    int m_progress = 0;
    QList<Sample> m_samples;
    State m_state = State::Waiting;
};
