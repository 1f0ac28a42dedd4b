#include "TrendCanvas.h"

#include "TrendRecorder.h"
#include "TrendReduction.h"
#include "TrendTimeAxis.h"
#include "VexaScale.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

namespace {
constexpr int LeftMargin = 56;
constexpr int RightMargin = 10;
constexpr int TopMargin = 8;
constexpr double ZoomPerNotch = 0.8;
} // namespace

TrendCanvas::TrendCanvas(const TrendRecorder &recorder, QWidget *parent)
    : QWidget(parent), m_recorder(recorder)
{
    setMouseTracking(true);
    setMinimumSize(200, 120);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor TrendCanvas::statusColour(TrendStatus status)
{
    return status == TrendStatus::Bad ? QColor(0xD0, 0x10, 0x10) : QColor(0xF0, 0x90, 0x00);
}

void TrendCanvas::setCurveStyle(int curve, const CurveStyle &style)
{
    if (curve < 0 || curve >= CurveCount)
        return;
    m_styles[curve] = style;
}

void TrendCanvas::setAxisCurve(int curve)
{
    if (curve >= 0 && curve < CurveCount)
        m_axisCurve = curve;
    update();
}

void TrendCanvas::setView(const TrendView &view)
{
    m_view = view;
}

void TrendCanvas::follow(qint64 nowMs)
{
    m_view.follow(nowMs);
}

QRect TrendCanvas::plotArea() const
{
    const int bottom = fontMetrics().height() + 8;
    return rect().adjusted(LeftMargin, TopMargin, -RightMargin, -bottom);
}

void TrendCanvas::paintEvent(QPaintEvent *)
{
    ++m_paints;
    QPainter p(this);
    p.fillRect(rect(), palette().color(QPalette::Window));
    const QRect area = plotArea();
    if (area.width() < 10 || area.height() < 10)
        return;
    p.fillRect(area, palette().color(QPalette::Base));
    drawAxes(p, area);
    drawMarkers(p, area);
    p.save();
    p.setClipRect(area.adjusted(0, -2, 1, 2));
    for (int c = 0; c < CurveCount; ++c) {
        if (m_styles[c].shown)
            drawCurve(p, area, c);
    }
    p.restore();
    if (m_cursor) {
        const double x = area.left() + m_view.xOf(*m_cursor, area.width());
        p.setPen(QPen(palette().color(QPalette::Text), 1, Qt::DashLine));
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
    }
    p.setPen(palette().color(QPalette::Mid));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area.adjusted(0, 0, -1, -1));
}

void TrendCanvas::drawAxes(QPainter &p, const QRect &area) const
{
    const QColor grid = palette().color(QPalette::Midlight);
    const QColor text = palette().color(QPalette::WindowText);
    const QFontMetrics metrics = fontMetrics();

    const TrendTimeAxis axis =
        TrendTimeAxis::make(m_view.startMs(), m_view.endMs, area.width(),
                            metrics.horizontalAdvance(QStringLiteral("00:00:00")) + 16);
    for (qint64 t : axis.ticks) {
        const double x = area.left() + m_view.xOf(t, area.width());
        p.setPen(grid);
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.setPen(text);
        const QString label = TrendTimeAxis::label(t, axis.stepMs);
        const double w = metrics.horizontalAdvance(label);
        const double left = std::clamp(x - w / 2, 0.0, double(width()) - w);
        p.drawText(QPointF(left, area.bottom() + 4 + metrics.ascent()), label);
    }

    const CurveStyle &style = m_styles[m_axisCurve];
    if (!style.shown)
        return;
    const VexaScale::Ticks ticks = VexaScale::ticks(style.minimum, style.maximum, 0.0, 0.0);
    const int decimals = VexaScale::labelDecimals(ticks.majorStep);
    for (double v : ticks.major) {
        const double f = VexaScale::fraction(v, style.minimum, style.maximum);
        const double y = area.bottom() - f * area.height();
        p.setPen(grid);
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        p.setPen(style.colour);
        const QRectF box(0, y - metrics.height() / 2.0, LeftMargin - 6, metrics.height());
        p.drawText(box, Qt::AlignRight | Qt::AlignVCenter, VexaScale::label(v, decimals));
    }
}

