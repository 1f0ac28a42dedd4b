#pragma once

#include <QPointF>
#include <QRectF>

// Where the parts of the round gauge go in a rectangle: a dial of 270
// degrees opening downwards, the value text below its centre.
struct VexaGaugeGeometry
{
    static constexpr double StartAngle = 225.0; // degrees, counter-clockwise from 3 o'clock
    static constexpr double Sweep = 270.0;      // clockwise
    // How far the needle may leave the scale to show a value beyond it.
    static constexpr double Overshoot = 0.03;

    QPointF centre;
    double radius = 0.0;
    QRectF valueBox;

    static VexaGaugeGeometry layout(const QRectF &area);
    // The needle's angle for a place on the scale (0 start, 1 end), held at
    // the overshoot beyond either end.
    static double angle(double fraction);
    static QPointF pointAt(const QPointF &centre, double radius, double angleDegrees);
    // Every how many major ticks a label fits, for labels this wide (pixels)
    // on a dial of this radius with this many major ticks.
    static int labelEvery(int majorCount, double labelWidth, double radius);
};
