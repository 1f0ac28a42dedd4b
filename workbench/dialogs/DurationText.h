#pragma once

#include <QString>

// A time the device counts in seconds, shown as hours, minutes and seconds
// joined by ":" without leading zeros (3725 s is 1:2:5). Hours are not
// bounded: a device's working time runs for years.
class DurationText
{
public:
    static QString format(qint64 seconds);
    // The item's text as seconds; anything that is no number shows as 0.
    static QString fromItemText(const QString &seconds);
};
