#include "VexaGaugeGeometry.h"

#include <algorithm>
#include <cmath>
#include <numbers>

VexaGaugeGeometry VexaGaugeGeometry::layout(const QRectF &area)
{
    VexaGaugeGeometry g;
    // The whole dial fits; the value sits in its open lower part, below the
    // labels of the scale's ends.
    const double margin = 4.0;
    g.radius = std::max(0.0, std::min(area.width(), area.height()) / 2.0 - margin);
    g.centre = area.center();
    g.valueBox = QRectF(g.centre.x() - g.radius * 0.62, g.centre.y() + g.radius * 0.56,
                        g.radius * 1.24, g.radius * 0.30);
    return g;
}

double VexaGaugeGeometry::angle(double fraction)
{
    if (!std::isfinite(fraction))
        fraction = 0.0;
    fraction = std::clamp(fraction, -Overshoot, 1.0 + Overshoot);
    return StartAngle - Sweep * fraction;
}

QPointF VexaGaugeGeometry::pointAt(const QPointF &centre, double radius, double angleDegrees)
{
    const double a = angleDegrees * std::numbers::pi / 180.0;
    return centre + QPointF(radius * std::cos(a), -radius * std::sin(a));
}

int VexaGaugeGeometry::labelEvery(int majorCount, double labelWidth, double radius)
{
    if (majorCount < 2 || radius <= 0.0)
        return 1;
    const double labelRadius = radius * 0.68;
    const double gap = labelRadius * Sweep * std::numbers::pi / 180.0 / (majorCount - 1);
    int every = 1;
    while (every < majorCount && gap * every < labelWidth * 1.15)
        ++every;
    return every;
}
