#pragma once

#include "simulator/TransmitterSettings.h"

#include <QtGlobal>

// How the output follows the measured share of the range: linear, square root
// with its low-flow cut-off and linear start, or the user characteristic.
class TransferFunction
{
public:
    static constexpr quint8 Linear = 0;
    static constexpr quint8 SquareRoot = 1;
    static constexpr quint8 SinglePolynomial = 240; // straight lines between the points
    static constexpr quint8 DoublePolynomial = 241; // a smooth curve through the points

    static bool isKnown(quint8 code);
    static bool usesUserCurve(quint8 code);
    // The output in percent of the output span for a pressure at `percent` of the range.
    static double apply(const TransmitterSettings &settings, double percent);

    // A curve the device takes: the count in range, every value finite, the
    // used inputs rising and the used points within 0..100 %.
    static bool isUsable(const UserCurve &curve);

private:
    static double squareRoot(const TransmitterSettings &settings, double percent);
    static double straightLines(const UserCurve &curve, double percent);
    static double smooth(const UserCurve &curve, double percent);
    static int segmentOf(const UserCurve &curve, double percent);
};
