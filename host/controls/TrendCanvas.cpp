#include "TrendCanvas.h"

#include "TrendMarkerLabels.h"
#include "TrendRecorder.h"
#include "TrendSpanFill.h"
#include "TrendTimeAxis.h"
#include "TrendYScale.h"
#include "VexaScale.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

namespace {
constexpr int LeftMargin = 56;
constexpr int RightMargin = 10;
constexpr double ZoomPerNotch = 0.8;
// A press that moves less than this is a click, not a drag.
constexpr double ClickSlack = 4.0;
// Arrows on a stretch beyond the scale, at most one this many pixels apart.
constexpr int ArrowSpacing = 48;
constexpr int MarkerRows = 3;

int kindOf(TrendStatus status)
{
    return std::min(int(status), 2); // good, uncertain, bad
}

// What a curve is drawn as. Good values as a column's span, two pixels wide
// and at least two high, written straight into the image's rows
// where it can (see TrendSpanFill), joined by a line only where neighbouring spans do not meet
// already. Flagged values as polylines, so that their hatching runs on
// along the line. Arrows where the values leave the scale: (x, side).
struct CurveShapes
{
    QList<QLineF> solid;
    QList<QRect> spans;
    std::array<QList<QPolygonF>, 3> hatched;
    QPolygonF run;
    int runKind = 0;
    QList<std::pair<double, int>> arrows;

    void flush()
    {
        if (run.size() > 1)
            hatched[size_t(runKind)].append(run);
        run.clear();
    }
    void extend(int kind, const QPointF &from, const QPointF &to)
    {
        if (kind != runKind || run.isEmpty() || run.last() != from) {
            flush();
            runKind = kind;
            run << from;
        }
        run << to;
    }
    void paint(QPainter &p, const QColor &colour, const QRect &area) const
    {
        p.setPen(TrendCanvas::linePen(colour, TrendStatus::Good));
        p.drawLines(solid);
        TrendSpanFill::fill(p, spans, colour, area);
        for (int k = 1; k < 3; ++k) {
            p.setPen(TrendCanvas::linePen(colour, TrendStatus(k)));
            for (const QPolygonF &line : hatched[size_t(k)])
                p.drawPolyline(line);
        }
    }
};

} // namespace

