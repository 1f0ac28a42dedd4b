#pragma once

#include <optional>

// What the output would be for a pressure under a range: the percent of
// range and the loop current (4 to 20 mA over the range, square-rooted for a
// square-root transfer function), not yet limited by the device, so that a
// value the device would saturate shows as such.
struct RerangeOutput
{
    double percent = 0;
    double milliamps = 0;
    // Outside what the output can follow (3.8 .. 20.5 mA).
    bool outsideLimits = false;
};

class RerangePreview
{
public:
    static constexpr double LowerLimit = 3.8;
    static constexpr double UpperLimit = 20.5;

    // Nothing for a range without span.
    static std::optional<RerangeOutput> output(double pressure, double lower, double upper,
                                               bool squareRoot = false);
};
