#pragma once

#include <QString>
#include <optional>

// The limits a measured value is checked against; a limit that is not set
// is not checked.
struct DisplayLimits
{
    std::optional<double> lowAlarm;
    std::optional<double> highAlarm;
    std::optional<double> lowWarning;
    std::optional<double> highWarning;
};

// Which limit a value violates, as a short code and a text colour. Alarms are
// checked before warnings, lower before upper; a value equal to a limit
// violates it.
struct DisplayLimitState
{
    QString code;
    qint32 colour = 0;

    static DisplayLimitState evaluate(double value, const DisplayLimits &limits);
};
