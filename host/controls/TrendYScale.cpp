#include "TrendYScale.h"

#include <algorithm>
#include <cmath>

TrendYScale TrendYScale::inside(const QRect &plot, double minimum, double maximum)
{
    return {minimum, maximum, double(plot.top() + Inset), double(plot.bottom() - Inset)};
}

bool TrendYScale::valid() const
{
    const double span = maximum - minimum;
    return std::isfinite(span) && span != 0.0 && bottom > top;
}

int TrendYScale::side(double value) const
{
    // A value on the end as a float (3.6 mA stored as 3.5999999) is on the scale.
    const double slack = std::fabs(maximum - minimum) * 1e-6;
    const double low = std::min(minimum, maximum) - slack;
    const double high = std::max(minimum, maximum) + slack;
    return value < low ? -1 : value > high ? 1 : 0;
}
