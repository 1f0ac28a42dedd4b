#include "TrendSpanFill.h"

#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRegion>

#include <algorithm>

void TrendSpanFill::fill(QPainter &p, const QList<QRect> &spans, const QColor &colour,
                         const QRect &clip)
{
    if (spans.isEmpty() || fillDirect(p, spans, colour, clip))
        return;
    p.save();
    p.setClipRect(clip, Qt::IntersectClip);
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRects(spans);
    p.restore();
}

bool TrendSpanFill::fillDirect(QPainter &p, const QList<QRect> &spans, const QColor &colour,
                               const QRect &clip)
{
    QPaintEngine *engine = p.paintEngine();
    if (!engine || engine->type() != QPaintEngine::Raster || !engine->paintDevice() ||
        engine->paintDevice()->devType() != QInternal::Image)
        return false;
    auto *image = static_cast<QImage *>(engine->paintDevice());
    const QImage::Format format = image->format();
    if (format != QImage::Format_ARGB32_Premultiplied && format != QImage::Format_RGB32 &&
        format != QImage::Format_ARGB32)
        return false;
    // Anything but a whole-pixel shift, blending, or a clip that is more
    // than one rectangle goes through the painter.
    const QTransform transform = p.deviceTransform();
    if (transform.type() > QTransform::TxTranslate || colour.alpha() != 255 || p.opacity() < 1.0 ||
        p.compositionMode() != QPainter::CompositionMode_SourceOver ||
        image->devicePixelRatio() != 1.0)
        return false;
    const int dx = int(transform.dx());
    const int dy = int(transform.dy());
    if (dx != transform.dx() || dy != transform.dy())
        return false;
    QRect bounds = clip;
    if (p.hasClipping()) {
        const QRegion painterClip = p.clipRegion();
        if (painterClip.rectCount() != 1)
            return false;
        bounds &= painterClip.boundingRect();
    }
    bounds = bounds.translated(dx, dy) & image->rect();
    // On screen the image is the whole window's; the widget owns part of it.
    const QRegion system = engine->systemClip();
    if (!system.isEmpty()) {
        if (system.rectCount() != 1)
            return false;
        bounds &= system.boundingRect();
    }
    // A shared image would be copied by the first write, away from the one
    // being painted.
    if (!image->isDetached())
        return false;
    uchar *bits = image->bits();
    const qsizetype stride = image->bytesPerLine();
    const QRgb pixel = colour.rgba(); // opaque: premultiplied alike
    for (const QRect &span : spans) {
        const QRect r = span.translated(dx, dy) & bounds;
        for (int y = r.top(); y <= r.bottom(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(bits + y * stride);
            std::fill(line + r.left(), line + r.right() + 1, pixel);
        }
    }
    return true;
}
