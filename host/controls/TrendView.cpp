#include "TrendView.h"

#include <algorithm>
#include <cmath>

qint64 TrendView::timeAt(double x, int width) const
{
    if (width <= 0)
        return endMs;
    return startMs() + qint64(std::llround(x / width * double(spanMs)));
}

double TrendView::xOf(qint64 timeMs, int width) const
{
    return spanMs <= 0 ? 0.0 : double(timeMs - startMs()) / double(spanMs) * width;
}

void TrendView::zoom(double factor, qint64 anchorMs)
{
    if (!(factor > 0.0) || !std::isfinite(factor))
        return;
    const qint64 span =
        std::clamp<qint64>(qint64(std::llround(double(spanMs) * factor)), MinSpanMs, MaxSpanMs);
    // The anchor keeps its share of the window.
    const double share = spanMs > 0 ? double(anchorMs - startMs()) / double(spanMs) : 1.0;
    const qint64 start = anchorMs - qint64(std::llround(share * double(span)));
    spanMs = span;
    endMs = start + span;
    live = false;
}

void TrendView::pan(double pixels, int width)
{
    if (width <= 0)
        return;
    endMs += qint64(std::llround(pixels / width * double(spanMs)));
    live = false;
}

void TrendView::follow(qint64 nowMs)
{
    live = true;
    endMs = nowMs;
}
