#include "simulator/RangeRules.h"

#include "hart/HartProtocol.h"

#include <cmath>

namespace RangeRules {

using namespace hart::response;

quint8 checkRange(const Limits &limits, double lowerMbar, double upperMbar)
{
    const double low = limits.lowerMbar;
    const double high = limits.upperMbar;
    const bool lowerOut = lowerMbar > high || lowerMbar < low;
    const bool upperOut = upperMbar > high || upperMbar < low;
    if (lowerOut && upperOut)
        return BothRangeValuesOutside;
    if (lowerMbar > high)
        return LowerRangeTooHigh;
    if (lowerMbar < low)
        return LowerRangeTooLow;
    if (upperMbar > high)
        return UpperRangeTooHigh;
    if (upperMbar < low)
        return UpperRangeTooLow;
    // A span far below the minimum is no range at all: the output would divide by it.
    const double span = std::abs(upperMbar - lowerMbar);
    if (span < limits.minSpanMbar / 1000.0)
        return InvalidSpan;
    if (span < limits.minSpanMbar)
        return SpanTooSmall;
    return Success;
}

quint8 checkApplied(const Limits &limits, double pressureMbar)
{
    if (pressureMbar > limits.upperMbar)
        return LowerRangeTooHigh; // applied pressure too high
    if (pressureMbar < limits.lowerMbar)
        return LowerRangeTooLow; // applied pressure too low
    return Success;
}

} // namespace RangeRules
