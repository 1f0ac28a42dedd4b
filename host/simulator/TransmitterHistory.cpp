#include "simulator/TransmitterHistory.h"

#include <algorithm>

void TransmitterHistory::advance(qint64 ms)
{
    if (ms <= 0)
        return;
    m_totalMs += ms;
    m_partialMs += ms;
}

void TransmitterHistory::powerOn()
{
    if (m_powerOnCount < 0xFFFF)
        ++m_powerOnCount;
    m_lastPowerOnSeconds = totalSeconds();
}

void TransmitterHistory::observe(Event event, bool violated)
{
    Counter &counter = m_counters[int(event)];
    if (violated && !counter.violated) {
        if (counter.count < 0xFFFF)
            ++counter.count;
        counter.lastSeconds = totalSeconds();
    }
    counter.violated = violated;
}

bool TransmitterHistory::resetCounter(quint8 selector)
{
    if (selector == ResetPartialWorkingTime) {
        m_partialMs = 0;
        return true;
    }
    if (selector < ResetOverRange || selector > ResetOverTemperature)
        return false;
    Counter &counter = m_counters[selector - ResetOverRange];
    counter.count = 0;
    counter.lastSeconds = 0;
    // A violation still going on is not counted again until it ends and recurs.
    return true;
}

void TransmitterHistory::observePeaks(double pressureMbar, double temperatureC)
{
    m_minPressure = std::min(m_minPressure, pressureMbar);
    m_maxPressure = std::max(m_maxPressure, pressureMbar);
    m_minTemperature = std::min(m_minTemperature, temperatureC);
    m_maxTemperature = std::max(m_maxTemperature, temperatureC);
}

bool TransmitterHistory::resetPeaks(quint8 selector, double pressureMbar, double temperatureC)
{
    if (selector < PeakTemperature || selector > PeakBoth)
        return false;
    if (selector & PeakTemperature)
        m_minTemperature = m_maxTemperature = temperatureC;
    if (selector & PeakPressure)
        m_minPressure = m_maxPressure = pressureMbar;
    return true;
}
