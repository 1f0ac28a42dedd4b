#pragma once

#include <QList>
#include <QRect>

class QColor;
class QPainter;

// Fills a curve's column spans. A day's curve is a thousand small
// rectangles; the painter spends far more on each rectangle's setup than on
// its few pixels. Where the painter draws straight into an image of 32-bit
// pixels, untransformed, with an opaque colour, the spans are written into
// its rows directly; anywhere else (printing, a scaled screen) the painter
// fills them. Either way the same pixels.
class TrendSpanFill
{
public:
    // Spans clipped to `clip` (logical coordinates, as the spans).
    static void fill(QPainter &p, const QList<QRect> &spans, const QColor &colour,
                     const QRect &clip);

private:
    static bool fillDirect(QPainter &p, const QList<QRect> &spans, const QColor &colour,
                           const QRect &clip);
};
