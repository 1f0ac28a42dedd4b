#pragma once

#include <QtGlobal>

// What a transmitter answers to a range it is asked to take, as HART
// response codes: each range value within the limits, and a span the sensor
// can resolve.
namespace RangeRules {

struct Limits
{
    double lowerMbar = 0.0;
    double upperMbar = 0.0;
    double minSpanMbar = 0.0;
};

quint8 checkRange(const Limits &limits, double lowerMbar, double upperMbar);
// An applied pressure taken as a range value.
quint8 checkApplied(const Limits &limits, double pressureMbar);

} // namespace RangeRules
