#include "VexaBarGraph.h"

#include <QPainter>
#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

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
    const VexaScale::Ticks t = ticks();
    const int decimals = VexaScale::labelDecimals(t.majorStep);
    p.setFont(font());
    const QFontMetricsF metrics(font());
    double labelWidth = 0;
    for (double v : t.major)
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(VexaScale::label(v, decimals)));
    const Layout parts = layout(rect(), metrics.height(), labelWidth, !m_caption.isEmpty());

    p.setPen(inkColour());
    if (!m_caption.isEmpty())
        p.drawText(parts.caption, Qt::AlignCenter, m_caption);
    drawBarAndBands(p, parts);
    drawScale(p, parts, t, metrics);

    QFont valueFont = font();
    valueFont.setPointSizeF(valueFont.pointSizeF() * 1.3);
    valueFont.setBold(true);
    p.setFont(valueFont);
    p.setPen(stateColour());
    const QString text =
        valueText().isEmpty() ? QStringLiteral("---") : valueText() + QLatin1Char(' ') + unitText();
    p.drawText(parts.value, Qt::AlignCenter, text);
}

// The bar with its bands, the limits across bar and bands, and the fill.
void VexaBarGraph::drawBarAndBands(QPainter &p, const Layout &parts) const
{
    const double start = scaleStart();
    const double end = scaleEnd();
    p.setPen(QPen(palette().color(QPalette::Mid), 1));
    p.setBrush(palette().color(QPalette::Base));
    p.drawRect(parts.bar);
    for (const VexaScale::Band &band : VexaScale::bands(start, end, limits())) {
        QColor colour = bandColour(band.alarm);
        if (!connected())
            colour = colour.lighter(140);
        const double a = yOf(parts.bands, band.from);
        const double b = yOf(parts.bands, band.to);
        p.fillRect(
            QRectF(parts.bands.left(), std::min(a, b), parts.bands.width(), std::fabs(a - b)),
            colour);
    }
    const VexaScale::Limits lim = limits();
    const std::pair<std::optional<double>, bool> marks[] = {{lim.lowAlarm, true},
                                                            {lim.highAlarm, true},
                                                            {lim.lowWarning, false},
                                                            {lim.highWarning, false}};
    for (const auto &[limit, alarm] : marks) {
        if (!limit || *limit < std::min(start, end) || *limit > std::max(start, end))
            continue;
        const double y = yOf(parts.bands, *limit);
        p.setPen(QPen(connected() ? bandColour(alarm) : bandColour(alarm).lighter(140), 3));
        p.drawLine(QPointF(parts.bar.left(), y), QPointF(parts.bands.right(), y));
    }
    if (const auto v = value()) {
        const double base =
            m_zeroValue && std::min(start, end) <= 0 && std::max(start, end) >= 0 ? 0.0 : start;
        p.fillRect(fill(parts.bar.adjusted(1, 0, -1, 0), *v, base, start, end), stateColour());
    }
}

// Ticks beside the bar; labels at least a line and a bit apart, the ticks all stay.
void VexaBarGraph::drawScale(QPainter &p, const Layout &parts, const VexaScale::Ticks &t,
                             const QFontMetricsF &metrics) const
{
    const int decimals = VexaScale::labelDecimals(t.majorStep);
    p.setPen(QPen(inkColour(), 1));
    for (double v : t.minor) {
        const double y = yOf(parts.bar, v);
        p.drawLine(QPointF(parts.bar.left() - 3, y), QPointF(parts.bar.left(), y));
    }
    const double spacing = t.major.size() > 1 ? parts.bar.height() / (t.major.size() - 1) : 1e9;
    const int every = std::max(1, int(std::ceil(metrics.height() * 1.15 / spacing)));
    for (int i = 0; i < t.major.size(); ++i) {
        const double v = t.major[i];
        const double y = yOf(parts.bar, v);
        p.drawLine(QPointF(parts.bar.left() - 5, y), QPointF(parts.bar.right(), y));
        if (i % every != 0)
            continue;
        const QRectF box(parts.scale.left() - 2, y - metrics.height() / 2, parts.scale.width(),
                         metrics.height());
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, VexaScale::label(v, decimals));
    }
}
