#pragma once

#include "TrendRecorder.h"

#include <QDateTime>
#include <QWidget>
#include <array>

class GenericDevice;
class TrendCanvas;

// The dynamic variables over time, one curve each in its own unit, from the
// live values the controller reads. The primary variable's scale is its
// range; the others take the span their values have covered.
class GenericTrendPage : public QWidget
{
    Q_OBJECT

public:
    GenericTrendPage(GenericDevice &device, QWidget *parent = nullptr);

    TrendCanvas *canvas() const { return m_canvas; }
    const TrendRecorder &recorder() const { return m_recorder; }

private:
    void sample();
    void restyle(int curve);
    void nextAxisCurve();

    struct Span
    {
        double minimum = 0.0;
        double maximum = 0.0;
        bool seen = false;
    };

    GenericDevice &m_device;
    TrendRecorder m_recorder;
    TrendCanvas *m_canvas;
    QDateTime m_lastSample;
    std::array<QString, TrendRecorder::CurveCount> m_units;
    std::array<Span, TrendRecorder::CurveCount> m_spans;
};
