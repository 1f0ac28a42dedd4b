#include "DisplayLimitState.h"

#include "WinColor.h"

DisplayLimitState DisplayLimitState::evaluate(double value, const DisplayLimits &limits)
{
    if (limits.lowAlarm && *limits.lowAlarm >= value)
        return {QStringLiteral("LA"), WinColor::Red};
    if (limits.highAlarm && *limits.highAlarm <= value)
        return {QStringLiteral("UA"), WinColor::Red};
    if (limits.lowWarning && *limits.lowWarning >= value)
        return {QStringLiteral("LW"), WinColor::Yellow};
    if (limits.highWarning && *limits.highWarning <= value)
        return {QStringLiteral("UW"), WinColor::Yellow};
    return {QString(), WinColor::Green};
}
