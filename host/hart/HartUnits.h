#pragma once

#include <QList>
#include <QString>
#include <QtGlobal>
#include <optional>

// The one table of HART engineering units: for each code its symbol, its
// quantity and how a value goes to the quantity's base unit and back
// (pressure mbar, volume flow m³/s, temperature °C, length mm, mass flow
// kg/s, density kg/m³). The constants are the configuration program's,
// applied as written ("b × (1 ÷ c)" takes the reciprocal first), so that the
// simulator, the unit conversion and the displays agree on every number.
// Units it has no constants for (velocity, volume, mass, electrical, time,
// ratio, some lengths) are named and grouped, never converted.
class HartUnits
{
public:
    enum class Quantity
    {
        Pressure,
        VolumeFlow,
        Temperature,
        Length,
        MassFlow,
        Density,
        Velocity,
        Volume,
        Mass,
        Electrical,
        Time,
        Ratio,
    };

    // Nothing for a code the table does not convert.
    static std::optional<Quantity> quantity(int code);
    static std::optional<double> toBase(int code, double value);
    static std::optional<double> fromBase(int code, double base);
    // "bar", "°C", "m³/h"; empty for a code the table does not name.
    static QString symbol(int code);
    // The units of the code's quantity in code order, the code among them;
    // only the code itself when the table does not name it. A variable's
    // unit is changed within its quantity.
    static QList<quint8> sameQuantity(quint8 code);

    static bool isPressureUnit(quint8 code);
    // A code that is no pressure unit leaves the value as it is.
    static double pressureToMbar(double value, quint8 code);
    static double pressureFromMbar(double mbar, quint8 code);

    static bool isTemperatureUnit(quint8 code);
    static double temperatureToCelsius(double value, quint8 code);
    static double temperatureFromCelsius(double celsius, quint8 code);
};
