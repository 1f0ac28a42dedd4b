#pragma once

#include "VexaMeterControl.h"

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
};
