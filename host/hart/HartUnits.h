#pragma once

#include <QtGlobal>

// Engineering units the transmitter reports. Pressures are kept in mbar inside
// the device and temperatures in degC; these convert at the protocol edge with
// the same factors the configuration program uses, so both agree on the numbers.
class HartUnits
{
public:
    static bool isPressureUnit(quint8 code);
    static double pressureToMbar(double value, quint8 code);
    static double pressureFromMbar(double mbar, quint8 code);

    static bool isTemperatureUnit(quint8 code);
    static double temperatureToCelsius(double value, quint8 code);
    static double temperatureFromCelsius(double celsius, quint8 code);

private:
    static double mbarPerUnit(quint8 code);
};
