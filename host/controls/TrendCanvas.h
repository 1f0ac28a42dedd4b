#pragma once

#include "TrendSample.h"
#include "TrendView.h"

#include <QWidget>
#include <array>
#include <optional>

class TrendRecorder;

// Draws the trend's curves over a time axis and lets the user move through
// time: the wheel zooms around the pointer, dragging pans, a double click
// goes back to following the newest samples. Each curve has its own scale;
// the left axis shows the scale of one chosen curve. Values the device
// flags are drawn in a warning colour; gaps are left open.
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
    };

    explicit TrendCanvas(const TrendRecorder &recorder, QWidget *parent = nullptr);

    void setCurveStyle(int curve, const CurveStyle &style);
    const CurveStyle &curveStyle(int curve) const { return m_styles[curve]; }
    void setAxisCurve(int curve);
    int axisCurve() const { return m_axisCurve; }

    const TrendView &view() const { return m_view; }
    void setView(const TrendView &view);
    // Live following: the view's end moves to the newest time.
    void follow(qint64 nowMs);

    std::optional<qint64> cursorTime() const { return m_cursor; }
    // The curves' rectangle inside the axes.
    QRect plotArea() const;
    // Counts paints, for checking that samples do not each cause one.
    int paintCount() const { return m_paints; }

    static QColor statusColour(TrendStatus status);

Q_SIGNALS:
    void cursorMoved();
    // The user zoomed or panned (the view no longer follows).
    void viewChanged();

protected:
    void paintEvent(QPaintEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;

private:
    void drawAxes(QPainter &p, const QRect &area) const;
    void drawMarkers(QPainter &p, const QRect &area) const;
    void drawCurve(QPainter &p, const QRect &area, int curve) const;

    const TrendRecorder &m_recorder;
    std::array<CurveStyle, CurveCount> m_styles;
    int m_axisCurve = 0;
    TrendView m_view;
    std::optional<qint64> m_cursor;
    std::optional<double> m_dragX;
    int m_paints = 0;
};
