#include "DiagnosisBits.h"

#include "VexException.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <limits>

namespace {
constexpr qint16 FirstBitText = 3000;
constexpr qint16 UnknownBitText = 3920;
} // namespace

const QList<int> &DiagnosisBits::simulationBoxes()
{
    static const QList<int> boxes{0,  1,  2,  3,  10, 11, 12, 20, 21, 22,
                                  24, 25, 26, 30, 40, 41, 42, 43, 44, 45};
    return boxes;
}

const QList<int> &DiagnosisBits::configurationBoxes()
{
    static const QList<int> boxes{0, 1, 2, 3, 10, 11, 12, 20, 21, 22, 24, 30};
    return boxes;
}

quint32 DiagnosisBits::toBits(double value)
{
    if (!(value > 0.0))
        return 0;
    if (value >= double(std::numeric_limits<quint32>::max()))
        return std::numeric_limits<quint32>::max();
    return quint32(value);
}

bool DiagnosisBits::isSet(double value, int bit)
{
    return (toBits(value) >> bit) & 1u;
}

double DiagnosisBits::withBit(double value, int bit, bool on)
{
    const quint32 mask = 1u << bit;
    const quint32 bits = toBits(value);
    return double(on ? bits | mask : bits & ~mask);
}

bool DiagnosisBits::selectable(double mask, int box)
{
    return isSet(mask, category(box) * 8 + bit(box));
}

QString DiagnosisBits::text(int category, int bit)
{
    try {
        return GetResText(qint16(FirstBitText + 10 * category + bit));
    } catch (const VexException &) {
        return FormatResText(GetResText(UnknownBitText), {QString::number(bit)});
    }
}
