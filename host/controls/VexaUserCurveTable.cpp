#include "VexaUserCurveTable.h"

#include <QtEndian>
#include <cmath>
#include <cstring>

namespace {
float floatAt(const QByteArray &bytes, int i)
{
    if ((i + 1) * 4 > bytes.size())
        return 0.0f;
    const quint32 raw = qFromBigEndian<quint32>(bytes.constData() + i * 4);
    float value;
    std::memcpy(&value, &raw, sizeof value);
    return std::isfinite(value) ? value : 0.0f;
}

QByteArray encode(const QList<QPointF> &points, bool x, int length)
{
    QByteArray bytes(std::max(0, length), '\0');
    for (int i = 0; i < points.size() && (i + 1) * 4 <= bytes.size(); ++i) {
        const float value = float(x ? points[i].x() : points[i].y());
        quint32 raw;
        std::memcpy(&raw, &value, sizeof raw);
        qToBigEndian(raw, bytes.data() + i * 4);
    }
    return bytes;
}
} // namespace

VexaUserCurveTable VexaUserCurveTable::decode(const QByteArray &x, const QByteArray &y, int count)
{
    VexaUserCurveTable table;
    count = std::clamp(count, 0, MaxPoints);
    for (int i = 0; i < count; ++i)
        table.points.append(QPointF(floatAt(x, i), floatAt(y, i)));
    return table;
}

QByteArray VexaUserCurveTable::encodeX(int length) const
{
    return encode(points, true, length);
}

QByteArray VexaUserCurveTable::encodeY(int length) const
{
    return encode(points, false, length);
}

bool VexaUserCurveTable::isValid() const
{
    for (int i = 1; i < points.size(); ++i) {
        if (!(points[i].x() > points[i - 1].x()))
            return false;
    }
    return true;
}

bool VexaUserCurveTable::fits(int index, double x) const
{
    if (index < 0 || index >= points.size() || !std::isfinite(x))
        return false;
    if (index > 0 && !(x > points[index - 1].x()))
        return false;
    if (index + 1 < points.size() && !(x < points[index + 1].x()))
        return false;
    return true;
}

bool VexaUserCurveTable::insertAfter(int index, int maxPoints)
{
    if (points.size() >= std::min(maxPoints, int(MaxPoints)) || index < 0 ||
        index + 1 >= points.size())
        return false;
    const QPointF middle = (points[index] + points[index + 1]) / 2.0;
    points.insert(index + 1, middle);
    return true;
}

bool VexaUserCurveTable::remove(int index, int minPoints, bool fixedStart, bool fixedEnd)
{
    if (index < 0 || index >= points.size() || points.size() <= minPoints)
        return false;
    if ((fixedStart && index == 0) || (fixedEnd && index == points.size() - 1))
        return false;
    points.removeAt(index);
    return true;
}

VexaUserCurveTable VexaUserCurveTable::linear(double endX, double endY)
{
    VexaUserCurveTable table;
    table.points = {QPointF(0, 0), QPointF(endX, endY)};
    return table;
}
