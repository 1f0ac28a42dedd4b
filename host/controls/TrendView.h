#pragma once

#include <QtGlobal>

// The time window the trend shows: its end and span, and whether the end
// follows the newest sample (live) or stays where the user put it.
struct TrendView
{
    static constexpr qint64 MinSpanMs = 10 * 1000;
    static constexpr qint64 MaxSpanMs = 48LL * 3600 * 1000;
    static constexpr qint64 DefaultSpanMs = 10 * 60 * 1000;

    qint64 endMs = 0;
    qint64 spanMs = DefaultSpanMs;
    bool live = true;

    qint64 startMs() const { return endMs - spanMs; }
    // Time at a pixel column and back, for a plot this many pixels wide.
    qint64 timeAt(double x, int width) const;
    double xOf(qint64 timeMs, int width) const;

    // Narrower (factor < 1) or wider around the time under the pointer,
    // which stays where it is; leaves live following.
    void zoom(double factor, qint64 anchorMs);
    // Moves by a number of pixels (positive: to later times); leaves live following.
    void pan(double pixels, int width);
    // Live: the end follows the newest time.
    void follow(qint64 nowMs);
};
