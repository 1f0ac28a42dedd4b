#pragma once

#include <QColor>
#include <QList>
#include <QString>
#include <optional>

// The arithmetic of a display scale, free of painting: where the ticks go,
// how their labels read, where a value sits on the scale, and which stretches
// of it are warning and alarm bands.
struct VexaScale
{
    // More ticks than this are unreadable: the steps are widened instead.
    static constexpr int MaxMajorTicks = 40;
    static constexpr int MaxMinorPerMajor = 20;

    struct Ticks
    {
        QList<double> major;
        QList<double> minor; // not on a major tick
        double majorStep = 0.0;
        double minorStep = 0.0;
    };

    struct Band
    {
        double from = 0.0;
        double to = 0.0;
        bool alarm = false; // else warning
    };

    struct Limits
    {
        std::optional<double> lowAlarm;
        std::optional<double> lowWarning;
        std::optional<double> highWarning;
        std::optional<double> highAlarm;
    };

    // Ticks between the ends (either order). Steps of 0, negative or not
    // finite, and steps that would give too many ticks, are replaced by a
    // round step of about a tenth of the span.
    static Ticks ticks(double start, double end, double largeStep, double smallStep);
    // 1, 2 or 5 times a power of ten, at least the given step.
    static double roundStep(double step);
    // Where the value sits between start (0) and end (1); not clamped, NaN
    // for an empty span or a value that is not finite.
    static double fraction(double value, double start, double end);
    // The decimals that labels of this step need (1.74 needs 2, 50 none).
    static int labelDecimals(double step);
    static QString label(double value, int decimals);
    // The value as a display shows it: the decimal places asked for, at most
    // maxDigits characters before falling back to the exponent form.
    static QString valueText(double value, int maxDigits, int decimals);
    // Alarm bands from the ends to the alarm limits, warning bands from the
    // alarm (or the end) to the warning limits; empty or reversed stretches
    // are left out. The ends may come in either order.
    static QList<Band> bands(double start, double end, const Limits &limits);
};
