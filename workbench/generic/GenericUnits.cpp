#include "GenericUnits.h"

#include "mainwin/Toolkit_LoadResource.h"

namespace GenericUnits {

namespace {

enum class Quantity
{
    Pressure,
    Temperature,
    VolumeFlow,
    MassFlow,
    Velocity,
    Length,
    Volume,
    Mass,
    Electrical,
    Time,
    Ratio,
    // Codes that say there is no unit: never offered as a choice.
    Special,
};

struct Unit
{
    quint8 code;
    const char *symbol; // UTF-8; empty: a text of the string table
    Quantity quantity;
    qint16 textId = 0;
};

// In the order they are offered.
const Unit Units[] = {
    {7, "bar", Quantity::Pressure},
    {8, "mbar", Quantity::Pressure},
    {6, "psi", Quantity::Pressure},
    {11, "Pa", Quantity::Pressure},
    {12, "kPa", Quantity::Pressure},
    {237, "MPa", Quantity::Pressure},
    {9, "g/cm²", Quantity::Pressure},
    {10, "kg/cm²", Quantity::Pressure},
    {1, "inH2O (68 °F)", Quantity::Pressure},
    {238, "inH2O (4 °C)", Quantity::Pressure},
    {2, "inHg (0 °C)", Quantity::Pressure},
    {3, "ftH2O (68 °F)", Quantity::Pressure},
    {4, "mmH2O (68 °F)", Quantity::Pressure},
    {239, "mmH2O (4 °C)", Quantity::Pressure},
    {5, "mmHg (0 °C)", Quantity::Pressure},
    {13, "torr", Quantity::Pressure},
    {14, "atm", Quantity::Pressure},
    {32, "°C", Quantity::Temperature},
    {33, "°F", Quantity::Temperature},
    {34, "°R", Quantity::Temperature},
    {35, "K", Quantity::Temperature},
    {19, "m³/h", Quantity::VolumeFlow},
    {131, "m³/min", Quantity::VolumeFlow},
    {28, "m³/s", Quantity::VolumeFlow},
    {29, "m³/d", Quantity::VolumeFlow},
    {17, "l/min", Quantity::VolumeFlow},
    {24, "l/s", Quantity::VolumeFlow},
    {138, "l/h", Quantity::VolumeFlow},
    {15, "ft³/min", Quantity::VolumeFlow},
    {26, "ft³/s", Quantity::VolumeFlow},
    {130, "ft³/h", Quantity::VolumeFlow},
    {16, "US gal/min", Quantity::VolumeFlow},
    {22, "US gal/s", Quantity::VolumeFlow},
    {136, "US gal/h", Quantity::VolumeFlow},
    {18, "Imp gal/min", Quantity::VolumeFlow},
    {30, "Imp gal/h", Quantity::VolumeFlow},
    {132, "bbl/s", Quantity::VolumeFlow},
    {133, "bbl/min", Quantity::VolumeFlow},
    {134, "bbl/h", Quantity::VolumeFlow},
    {135, "bbl/d", Quantity::VolumeFlow},
    {70, "g/s", Quantity::MassFlow},
    {71, "g/min", Quantity::MassFlow},
    {72, "g/h", Quantity::MassFlow},
    {73, "kg/s", Quantity::MassFlow},
    {74, "kg/min", Quantity::MassFlow},
    {75, "kg/h", Quantity::MassFlow},
    {76, "kg/d", Quantity::MassFlow},
    {77, "t/min", Quantity::MassFlow},
    {78, "t/h", Quantity::MassFlow},
    {79, "t/d", Quantity::MassFlow},
    {80, "lb/s", Quantity::MassFlow},
    {81, "lb/min", Quantity::MassFlow},
    {82, "lb/h", Quantity::MassFlow},
    {83, "lb/d", Quantity::MassFlow},
    {21, "m/s", Quantity::Velocity},
    {120, "m/h", Quantity::Velocity},
    {20, "ft/s", Quantity::Velocity},
    {114, "in/s", Quantity::Velocity},
    {115, "in/min", Quantity::Velocity},
    {116, "ft/min", Quantity::Velocity},
    {45, "m", Quantity::Length},
    {48, "cm", Quantity::Length},
    {49, "mm", Quantity::Length},
    {44, "ft", Quantity::Length},
    {47, "in", Quantity::Length},
    {43, "m³", Quantity::Volume},
    {41, "l", Quantity::Volume},
    {40, "US gal", Quantity::Volume},
    {42, "Imp gal", Quantity::Volume},
    {46, "bbl", Quantity::Volume},
    {112, "ft³", Quantity::Volume},
    {113, "in³", Quantity::Volume},
    {61, "kg", Quantity::Mass},
    {60, "g", Quantity::Mass},
    {62, "t", Quantity::Mass},
    {63, "lb", Quantity::Mass},
    {39, "mA", Quantity::Electrical},
    {36, "mV", Quantity::Electrical},
    {58, "V", Quantity::Electrical},
    {37, "Ω", Quantity::Electrical},
    {38, "Hz", Quantity::Electrical},
    {51, "s", Quantity::Time},
    {50, "min", Quantity::Time},
    {52, "h", Quantity::Time},
    {53, "d", Quantity::Time},
    {57, "%", Quantity::Ratio},
    {59, "pH", Quantity::Ratio},
    {139, "ppm", Quantity::Ratio},
    {250, "", Quantity::Special, 7790},
    {251, "", Quantity::Special, 7791},
    {252, "", Quantity::Special, 7792},
    {253, "", Quantity::Special, 7793},
};

constexpr qint16 UnknownCode = 7794;

const Unit *find(quint8 code)
{
    for (const Unit &unit : Units) {
        if (unit.code == code)
            return &unit;
    }
    return nullptr;
}

} // namespace

QString symbol(quint8 code)
{
    const Unit *unit = find(code);
    if (!unit)
        return FormatResText(GetResText(UnknownCode), {QString::number(code)});
    return unit->textId != 0 ? GetResText(unit->textId) : QString::fromUtf8(unit->symbol);
}

bool isKnown(quint8 code)
{
    return find(code) != nullptr;
}

QList<quint8> sameQuantity(quint8 code)
{
    const Unit *unit = find(code);
    if (!unit || unit->quantity == Quantity::Special)
        return {code};
    QList<quint8> codes;
    for (const Unit &other : Units) {
        if (other.quantity == unit->quantity)
            codes.append(other.code);
    }
    return codes;
}

} // namespace GenericUnits
