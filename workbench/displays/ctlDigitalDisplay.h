#pragma once

#include "DigitalDisplayBase.h"

class DynamicLabel;

// A measured value in two lines, value over unit, in a label that sizes its
// font to the control's width. Its height follows from that: Resize tells
// the hosting window when it changed.
class ctlDigitalDisplay : public DigitalDisplayBase
{
    Q_OBJECT

public:
    explicit ctlDigitalDisplay(QWidget *parent = nullptr);

    DynamicLabel *lblValue() const { return m_label; }
    // The field width of value and unit (0 before the first value).
    int maskLength() const { return m_mask; }
    // The label's height for the control's width, in pixels.
    int valueHeight() const;

Q_SIGNALS:
    void Resize();

protected:
    void showValue() override;
    void applyTextColour(qint32 colour) override;
    void resizeValueLabel() override;

private:
    DynamicLabel *m_label;
    int m_mask = 0;
};
