#pragma once

#include <QList>
#include <QString>

// Ticks of the trend's time axis at round times (whole seconds, minutes,
// hours in the local time), at least a given number of pixels apart.
struct TrendTimeAxis
{
    qint64 stepMs = 0;
    QList<qint64> ticks;

    static TrendTimeAxis make(qint64 fromMs, qint64 toMs, int widthPx, int minSpacingPx);
    // The label of a tick: seconds only while the step is below a minute,
    // the date in front at midnight.
    static QString label(qint64 timeMs, qint64 stepMs);
};
