#pragma once

#include "VexaMeterControl.h"

class QFontMetricsF;
class QPainter;

// The framework's bar graph: a vertical bar against a scale, the warning
// and alarm bands beside it, the value with its unit above.
class VexaBarGraph : public VexaMeterControl
{
    Q_OBJECT
    Q_PROPERTY(QString bargraphcaption READ barGraphCaption WRITE setBarGraphCaption)
    Q_PROPERTY(bool zerovalue READ zeroValue WRITE setZeroValue)

public:
    // The parts of the bar graph in a rectangle, for painting and tests.
    struct Layout
    {
        QRectF caption;
        QRectF value;
        QRectF scale; // labels, right-aligned against the bar
        QRectF bar;
        QRectF bands;
    };

    explicit VexaBarGraph(QWidget *parent = nullptr);

    QString barGraphCaption() const { return m_caption; }
    void setBarGraphCaption(const QString &caption);
    // Fill from zero (when the scale holds it) rather than from the scale's start.
    bool zeroValue() const { return m_zeroValue; }
    void setZeroValue(bool on);

    static Layout layout(const QRectF &area, double textHeight, double labelWidth,
                         bool withCaption);
    // The filled stretch of the bar from the base value to the value, in
    // bar coordinates (y grows downwards); empty without a value.
    static QRectF fill(const QRectF &bar, double value, double base, double start, double end);

    QSize sizeHint() const override { return {160, 280}; }
    QSize minimumSizeHint() const override { return {100, 140}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double yOf(const QRectF &bar, double value) const;
    void drawBarAndBands(QPainter &p, const Layout &parts) const;
    void drawScale(QPainter &p, const Layout &parts, const VexaScale::Ticks &t,
                   const QFontMetricsF &metrics) const;

    QString m_caption;
    bool m_zeroValue = false;
};