void TrendCanvas::drawMarkers(QPainter &p, const QRect &area) const
{
    p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    for (const TrendRecorder::Marker &marker : m_recorder.markers()) {
        if (marker.timeMs < m_view.startMs() || marker.timeMs > m_view.endMs)
            continue;
        const double x = area.left() + m_view.xOf(marker.timeMs, area.width());
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.drawText(QPointF(x + 3, area.top() + fontMetrics().ascent() + 2), marker.note);
    }
}

void TrendCanvas::drawCurve(QPainter &p, const QRect &area, int curve) const
{
    const CurveStyle &style = m_styles[curve];
    const std::vector<TrendColumn> columns = TrendReduction::reduce(
        m_recorder.ring(curve), m_view.startMs(), m_view.endMs, area.width());
    const double span = style.maximum - style.minimum;
    if (!(std::fabs(span) > 0.0) || !std::isfinite(span))
        return;
    // Values beyond the scale stay just outside the plot, not far away.
    const auto y = [&](float v) {
        const double f = std::clamp((double(v) - style.minimum) / span, -0.02, 1.02);
        return area.bottom() - f * area.height();
    };
    std::array<QList<QLineF>, 3> lines; // good, uncertain, bad
    const auto bucket = [](TrendStatus s) { return std::min(int(s), 2); };
    int previous = -1;
    for (int c = 0; c < int(columns.size()); ++c) {
        const TrendColumn &col = columns[size_t(c)];
        if (!col.hasValue)
            continue;
        const double x = area.left() + c + 0.5;
        const int kind = bucket(col.worst);
        lines[kind].append(QLineF(x, y(col.min), x, y(col.max) - 0.01));
        if (TrendReduction::joins(columns, previous, c)) {
            const TrendColumn &prev = columns[size_t(previous)];
            const int joinKind = std::max(kind, bucket(prev.worst));
            lines[joinKind].append(
                QLineF(area.left() + previous + 0.5, y(prev.last), x, y(col.first)));
        }
        previous = c;
    }
    const QColor colours[3] = {style.colour, statusColour(TrendStatus::Uncertain),
                               statusColour(TrendStatus::Bad)};
    for (int k = 0; k < 3; ++k) {
        if (lines[k].isEmpty())
            continue;
        p.setPen(QPen(colours[k], k == 0 ? 1.5 : 2.0));
        p.drawLines(lines[k]);
    }
}

void TrendCanvas::wheelEvent(QWheelEvent *event)
{
    const QRect area = plotArea();
    const double notches = event->angleDelta().y() / 120.0;
    if (notches == 0.0)
        return;
    const qint64 anchor = m_view.timeAt(event->position().x() - area.left(), area.width());
    m_view.zoom(std::pow(ZoomPerNotch, notches), anchor);
    update();
    Q_EMIT viewChanged();
}

void TrendCanvas::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton)
        m_dragX = event->position().x();
}

void TrendCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QRect area = plotArea();
    const double x = event->position().x();
    if (m_dragX) {
        m_view.pan(*m_dragX - x, area.width());
        m_dragX = x;
        Q_EMIT viewChanged();
    }
    if (area.contains(event->position().toPoint()))
        m_cursor = m_view.timeAt(x - area.left(), area.width());
    else
        m_cursor.reset();
    update();
    Q_EMIT cursorMoved();
}

void TrendCanvas::mouseReleaseEvent(QMouseEvent *)
{
    m_dragX.reset();
}

void TrendCanvas::mouseDoubleClickEvent(QMouseEvent *)
{
    m_view.live = true;
    Q_EMIT viewChanged();
}

void TrendCanvas::leaveEvent(QEvent *)
{
    m_cursor.reset();
    update();
    Q_EMIT cursorMoved();
}
