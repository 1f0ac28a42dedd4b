#include "RerangePreview.h"

#include <cmath>

std::optional<RerangeOutput> RerangePreview::output(double pressure, double lower, double upper,
                                                    bool squareRoot)
{
    const double span = upper - lower;
    if (span == 0.0 || !std::isfinite(span) || !std::isfinite(pressure))
        return std::nullopt;
    RerangeOutput out;
    out.percent = (pressure - lower) / span * 100.0;
    double share = out.percent / 100.0;
    if (squareRoot)
        share = share <= 0.0 ? 0.0 : std::sqrt(share);
    out.milliamps = 4.0 + 16.0 * share;
    out.outsideLimits = out.milliamps < LowerLimit || out.milliamps > UpperLimit;
    return out;
}
