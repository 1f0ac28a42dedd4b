#pragma once

#include <QString>

// A time the device counts in seconds, shown as hh:mm:ss (3725 s is
// 01:02:05). Hours are not bounded: a device's working time runs for years,
// and then takes as many digits as it needs.
class DurationText
{
public:
    static QString format(qint64 seconds);
    // The item's text as seconds; anything that is no number shows as 0.
    static QString fromItemText(const QString &seconds);
};
