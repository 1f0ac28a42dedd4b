#pragma once

#include <QtGlobal>
#include <optional>

// The one table of HART engineering units: for each code its quantity and
// how a value goes to the quantity's base unit and back (pressure mbar,
// volume flow m³/s, temperature °C, length mm, mass flow kg/s, density
// kg/m³). The constants are the configuration program's, applied as written
// ("b × (1 ÷ c)" takes the reciprocal first), so that the simulator, the
// unit conversion and the displays agree on every number.
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
    };

    // Nothing for a code the table does not know.
    static std::optional<Quantity> quantity(int code);
    static std::optional<double> toBase(int code, double value);
    static std::optional<double> fromBase(int code, double base);

    static bool isPressureUnit(quint8 code);
    // A code that is no pressure unit leaves the value as it is.
    static double pressureToMbar(double value, quint8 code);
    static double pressureFromMbar(double mbar, quint8 code);

    static bool isTemperatureUnit(quint8 code);
    static double temperatureToCelsius(double value, quint8 code);
    static double temperatureFromCelsius(double celsius, quint8 code);
};
