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
    const double low = std::min(minimum, maximum);
    const double high = std::max(minimum, maximum);
    return value < low ? -1 : value > high ? 1 : 0;
}
