#include "CalcheckMath.h"

#include <QRegularExpression>
#include <cmath>

bool CalcheckRun::passed() const
{
    if (!complete || readings.isEmpty())
        return false;
    for (const CalcheckReading &reading : readings) {
        if (!reading.pass)
            return false;
    }
    return true;
}

namespace CalcheckMath {

namespace {
constexpr double LowestPercent = -10.0;
constexpr double HighestPercent = 110.0;
constexpr double OutputSpan = 16.0; // mA from 4 to 20
} // namespace

QList<CalcheckPoint> defaultPoints()
{
    return *parsePoints(QStringLiteral("0 25 50 75 100 75 50 25 0"));
}

std::optional<QList<CalcheckPoint>> parsePoints(const QString &text)
{
    static const QRegularExpression separators(QStringLiteral("[\\s,;]+"));
    QList<CalcheckPoint> points;
    for (const QString &part : text.split(separators, Qt::SkipEmptyParts)) {
        bool ok = false;
        const double percent = part.toDouble(&ok);
        if (!ok || percent < LowestPercent || percent > HighestPercent)
            return std::nullopt;
        const bool rising = points.isEmpty() || percent > points.last().percent ||
                            (percent == points.last().percent && points.last().rising);
        points.append({percent, rising});
    }
    if (points.isEmpty())
        return std::nullopt;
    return points;
}

QString formatPoints(const QList<CalcheckPoint> &points)
{
    QStringList parts;
    for (const CalcheckPoint &point : points)
        parts << QString::number(point.percent);
    return parts.join(QLatin1Char(' '));
}

double pressureAt(double percent, double lowerRange, double upperRange)
{
    return lowerRange + percent / 100.0 * (upperRange - lowerRange);
}

double currentAt(double pressure, double lowerRange, double upperRange)
{
    return 4.0 + OutputSpan * (pressure - lowerRange) / (upperRange - lowerRange);
}

double pvError(double primaryValue, double reference, double lowerRange, double upperRange)
{
    return (primaryValue - reference) / std::abs(upperRange - lowerRange) * 100.0;
}

double currentError(double current, double reference, double lowerRange, double upperRange)
{
    return (current - currentAt(reference, lowerRange, upperRange)) / OutputSpan * 100.0;
}

bool withinTolerance(double error, double tolerance)
{
    // A hair of float rounding must not fail a reading exactly at the limit.
    return std::abs(error) <= tolerance + 1e-9;
}

void evaluate(CalcheckReading &reading, double lowerRange, double upperRange, double tolerance,
              bool multidrop)
{
    reading.pvError = pvError(reading.primaryValue, reading.reference, lowerRange, upperRange);
    reading.currentError =
        multidrop ? std::nan("")
                  : currentError(reading.current(), reading.reference, lowerRange, upperRange);
    reading.pass = withinTolerance(reading.pvError, tolerance) &&
                   (multidrop || withinTolerance(reading.currentError, tolerance));
}

std::optional<double> drift(const CalcheckRun &previousAsLeft, const CalcheckRun &asFound)
{
    std::optional<double> largest;
    for (const CalcheckReading &now : asFound.readings) {
        for (const CalcheckReading &before : previousAsLeft.readings) {
            if (before.point == now.point) {
                largest = std::max(largest.value_or(0.0), std::abs(now.pvError - before.pvError));
                break;
            }
        }
    }
    return largest;
}

} // namespace CalcheckMath
