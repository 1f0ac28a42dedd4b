#include "simulator/TransferFunction.h"

#include <algorithm>
#include <array>
#include <cmath>

bool TransferFunction::isKnown(quint8 code)
{
    return code == Linear || code == SquareRoot || usesUserCurve(code);
}

bool TransferFunction::usesUserCurve(quint8 code)
{
    return code == SinglePolynomial || code == DoublePolynomial;
}

double TransferFunction::apply(const TransmitterSettings &settings, double percent)
{
    switch (settings.transferFunction) {
    case SquareRoot:
        return squareRoot(settings, percent);
    case SinglePolynomial:
        return straightLines(settings.userCurve, percent);
    case DoublePolynomial:
        return smooth(settings.userCurve, percent);
    default:
        return percent;
    }
}

bool TransferFunction::isUsable(const UserCurve &curve)
{
    if (curve.points < UserCurve::MinPoints || curve.points > UserCurve::MaxPoints)
        return false;
    const auto finite = [](float v) { return std::isfinite(v); };
    if (!std::all_of(curve.x.begin(), curve.x.end(), finite) ||
        !std::all_of(curve.y.begin(), curve.y.end(), finite))
        return false;
    const auto inPercent = [](float v) { return v >= 0.0f && v <= 100.0f; };
    for (int i = 0; i < curve.points; ++i) {
        if (!inPercent(curve.x[i]) || !inPercent(curve.y[i]))
            return false;
        if (i > 0 && curve.x[i] <= curve.x[i - 1])
            return false;
    }
    return true;
}

double TransferFunction::squareRoot(const TransmitterSettings &settings, double percent)
{
    // Below the cut-off a flow reads zero; up to the linear point the output
    // rises in a straight line that meets the root there, so that the steep
    // start of the root does not amplify the noise of a small pressure.
    if (percent <= 0.0 || percent <= settings.lowFlowCutOffPercent)
        return 0.0;
    const double linearEnd = settings.linearToSquareRootPercent;
    if (percent < linearEnd)
        return percent / linearEnd * 100.0 * std::sqrt(linearEnd / 100.0);
    return 100.0 * std::sqrt(percent / 100.0);
}

int TransferFunction::segmentOf(const UserCurve &curve, double percent)
{
    // Beyond the ends the first and the last segment go on in their direction.
    int segment = 0;
    while (segment < curve.points - 2 && percent > curve.x[segment + 1])
        ++segment;
    return segment;
}

double TransferFunction::straightLines(const UserCurve &curve, double percent)
{
    const int k = segmentOf(curve, percent);
    const double x0 = curve.x[k], x1 = curve.x[k + 1];
    const double y0 = curve.y[k], y1 = curve.y[k + 1];
    return y0 + (y1 - y0) * (percent - x0) / (x1 - x0);
}

double TransferFunction::smooth(const UserCurve &curve, double percent)
{
    const int n = curve.points;
    const int k = segmentOf(curve, percent);
    if (n == UserCurve::MinPoints || percent < curve.x[0] || percent > curve.x[n - 1])
        return straightLines(curve, percent);
    // Monotone cubic Hermite: slopes that keep a rising table rising (Fritsch-Carlson).
    std::array<double, UserCurve::MaxPoints> slope{};
    std::array<double, UserCurve::MaxPoints> tangent{};
    for (int i = 0; i < n - 1; ++i)
        slope[i] = (curve.y[i + 1] - curve.y[i]) / double(curve.x[i + 1] - curve.x[i]);
    tangent[0] = slope[0];
    tangent[n - 1] = slope[n - 2];
    for (int i = 1; i < n - 1; ++i)
        tangent[i] = slope[i - 1] * slope[i] <= 0.0 ? 0.0 : (slope[i - 1] + slope[i]) / 2.0;
    for (int i = 0; i < n - 1; ++i) {
        if (slope[i] == 0.0) {
            tangent[i] = tangent[i + 1] = 0.0;
            continue;
        }
        const double a = tangent[i] / slope[i];
        const double b = tangent[i + 1] / slope[i];
        const double s = a * a + b * b;
        if (s > 9.0) {
            const double t = 3.0 / std::sqrt(s);
            tangent[i] = t * a * slope[i];
            tangent[i + 1] = t * b * slope[i];
        }
    }
    const double h = curve.x[k + 1] - curve.x[k];
    const double t = (percent - curve.x[k]) / h;
    const double t2 = t * t, t3 = t2 * t;
    return (2 * t3 - 3 * t2 + 1) * curve.y[k] + (t3 - 2 * t2 + t) * h * tangent[k] +
           (-2 * t3 + 3 * t2) * curve.y[k + 1] + (t3 - t2) * h * tangent[k + 1];
}
