#pragma once

#include <QByteArray>
#include <QList>
#include <QPointF>

// The user characteristic as the device holds it: up to 21 points (input
// and output in percent), stored as big-endian IEEE floats in two octet
// items and a point count. The points' inputs rise strictly.
struct VexaUserCurveTable
{
    static constexpr int MaxPoints = 21;

    QList<QPointF> points;

    // The first count points of the two octet strings (missing bytes read 0).
    static VexaUserCurveTable decode(const QByteArray &x, const QByteArray &y, int count);
    // The x and y octets, padded with zeros to the length given.
    QByteArray encodeX(int length) const;
    QByteArray encodeY(int length) const;

    bool isValid() const;
    // Whether a point may take this input (between its neighbours).
    bool fits(int index, double x) const;
    // A point halfway between index and the next; false when the table is
    // full or index is the last point.
    bool insertAfter(int index, int maxPoints);
    // False when the table would fall below minPoints or the point is fixed.
    bool remove(int index, int minPoints, bool fixedStart, bool fixedEnd);
    // The straight line from (0, 0) to the given end.
    static VexaUserCurveTable linear(double endX, double endY);
};
