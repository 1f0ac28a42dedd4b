#include "hart/HartUnits.h"

#include "hart/HartProtocol.h"

bool HartUnits::isPressureUnit(quint8 code)
{
    return mbarPerUnit(code) > 0.0;
}

double HartUnits::pressureToMbar(double value, quint8 code)
{
    const double factor = mbarPerUnit(code);
    return factor > 0.0 ? value * factor : value;
}

double HartUnits::pressureFromMbar(double mbar, quint8 code)
{
    const double factor = mbarPerUnit(code);
    return factor > 0.0 ? mbar / factor : mbar;
}

bool HartUnits::isTemperatureUnit(quint8 code)
{
    return code == hart::unit::DegC || code == hart::unit::DegF || code == hart::unit::Kelvin;
}

double HartUnits::temperatureToCelsius(double value, quint8 code)
{
    switch (code) {
    case hart::unit::DegF:
        return (value - 32.0) / 1.8;
    case hart::unit::Kelvin:
        return value - 273.15;
    default:
        return value;
    }
}

double HartUnits::temperatureFromCelsius(double celsius, quint8 code)
{
    switch (code) {
    case hart::unit::DegF:
        return celsius * 1.8 + 32.0;
    case hart::unit::Kelvin:
        return celsius + 273.15;
    default:
        return celsius;
    }
}

double HartUnits::mbarPerUnit(quint8 code)
{
    using namespace hart::unit;
    switch (code) {
    case InH2O:
        return 2.49089;
    case InHg:
        return 33.8639;
    case FtH2O:
        return 29.8907;
    case MmH2O:
        return 0.0980665;
    case MmHg:
    case Torr:
        return 1.33322;
    case Psi:
        return 68.9476;
    case Bar:
        return 1000.0;
    case Mbar:
        return 1.0;
    case GramPerCm2:
        return 0.980665;
    case KiloGramPerCm2:
        return 980.665;
    case Pascal:
        return 0.01;
    case KiloPascal:
        return 10.0;
    case Atmosphere:
        return 1013.25;
    case MegaPascal:
        return 10000.0;
    default:
        return 0.0;
    }
}
