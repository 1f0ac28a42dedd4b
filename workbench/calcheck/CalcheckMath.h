#pragma once

#include "CalcheckPoint.h"

#include <QList>
#include <QString>
#include <optional>

// The arithmetic of a calibration check, free of the device: test points,
// nominal values and errors in percent of span.
namespace CalcheckMath {

constexpr double DefaultTolerance = 0.25; // % of span

// 0, 25, 50, 75, 100 % rising, then back down to 0 falling.
QList<CalcheckPoint> defaultPoints();
// Percentages separated by blanks, commas or semicolons; a point is rising
// unless it lies below the one before (so "0 50 100 50 0" turns at 100).
// Nothing for a text with a value that is no number or lies outside -10..110.
std::optional<QList<CalcheckPoint>> parsePoints(const QString &text);
QString formatPoints(const QList<CalcheckPoint> &points);

double pressureAt(double percent, double lowerRange, double upperRange);
double currentAt(double pressure, double lowerRange, double upperRange);
// (value - reference) in % of the span; the span may lie below zero.
double pvError(double primaryValue, double reference, double lowerRange, double upperRange);
// The loop current against the ideal one for the reference, in % of 16 mA.
double currentError(double current, double reference, double lowerRange, double upperRange);
bool withinTolerance(double error, double tolerance);

// Fills in the errors and the verdict of a reading from its raw values; on a
// multidrop device the fixed current has no error and the pressure decides.
void evaluate(CalcheckReading &reading, double lowerRange, double upperRange, double tolerance,
              bool multidrop = false);

// The largest change of the pressure error at the points both runs share:
// how far the device drifted since the last calibration left it.
std::optional<double> drift(const CalcheckRun &previousAsLeft, const CalcheckRun &asFound);

} // namespace CalcheckMath
