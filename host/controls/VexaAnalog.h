#pragma once

#include "VexaMeterControl.h"

#include <functional>

struct VexaGaugeGeometry;
class QPainter;

// The framework's round gauge: a dial with the scale, the warning and alarm
// bands, a needle, and the value with its unit below.
class VexaAnalog : public VexaMeterControl
{
    Q_OBJECT

public:
    explicit VexaAnalog(QWidget *parent = nullptr);

    QSize sizeHint() const override { return {260, 240}; }
    QSize minimumSizeHint() const override { return {120, 110}; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    // The dial's angle of a value on the scale.
    using AngleOf = std::function<double(double)>;
    void drawBands(QPainter &p, const VexaGaugeGeometry &g, const AngleOf &angleOf) const;
    void drawTicks(QPainter &p, const VexaGaugeGeometry &g, const AngleOf &angleOf) const;
    void drawValueText(QPainter &p, const VexaGaugeGeometry &g) const;
    void drawNeedle(QPainter &p, const VexaGaugeGeometry &g, const AngleOf &angleOf) const;
};
