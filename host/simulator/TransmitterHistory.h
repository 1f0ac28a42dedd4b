#pragma once

#include <QtGlobal>
#include <array>

// What the transmitter records about its own life: power-ons, limit violations,
// working time and the extreme values it has measured. Times are the total
// working time, in seconds, at which something happened.
class TransmitterHistory
{
public:
    enum class Event
    {
        OverRange = 0,
        OverStaticPressure = 1,
        OverTemperature = 2
    };

    struct Counter
    {
        quint16 count = 0;
        quint32 lastSeconds = 0;
        bool violated = false;
    };

    // Reset selectors as the reset commands carry them.
    static constexpr quint8 ResetOverRange = 1;
    static constexpr quint8 ResetOverStaticPressure = 2;
    static constexpr quint8 ResetOverTemperature = 3;
    static constexpr quint8 ResetPartialWorkingTime = 4;
    static constexpr quint8 PeakTemperature = 1;
    static constexpr quint8 PeakPressure = 2;
    static constexpr quint8 PeakBoth = 3;

    void advance(qint64 ms);
    void powerOn();
    // Counts an event on its way into violation, not for as long as it lasts.
    void observe(Event event, bool violated);
    bool resetCounter(quint8 selector);

    void observePeaks(double pressureMbar, double temperatureC);
    bool resetPeaks(quint8 selector, double pressureMbar, double temperatureC);

    quint16 powerOnCount() const { return m_powerOnCount; }
    quint32 lastPowerOnSeconds() const { return m_lastPowerOnSeconds; }
    const Counter &counter(Event event) const { return m_counters[int(event)]; }
    quint32 totalSeconds() const { return quint32(m_totalMs / 1000); }
    quint32 partialSeconds() const { return quint32(m_partialMs / 1000); }
    double minPressure() const { return m_minPressure; }
    double maxPressure() const { return m_maxPressure; }
    double minTemperature() const { return m_minTemperature; }
    double maxTemperature() const { return m_maxTemperature; }

private:
    quint16 m_powerOnCount = 0;
    quint32 m_lastPowerOnSeconds = 0;
    std::array<Counter, 3> m_counters{};
    qint64 m_totalMs = 0;
    qint64 m_partialMs = 0;
    double m_minPressure = 0.0;
    double m_maxPressure = 0.0;
    double m_minTemperature = 0.0;
    double m_maxTemperature = 0.0;
};
