#include "VexaBarGraph.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

VexaBarGraph::VexaBarGraph(QWidget *parent) : VexaMeterControl(parent) {}

void VexaBarGraph::setBarGraphCaption(const QString &caption)
{
    m_caption = caption;
    update();
}

void VexaBarGraph::setZeroValue(bool on)
{
    m_zeroValue = on;
    update();
}

VexaBarGraph::Layout VexaBarGraph::layout(const QRectF &area, double textHeight, double labelWidth,
                                          bool withCaption)
{
    Layout l;
    const double margin = 6.0;
    double top = area.top() + margin;
    if (withCaption) {
        l.caption = QRectF(area.left() + margin, top, area.width() - 2 * margin, textHeight);
        top += textHeight + 2;
    }
    l.value = QRectF(area.left() + margin, top, area.width() - 2 * margin, textHeight * 1.4);
    top += textHeight * 1.4 + textHeight * 0.6;
    // Half a label above and below, so the end labels are not cut.
    const double barTop = top + textHeight / 2;
    const double barBottom = area.bottom() - margin - textHeight / 2;
    const double barWidth = std::clamp(area.width() * 0.28, 16.0, 60.0);
    const double bandWidth = std::max(6.0, barWidth * 0.25);
    const double total = labelWidth + 6 + barWidth + 3 + bandWidth;
    const double left = area.left() + std::max(margin, (area.width() - total) / 2);
    l.scale = QRectF(left, barTop, labelWidth, std::max(0.0, barBottom - barTop));
    l.bar = QRectF(left + labelWidth + 6, barTop, barWidth, l.scale.height());
    l.bands = QRectF(l.bar.right() + 3, barTop, bandWidth, l.scale.height());
    return l;
}

QRectF VexaBarGraph::fill(const QRectF &bar, double value, double base, double start, double end)
{
    const auto y = [&](double v) {
        const double f = std::clamp(VexaScale::fraction(v, start, end), 0.0, 1.0);
        return bar.bottom() - f * bar.height();
    };
    if (!std::isfinite(value) || !std::isfinite(VexaScale::fraction(value, start, end)))
        return QRectF();
    const double a = y(value);
    const double b = y(base);
    return QRectF(bar.left(), std::min(a, b), bar.width(), std::fabs(a - b));
}

double VexaBarGraph::yOf(const QRectF &bar, double value) const
{
    const double f = std::clamp(VexaScale::fraction(value, scaleStart(), scaleEnd()), 0.0, 1.0);
    return bar.bottom() - f * bar.height();
}

void VexaBarGraph::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const double start = scaleStart();
    const double end = scaleEnd();
    const VexaScale::Ticks t = ticks();
    const int decimals = VexaScale::labelDecimals(t.majorStep);
    QFont labelFont = font();
    p.setFont(labelFont);
    const QFontMetricsF metrics(labelFont);
    double labelWidth = 0;
    for (double v : t.major)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(VexaScale::label(v, decimals)));
    const Layout l = layout(rect(), metrics.height(), labelWidth, !m_caption.isEmpty());
    const QColor ink = inkColour();

    p.setPen(ink);
    if (!m_caption.isEmpty())
        p.drawText(l.caption, Qt::AlignCenter, m_caption);

    // Bar outline and bands.
    p.setPen(QPen(palette().color(QPalette::Mid), 1));
    p.setBrush(palette().color(QPalette::Base));
    p.drawRect(l.bar);
    for (const VexaScale::Band &band : VexaScale::bands(start, end, limits())) {
        QColor colour = bandColour(band.alarm);
        if (!connected())
            colour = colour.lighter(140);
        const double a = yOf(l.bands, band.from);
        const double b = yOf(l.bands, band.to);
        p.fillRect(QRectF(l.bands.left(), std::min(a, b), l.bands.width(), std::fabs(a - b)),
                   colour);
    }

    // Fill.
    if (const auto v = value()) {
        const double base =
            m_zeroValue && std::min(start, end) <= 0 && std::max(start, end) >= 0 ? 0.0 : start;
        p.fillRect(fill(l.bar.adjusted(1, 0, -1, 0), *v, base, start, end), stateColour());
    }

    // Scale.
    p.setPen(QPen(ink, 1));
    for (double v : t.minor) {
        const double y = yOf(l.bar, v);
        p.drawLine(QPointF(l.bar.left() - 3, y), QPointF(l.bar.left(), y));
    }
    for (double v : t.major) {
        const double y = yOf(l.bar, v);
        p.drawLine(QPointF(l.bar.left() - 5, y), QPointF(l.bar.right(), y));
        const QRectF box(l.scale.left() - 2, y - metrics.height() / 2, l.scale.width(),
                         metrics.height());
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, VexaScale::label(v, decimals));
    }

    QFont valueFont = font();
    valueFont.setPointSizeF(valueFont.pointSizeF() * 1.3);
    valueFont.setBold(true);
    p.setFont(valueFont);
    p.setPen(stateColour());
    const QString text =
        valueText().isEmpty() ? QStringLiteral("---") : valueText() + QLatin1Char(' ') + unitText();
    p.drawText(l.value, Qt::AlignCenter, text);
}
