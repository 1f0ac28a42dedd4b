#pragma once

#include "DatasetComparison.h"

// Pressure values travel with their unit: the range record carries the unit
// and both range values, and a number means nothing without the unit it is
// in. These make a set of values to be written say the pressures meant.
class RangeUnits
{
public:
    using Values = DatasetComparison::Values;

    // Where a value goes in the same record as a new unit, the values of
    // that record left out keep their pressure: the device's numbers,
    // converted into the new unit, are added.
    static Values keepPressures(Values target, const Values &device);

    // Values taken from a source (a dataset, a snapshot) are in the source's
    // units; where the unit is not written with them, the device keeps its
    // own, and they are converted into it.
    static Values inWrittenUnits(Values chosen, const Values &source, const Values &device);

    // Two numbers in two pressure units that are the same pressure, as far
    // as the 32-bit floats the device keeps them in can tell.
    static bool samePressure(const QString &value, const QString &unit, const QString &otherValue,
                             const QString &otherUnit);

private:
    // The pressure unit codes behind two unit values, when they differ.
    static bool unitsDiffer(const QString &fromValue, const QString &toValue, quint8 &from,
                            quint8 &to);
    static QString converted(const QString &value, quint8 from, quint8 to);
};
