#pragma once

#include <QRect>
#include <algorithm>

// Where a curve's values go up and down the plot. The scale's ends lie a
// few pixels inside the plot's frame, and a value beyond them stays on the
// end it passed, so that it is never drawn outside the plot and lost.
struct TrendYScale
{
    static constexpr int Inset = 3;

    double minimum = 0.0;
    double maximum = 1.0;
    double top = 0.0;    // the row of the maximum
    double bottom = 1.0; // the row of the minimum

    static TrendYScale inside(const QRect &plot, double minimum, double maximum);

    // A scale of no span or not finite places nothing.
    bool valid() const;
    // Inline: called for every column of every curve.
    double y(double value) const
    {
        const double f = std::clamp((value - minimum) / (maximum - minimum), 0.0, 1.0);
        return bottom - f * (bottom - top);
    }
    // -1 below the minimum, 1 above the maximum, 0 on the scale.
    int side(double value) const;
};
