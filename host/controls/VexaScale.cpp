#include "VexaScale.h"

#include <QLocale>
#include <algorithm>
#include <cmath>

namespace {

bool usable(double step, double span, int maxCount)
{
    return std::isfinite(step) && step > 0.0 && span / step <= maxCount;
}

// The multiples of step inside [low, high], with a little tolerance for the
// rounding of the ends.
QList<double> multiples(double low, double high, double step)
{
    QList<double> values;
    const double tolerance = step * 1e-9;
    const double first = std::ceil((low - tolerance) / step);
    const double last = std::floor((high + tolerance) / step);
    for (double k = first; k <= last; ++k) {
        const double v = k * step;
        // -0 reads as "-0" in a label.
        values.append(std::fabs(v) < tolerance ? 0.0 : v);
    }
    return values;
}

// low, low + step, ... up to high: steps given as a share of the span
// start at the scale's start and end at its end.
QList<double> from(double low, double high, double step)
{
    QList<double> values;
    const double count = std::floor((high - low) / step + 1e-9);
    for (double k = 0; k <= count; ++k)
        values.append(low + k * step);
    return values;
}

} // namespace

double VexaScale::roundStep(double step)
{
    if (!std::isfinite(step) || step <= 0.0)
        return 1.0;
    const double power = std::pow(10.0, std::floor(std::log10(step)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= step * (1.0 - 1e-9))
            return factor * power;
    }
    return 10.0 * power;
}

VexaScale::Ticks VexaScale::ticks(double start, double end, double largeStep, double smallStep)
{
    Ticks t;
    const double low = std::min(start, end);
    const double high = std::max(start, end);
    const double span = high - low;
    if (!std::isfinite(span) || span <= 0.0)
        return t;
    double major = std::fabs(largeStep);
    if (!usable(major, span, MaxMajorTicks))
        major = roundStep(span / 10.0);
    double minor = std::fabs(smallStep);
    if (!usable(minor, major, MaxMinorPerMajor) || minor >= major)
        minor = 0.0;
    t.majorStep = major;
    t.minorStep = minor;
    // A step of our own choosing falls on round values.
    const bool given = major == std::fabs(largeStep);
    t.major = given ? from(low, high, major) : multiples(low, high, major);
    if (minor > 0.0) {
        const double anchor = given ? low : 0.0;
        for (double v : given ? from(low, high, minor) : multiples(low, high, minor)) {
            const double k = std::round((v - anchor) / major);
            if (std::fabs(v - (anchor + k * major)) > minor * 1e-6)
                t.minor.append(v);
        }
    }
    return t;
}

double VexaScale::fraction(double value, double start, double end)
{
    const double span = end - start;
    if (!std::isfinite(value) || !std::isfinite(span) || span == 0.0)
        return std::nan("");
    return (value - start) / span;
}

int VexaScale::labelDecimals(double step)
{
    if (!std::isfinite(step) || step <= 0.0)
        return 0;
    for (int decimals = 0; decimals < 10; ++decimals) {
        const double scaled = step * std::pow(10.0, decimals);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, scaled))
            return decimals;
    }
    return 10;
}

QString VexaScale::label(double value, int decimals)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale.toString(value, 'f', std::clamp(decimals, 0, 10));
}

QString VexaScale::valueText(double value, int maxDigits, int decimals)
{
    if (!std::isfinite(value))
        return QString();
    QLocale locale;
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    const QString fixed = locale.toString(value, 'f', std::clamp(decimals, 0, 15));
    if (maxDigits > 0 && fixed.size() > maxDigits) {
        // Whole digits that do not fit cannot be cut; the fraction can.
        const qsizetype whole = locale.toString(std::trunc(value), 'f', 0).size();
        if (whole + 2 > maxDigits)
            return locale.toString(value, 'e', 3);
        return locale.toString(value, 'f', int(maxDigits - whole - 1));
    }
    return fixed;
}

QList<VexaScale::Band> VexaScale::bands(double start, double end, const Limits &limits)
{
    QList<Band> out;
    const double low = std::min(start, end);
    const double high = std::max(start, end);
    const auto add = [&](double from, double to, bool alarm) {
        from = std::max(from, low);
        to = std::min(to, high);
        if (std::isfinite(from) && std::isfinite(to) && to > from)
            out.append({from, to, alarm});
    };
    if (limits.lowAlarm)
        add(low, *limits.lowAlarm, true);
    if (limits.lowWarning)
        add(limits.lowAlarm.value_or(low), *limits.lowWarning, false);
    if (limits.highWarning)
        add(*limits.highWarning, limits.highAlarm.value_or(high), false);
    if (limits.highAlarm)
        add(*limits.highAlarm, high, true);
    return out;
}