TrendCanvas::TrendCanvas(const TrendRecorder &recorder, QWidget *parent)
    : QWidget(parent), m_recorder(recorder)
{
    setMouseTracking(true);
    setMinimumSize(200, 120);
    setFocusPolicy(Qt::ClickFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

QColor TrendCanvas::statusColour(TrendStatus status)
{
    return status == TrendStatus::Bad ? QColor(0xD0, 0x10, 0x10, 36) : QColor(0xF0, 0x90, 0x00, 36);
}

QPen TrendCanvas::linePen(const QColor &colour, TrendStatus status)
{
    if (status == TrendStatus::Good || status == TrendStatus::NoRead)
        return QPen(colour, 1.5);
    QPen pen(colour, 2.0, Qt::CustomDashLine, Qt::FlatCap, Qt::BevelJoin);
    // Long dashes where the device is unsure, short ones where it fails.
    pen.setDashPattern(status == TrendStatus::Bad ? QList<qreal>{1.5, 1.5}
                                                  : QList<qreal>{3.0, 2.0});
    return pen;
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

QString TrendCanvas::axisTitle() const
{
    const CurveStyle &style = m_styles[m_axisCurve];
    if (!style.shown)
        return {};
    return style.unit.isEmpty()
               ? style.caption
               : style.caption + QStringLiteral(" [") + style.unit + QLatin1Char(']');
}

void TrendCanvas::setAxisHint(const QString &hint)
{
    m_axisHint = hint;
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

void TrendCanvas::setPlacedCursor(std::optional<qint64> timeMs)
{
    m_placed = timeMs;
    update();
    Q_EMIT cursorMoved();
}

QRect TrendCanvas::plotArea() const
{
    // Above the plot: the axis title, and room for the top tick's label.
    const int height = fontMetrics().height();
    const int top = height + height / 2 + 6;
    const int bottom = height + 8;
    return rect().adjusted(LeftMargin, top, -RightMargin, -bottom);
}

void TrendCanvas::paintEvent(QPaintEvent *)
{
    ++m_paints;
    QPainter p(this);
    const QRect area = plotArea();
    if (area.width() < 10 || area.height() < 10) {
        p.fillRect(rect(), palette().color(QPalette::Window));
        return;
    }
    fillAround(p, area, palette().color(QPalette::Window));
    std::array<Columns, CurveCount> columns;
    for (int c = 0; c < CurveCount; ++c) {
        if (m_styles[c].shown)
            columns[c] = TrendReduction::reduce(m_recorder.ring(c), m_view.startMs(), m_view.endMs,
                                                area.width());
    }
    p.fillRect(area, palette().color(QPalette::Base));
    drawBands(p, area, columns);
    drawAxes(p, area);
    drawAxisTitle(p, area);
    p.save();
    p.setClipRect(area);
    for (int c = 0; c < CurveCount; ++c) {
        if (m_styles[c].shown)
            drawCurve(p, area, c, columns[c]);
    }
    drawMarkers(p, area);
    if (m_placed)
        drawCursor(p, area, *m_placed, Qt::SolidLine);
    if (m_hover)
        drawCursor(p, area, *m_hover, Qt::DashLine);
    p.restore();
    p.setPen(palette().color(QPalette::Mid));
    p.setBrush(Qt::NoBrush);
    p.drawRect(area.adjusted(0, 0, -1, -1));
}

// The margins only: the plot gets its own background, and filling a
// megapixel twice is a good part of a repaint.
void TrendCanvas::fillAround(QPainter &p, const QRect &area, const QColor &colour) const
{
    const QRect all = rect();
    p.fillRect(QRect(all.left(), all.top(), all.width(), area.top() - all.top()), colour);
    p.fillRect(QRect(all.left(), area.bottom() + 1, all.width(), all.bottom() - area.bottom()),
               colour);
    p.fillRect(QRect(all.left(), area.top(), area.left() - all.left(), area.height()), colour);
    p.fillRect(QRect(area.right() + 1, area.top(), all.right() - area.right(), area.height()),
               colour);
}

void TrendCanvas::drawCursor(QPainter &p, const QRect &area, qint64 timeMs,
                             Qt::PenStyle style) const
{
    const double x = area.left() + m_view.xOf(timeMs, area.width());
    p.setPen(QPen(palette().color(QPalette::Text), 1, style));
    p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
}

void TrendCanvas::drawAxes(QPainter &p, const QRect &area) const
{
    const QColor grid = palette().color(QPalette::Midlight);
    const QColor text = palette().color(QPalette::WindowText);
    const double labelWidth = m_labels.text(QStringLiteral("00:00:00"), font()).size().width();
    const TrendTimeAxis axis =
        TrendTimeAxis::make(m_view.startMs(), m_view.endMs, area.width(), int(labelWidth) + 16);
    for (qint64 t : axis.ticks) {
        const double x = area.left() + m_view.xOf(t, area.width());
        p.setPen(grid);
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        p.setPen(text);
        const QStaticText &label = m_labels.text(TrendTimeAxis::label(t, axis.stepMs), font());
        const double w = label.size().width();
        const double left = std::clamp(x - w / 2, 0.0, double(width()) - w);
        p.drawStaticText(QPointF(left, area.bottom() + 4), label);
    }

    const CurveStyle &style = m_styles[m_axisCurve];
    const TrendYScale scale = TrendYScale::inside(area, style.minimum, style.maximum);
    if (!style.shown || !scale.valid())
        return;
    const VexaScale::Ticks ticks = VexaScale::ticks(style.minimum, style.maximum, 0.0, 0.0);
    const int decimals = VexaScale::labelDecimals(ticks.majorStep);
    for (double v : ticks.major) {
        const double y = scale.y(v);
        p.setPen(grid);
        p.drawLine(QPointF(area.left(), y), QPointF(area.right(), y));
        p.setPen(style.colour);
        const QStaticText &label = m_labels.text(VexaScale::label(v, decimals), font());
        const QSizeF size = label.size();
        p.drawStaticText(QPointF(LeftMargin - 6 - size.width(), y - size.height() / 2.0), label);
    }
}

void TrendCanvas::drawAxisTitle(QPainter &p, const QRect &area) const
{
    const QString title = axisTitle();
    if (title.isEmpty())
        return;
    QFont bold = font();
    bold.setBold(true);
    const QFontMetrics boldMetrics(bold);
    const int top = 2;
    const int right = area.right();
    const QStaticText &shown =
        m_titles.text(boldMetrics.elidedText(title, Qt::ElideRight, right - 4), bold);
    p.setFont(bold);
    p.setPen(m_styles[m_axisCurve].colour);
    p.drawStaticText(QPointF(4, top), shown);
    p.setFont(font());
    const int hintLeft = 4 + int(std::ceil(shown.size().width())) + 12;
    if (m_axisHint.isEmpty() || hintLeft >= right)
        return;
    p.setPen(palette().color(QPalette::PlaceholderText));
    p.drawStaticText(
        QPointF(hintLeft, top),
        m_labels.text(fontMetrics().elidedText(m_axisHint, Qt::ElideRight, right - hintLeft),
                      font()));
}

void TrendCanvas::drawBands(QPainter &p, const QRect &area,
                            const std::array<Columns, CurveCount> &columns) const
{
    // One band for all curves, of the worst status: tints do not pile up.
    std::vector<quint8> worst(size_t(area.width()), quint8(TrendStatus::Good));
    for (const Columns &curve : columns) {
        for (const TrendStretch &s : TrendReduction::stretches(curve)) {
            for (int c = s.first; c <= s.last && c < int(worst.size()); ++c)
                worst[size_t(c)] = std::max(worst[size_t(c)], quint8(s.status));
        }
    }
    // The tint laid on the plot's background beforehand: an opaque fill
    // costs a fraction of a blended one.
    const QColor base = palette().color(QPalette::Base);
    const auto tinted = [&base](TrendStatus status) {
        const QColor tint = statusColour(status);
        const double a = tint.alphaF();
        return QColor::fromRgbF(float(base.redF() * (1 - a) + tint.redF() * a),
                                float(base.greenF() * (1 - a) + tint.greenF() * a),
                                float(base.blueF() * (1 - a) + tint.blueF() * a));
    };
    for (int c = 0; c < int(worst.size());) {
        int end = c + 1;
        while (end < int(worst.size()) && worst[size_t(end)] == worst[size_t(c)])
            ++end;
        if (worst[size_t(c)] != quint8(TrendStatus::Good))
            p.fillRect(QRect(area.left() + c, area.top(), end - c, area.height()),
                       tinted(TrendStatus(worst[size_t(c)])));
        c = end;
    }
}

void TrendCanvas::drawMarkers(QPainter &p, const QRect &area) const
{
    const QFontMetrics metrics = fontMetrics();
    constexpr int Pad = 3;
    std::vector<TrendMarkerLabels::Label> labels;
    QList<const TrendRecorder::Marker *> shown;
    p.setPen(QPen(palette().color(QPalette::Highlight), 1, Qt::DotLine));
    for (const TrendRecorder::Marker &marker : m_recorder.markers()) {
        if (marker.timeMs < m_view.startMs() || marker.timeMs > m_view.endMs)
            continue;
        const double x = area.left() + m_view.xOf(marker.timeMs, area.width());
        p.drawLine(QPointF(x, area.top()), QPointF(x, area.bottom()));
        if (marker.note.isEmpty())
            continue;
        // A pixel to spare: eliding measures a little wider than the advance.
        labels.push_back(
            {int(std::lround(x)), metrics.horizontalAdvance(marker.note) + 2 * Pad + 2});
        shown.append(&marker);
    }
    const auto placed = TrendMarkerLabels::place(labels, area.left() + 1, area.right(), MarkerRows,
                                                 std::max(60, area.width() / 3));
    const QColor frame = palette().color(QPalette::Highlight);
    QColor back = palette().color(QPalette::Base);
    back.setAlpha(220);
    for (size_t i = 0; i < placed.size(); ++i) {
        if (placed[i].row < 0)
            continue;
        const QRect box(placed[i].left, area.top() + 2 + placed[i].row * (metrics.height() + 3),
                        placed[i].width, metrics.height() + 1);
        p.setPen(frame);
        p.setBrush(back);
        p.drawRect(box.adjusted(0, 0, -1, -1));
        p.setPen(palette().color(QPalette::Text));
        p.drawText(
            box.adjusted(Pad, 0, -Pad, 0), Qt::AlignLeft | Qt::AlignVCenter,
            metrics.elidedText(shown[qsizetype(i)]->note, Qt::ElideRight, box.width() - 2 * Pad));
    }
    p.setBrush(Qt::NoBrush);
}

void TrendCanvas::drawCurve(QPainter &p, const QRect &area, int curve, const Columns &columns) const
{
    const CurveStyle &style = m_styles[curve];
    const TrendYScale scale = TrendYScale::inside(area, style.minimum, style.maximum);
    if (!scale.valid())
        return;
    const auto y = [&](float v) { return scale.y(double(v)); };
    CurveShapes shapes;
    int lastArrowColumn = -ArrowSpacing;
    int lastSide = 0;
    int previous = -1;
    for (int c = 0; c < int(columns.size()); ++c) {
        const TrendColumn &col = columns[size_t(c)];
        if (!col.hasValue)
            continue;
        const double x = area.left() + c + 0.5;
        const int kind = kindOf(col.worst);
        const QPointF first(x, y(col.first));
        QRect span;
        if (kind == 0) {
            const int top = int(std::floor(y(col.max))) - 1;
            span = QRect(QPoint(int(x) - 1, top),
                         QPoint(int(x), std::max(top + 1, int(std::floor(y(col.min))))));
        }
        if (TrendReduction::joins(columns, previous, c)) {
            const TrendColumn &prev = columns[size_t(previous)];
            const QPointF from(area.left() + previous + 0.5, y(prev.last));
            const int joinKind = std::max(kind, kindOf(prev.worst));
            // Spans of neighbouring columns that overlap already join.
            const bool touching = previous == c - 1 && !shapes.spans.isEmpty() && span.isValid() &&
                                  shapes.spans.last().top() <= span.bottom() &&
                                  span.top() <= shapes.spans.last().bottom();
            if (joinKind == 0 && !touching)
                shapes.solid.append(QLineF(from, first));
            else if (joinKind != 0)
                shapes.extend(joinKind, from, first);
        } else {
            lastSide = 0;
        }
        if (kind == 0) {
            shapes.spans.append(span);
        } else {
            shapes.extend(kind, first, QPointF(x, y(col.min)));
            shapes.run << QPointF(x, y(col.max)) << QPointF(x, y(col.last));
        }
        const int side = scale.side(col.min) < 0 ? -1 : scale.side(col.max);
        if (side != 0 && (side != lastSide || c - lastArrowColumn >= ArrowSpacing)) {
            shapes.arrows.append({x, side});
            lastArrowColumn = c;
        }
        lastSide = side;
        previous = c;
    }
    shapes.flush();
    shapes.paint(p, style.colour, area);
    drawArrows(p, area, scale, style.colour, shapes.arrows);
}

// Beyond the scale the line lies on its edge; an arrow says which way it left.
void TrendCanvas::drawArrows(QPainter &p, const QRect &area, const TrendYScale &scale,
                             const QColor &colour, const QList<std::pair<double, int>> &arrows)
{
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    for (const auto &[x, side] : arrows) {
        const double edge = side < 0 ? scale.bottom : scale.top;
        const double tip = side < 0 ? area.bottom() : area.top();
        const double base = edge + side * 6.0;
        p.drawPolygon(QPolygonF{{x - 4, base}, {x + 4, base}, {x, tip + (side < 0 ? 0.0 : 1.0)}});
    }
    p.setBrush(Qt::NoBrush);
}

QString TrendCanvas::markerNoteAt(const QPoint &pos) const
{
    const QRect area = plotArea();
    if (!area.contains(pos))
        return {};
    QStringList notes;
    for (const TrendRecorder::Marker &marker : m_recorder.markers()) {
        const double x = area.left() + m_view.xOf(marker.timeMs, area.width());
        if (std::fabs(x - pos.x()) <= 3.0 && !marker.note.isEmpty())
            notes << marker.note;
    }
    return notes.join(QLatin1Char('\n'));
}

bool TrendCanvas::event(QEvent *event)
{
    // A note that did not fit above the plot is told on the marker's line.
    if (event->type() == QEvent::ToolTip) {
        auto *help = static_cast<QHelpEvent *>(event);
        const QString note = markerNoteAt(help->pos());
        if (note.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), note, this);
        return true;
    }
    return QWidget::event(event);
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
    if (event->button() != Qt::LeftButton)
        return;
    const QRect area = plotArea();
    const QPointF pos = event->position();
    // The axis and its title choose the next curve for the axis.
    if (pos.x() < area.left() || (pos.y() < area.top() && pos.x() < area.right())) {
        Q_EMIT axisClicked();
        return;
    }
    m_dragX = pos.x();
    m_pressX = pos.x();
    m_dragged = false;
}

void TrendCanvas::mouseMoveEvent(QMouseEvent *event)
{
    const QRect area = plotArea();
    const double x = event->position().x();
    if (m_dragX && (m_dragged || std::fabs(x - m_pressX) >= ClickSlack)) {
        m_dragged = true;
        m_view.pan(*m_dragX - x, area.width());
        m_dragX = x;
        Q_EMIT viewChanged();
    }
    if (area.contains(event->position().toPoint()))
        m_hover = m_view.timeAt(x - area.left(), area.width());
    else
        m_hover.reset();
    update();
    Q_EMIT cursorMoved();
}

void TrendCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    const bool click = m_dragX && !m_dragged;
    m_dragX.reset();
    const QRect area = plotArea();
    if (click && area.contains(event->position().toPoint()))
        setPlacedCursor(m_view.timeAt(event->position().x() - area.left(), area.width()));
}

void TrendCanvas::mouseDoubleClickEvent(QMouseEvent *)
{
    m_placed.reset();
    m_view.live = true;
    update();
    Q_EMIT cursorMoved();
    Q_EMIT viewChanged();
}

void TrendCanvas::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && m_placed) {
        setPlacedCursor(std::nullopt);
        return;
    }
    QWidget::keyPressEvent(event);
}

void TrendCanvas::leaveEvent(QEvent *)
{
    m_hover.reset();
    update();
    Q_EMIT cursorMoved();
}
