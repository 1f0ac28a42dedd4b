#pragma once

#include <QList>
#include <QString>
#include <cmath>

// One test point of a check: where in the range, and from which side the
// pressure comes, since rising and falling readings differ by the hysteresis.
struct CalcheckPoint
{
    double percent = 0.0;
    bool rising = true;

    bool operator==(const CalcheckPoint &) const = default;
};

// What was read at one point, in the run's unit; errors in % of span.
struct CalcheckReading
{
    CalcheckPoint point;
    double reference = 0.0;
    double primaryValue = 0.0;
    double deviceCurrent = 0.0;            // what the device says it drives (command 3)
    double measuredCurrent = std::nan(""); // an ammeter in the loop, when one was read
    double pvError = 0.0;
    double currentError = 0.0; // none where the loop current is fixed (multidrop)
    bool pass = false;

    bool hasMeasuredCurrent() const { return !std::isnan(measuredCurrent); }
    bool currentApplies() const { return !std::isnan(currentError); }
    double current() const { return hasMeasuredCurrent() ? measuredCurrent : deviceCurrent; }
};

// One full pass over the test points, in the unit and range the device had.
struct CalcheckRun
{
    enum class Kind
    {
        AsFound,
        AsLeft
    };

    Kind kind = Kind::AsFound;
    int unitCode = 0;
    QString unitText;
    double lowerRange = 0.0;
    double upperRange = 0.0;
    double tolerance = 0.25;
    // A HART 5 device at an address other than 0 is in multidrop mode: its
    // loop current stays at 4 mA whatever the pressure, so only the
    // pressure error counts.
    int pollingAddress = 0;
    QList<CalcheckReading> readings;
    bool complete = false;

    bool multidrop() const { return pollingAddress > 0; }
    bool passed() const;
};
