#pragma once

#include "StaticTextCache.h"
#include "TrendReduction.h"
#include "TrendSample.h"
#include "TrendView.h"

#include <QWidget>
#include <array>
#include <optional>

class TrendRecorder;
struct TrendYScale;

// Draws the trend's curves over a time axis and lets the user move through
// time: the wheel zooms around the pointer, dragging pans, a click places
// the cursor (the values and a new marker go there), a double click goes
// back to following the newest samples. Each curve has its own scale; the
// left axis shows the scale of one chosen curve, named with its unit above
// it (a click on the axis goes on to the next curve). Each curve keeps its
// colour: values the device flags are drawn hatched over a tinted band,
// values beyond the scale stay on its edge with an arrow, gaps are left open.
class TrendCanvas : public QWidget
{
    Q_OBJECT

public:
    static constexpr int CurveCount = 4;

    struct CurveStyle
    {
        QColor colour;
        double minimum = 0.0;
        double maximum = 100.0;
        bool shown = false;
        QString caption;
        QString unit;
    };

    explicit TrendCanvas(const TrendRecorder &recorder, QWidget *parent = nullptr);

    void setCurveStyle(int curve, const CurveStyle &style);
    const CurveStyle &curveStyle(int curve) const { return m_styles[curve]; }
    void setAxisCurve(int curve);
    int axisCurve() const { return m_axisCurve; }
    // The axis curve's name and unit, as drawn above the axis.
    QString axisTitle() const;
    // Drawn after the title: how to choose another curve for the axis.
    void setAxisHint(const QString &hint);

    const TrendView &view() const { return m_view; }
    void setView(const TrendView &view);
    // Live following: the view's end moves to the newest time.
    void follow(qint64 nowMs);

    // Under the pointer, else where the user clicked.
    std::optional<qint64> cursorTime() const { return m_hover ? m_hover : m_placed; }
    std::optional<qint64> placedCursor() const { return m_placed; }
    void setPlacedCursor(std::optional<qint64> timeMs);
    // The curves' rectangle inside the axes.
    QRect plotArea() const;
    // Counts paints, for checking that samples do not each cause one.
    int paintCount() const { return m_paints; }

    // The tint of the band behind values of this status.
    static QColor statusColour(TrendStatus status);
    // The pen of a curve's line for values of this status: the curve's own
    // colour, hatched when the device flagged them.
    static QPen linePen(const QColor &colour, TrendStatus status);

Q_SIGNALS:
    void cursorMoved();
    // The user zoomed or panned (the view no longer follows).
    void viewChanged();
    // The user clicked the axis or its title.
    void axisClicked();

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    using Columns = std::vector<TrendColumn>;

    void drawAxes(QPainter &p, const QRect &area) const;
    void drawAxisTitle(QPainter &p, const QRect &area) const;
    void drawBands(QPainter &p, const QRect &area,
                   const std::array<Columns, CurveCount> &columns) const;
    void drawMarkers(QPainter &p, const QRect &area) const;
    void drawCurve(QPainter &p, const QRect &area, int curve, const Columns &columns) const;
    // Arrows at the scale's edge where a curve leaves it: (x, side) each.
    static void drawArrows(QPainter &p, const QRect &area, const TrendYScale &scale,
                           const QColor &colour, const QList<std::pair<double, int>> &arrows);
    void drawCursor(QPainter &p, const QRect &area, qint64 timeMs, Qt::PenStyle style) const;
    void fillAround(QPainter &p, const QRect &area, const QColor &colour) const;
    QString markerNoteAt(const QPoint &pos) const;

    const TrendRecorder &m_recorder;
    std::array<CurveStyle, CurveCount> m_styles;
    int m_axisCurve = 0;
    QString m_axisHint;
    TrendView m_view;
    std::optional<qint64> m_hover;
    std::optional<qint64> m_placed;
    std::optional<double> m_dragX;
    double m_pressX = 0.0;
    bool m_dragged = false;
    int m_paints = 0;
    mutable StaticTextCache m_labels;
    mutable StaticTextCache m_titles;
};
