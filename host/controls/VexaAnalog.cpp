#include "VexaAnalog.h"

#include "VexaGaugeGeometry.h"

#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <optional>
#include <utility>

namespace {

void drawArc(QPainter &p, const QPointF &centre, double radius, double fromAngle, double toAngle)
{
    const QRectF box(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius);
    p.drawArc(box, int(std::lround(fromAngle * 16)), int(std::lround((toAngle - fromAngle) * 16)));
}

} // namespace

VexaAnalog::VexaAnalog(QWidget *parent) : VexaMeterControl(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void VexaAnalog::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const VexaGaugeGeometry g = VexaGaugeGeometry::layout(rect());
    if (g.radius < 10)
        return;
    const double start = scaleStart();
    const double end = scaleEnd();
    const auto angleOf = [start, end](double v) {
        return VexaGaugeGeometry::angle(VexaScale::fraction(v, start, end));
    };
    p.setPen(QPen(palette().color(QPalette::Mid), 1.5));
    p.setBrush(palette().color(QPalette::Base));
    p.drawEllipse(g.centre, g.radius, g.radius);
    drawBands(p, g, angleOf);
    drawTicks(p, g, angleOf);
    drawValueText(p, g);
    drawNeedle(p, g, angleOf);
}

// The limit bands inside the tick ring, and the limits themselves, also where
// their band is empty (an alarm limit at the scale's end).
void VexaAnalog::drawBands(QPainter &p, const VexaGaugeGeometry &g, const AngleOf &angleOf) const
{
    const double start = scaleStart();
    const double end = scaleEnd();
    const double bandRadius = g.radius * 0.86;
    for (const VexaScale::Band &band : VexaScale::bands(start, end, limits())) {
        QColor colour = bandColour(band.alarm);
        if (!connected())
            colour = colour.lighter(140);
        p.setPen(QPen(colour, g.radius * 0.07, Qt::SolidLine, Qt::FlatCap));
        drawArc(p, g.centre, bandRadius, angleOf(band.from), angleOf(band.to));
    }
    const VexaScale::Limits l = limits();
    const std::pair<std::optional<double>, bool> marks[] = {
        {l.lowAlarm, true}, {l.highAlarm, true}, {l.lowWarning, false}, {l.highWarning, false}};
    for (const auto &[limit, alarm] : marks) {
        if (!limit || *limit < std::min(start, end) || *limit > std::max(start, end))
            continue;
        const QColor colour = bandColour(alarm);
        p.setPen(QPen(connected() ? colour : colour.lighter(140), std::max(3.0, g.radius * 0.04),
                      Qt::SolidLine, Qt::FlatCap));
        const double a = angleOf(*limit);
        p.drawLine(VexaGaugeGeometry::pointAt(g.centre, g.radius * 0.78, a),
                   VexaGaugeGeometry::pointAt(g.centre, g.radius * 0.97, a));
    }
}

void VexaAnalog::drawTicks(QPainter &p, const VexaGaugeGeometry &g, const AngleOf &angleOf) const
{
    const QColor ink = inkColour();
    const VexaScale::Ticks t = ticks();
    p.setPen(QPen(ink, std::max(1.0, g.radius * 0.012)));
    for (double v : t.minor) {
        const double a = angleOf(v);
        p.drawLine(VexaGaugeGeometry::pointAt(g.centre, g.radius * 0.90, a),
                   VexaGaugeGeometry::pointAt(g.centre, g.radius * 0.95, a));
    }
    p.setPen(QPen(ink, std::max(1.5, g.radius * 0.025)));
    for (double v : t.major) {
        const double a = angleOf(v);
        p.drawLine(VexaGaugeGeometry::pointAt(g.centre, g.radius * 0.82, a),
                   VexaGaugeGeometry::pointAt(g.centre, g.radius * 0.95, a));
    }
    QFont labelFont = font();
    labelFont.setPixelSize(std::max(8, int(g.radius * 0.12)));
    p.setFont(labelFont);
    const int decimals = VexaScale::labelDecimals(t.majorStep);
    double widest = 0;
    for (double v : t.major)
        widest = std::max<double>(widest,
                                  p.fontMetrics().horizontalAdvance(VexaScale::label(v, decimals)));
    const int every = VexaGaugeGeometry::labelEvery(int(t.major.size()), widest, g.radius);
    for (int i = 0; i < t.major.size(); i += every) {
        const QPointF at =
            VexaGaugeGeometry::pointAt(g.centre, g.radius * 0.66, angleOf(t.major[i]));
        const QRectF box(at.x() - widest, at.y() - labelFont.pixelSize(), 2 * widest,
                         2 * labelFont.pixelSize());
        p.drawText(box, Qt::AlignCenter, VexaScale::label(t.major[i], decimals));
    }
}

void VexaAnalog::drawValueText(QPainter &p, const VexaGaugeGeometry &g) const
{
    QFont valueFont = font();
    valueFont.setPixelSize(std::max(9, int(g.radius * 0.17)));
    valueFont.setBold(true);
    p.setFont(valueFont);
    p.setPen(stateColour());
    const QString text =
        valueText().isEmpty() ? QStringLiteral("---") : valueText() + QLatin1Char(' ') + unitText();
    // A long value gets a smaller font rather than running into the scale.
    const double wide = p.fontMetrics().horizontalAdvance(text);
    if (wide > g.valueBox.width()) {
        valueFont.setPixelSize(std::max(8, int(valueFont.pixelSize() * g.valueBox.width() / wide)));
        p.setFont(valueFont);
    }
    p.drawText(g.valueBox, Qt::AlignCenter, text);
}

// The needle only for a value there is; the hub always.
void VexaAnalog::drawNeedle(QPainter &p, const VexaGaugeGeometry &g, const AngleOf &angleOf) const
{
    if (const auto v = value()) {
        const double a = angleOf(*v);
        p.setPen(Qt::NoPen);
        p.setBrush(connected() ? QColor(0xC0, 0x20, 0x20) : QColor(0x90, 0x90, 0x90));
        const QPointF tip = VexaGaugeGeometry::pointAt(g.centre, g.radius * 0.88, a);
        const QPointF left = VexaGaugeGeometry::pointAt(g.centre, g.radius * 0.04, a + 90);
        const QPointF right = VexaGaugeGeometry::pointAt(g.centre, g.radius * 0.04, a - 90);
        QPainterPath needle;
        needle.moveTo(tip);
        needle.lineTo(left);
        needle.lineTo(right);
        needle.closeSubpath();
        p.drawPath(needle);
    }
    p.setBrush(inkColour());
    p.drawEllipse(g.centre, g.radius * 0.06, g.radius * 0.06);
}
