#pragma once

#include "DigitalDisplayBase.h"

#include <QFont>

class QLabel;

// A measured value on one line (code, value, unit) in a plain label with a
// chosen font, for overviews of several values.
class ctlFixedDigitalDisplay : public DigitalDisplayBase
{
    Q_OBJECT
    Q_PROPERTY(QFont Font READ Font WRITE setFont)

public:
    explicit ctlFixedDigitalDisplay(QWidget *parent = nullptr);

    QFont Font() const;
    void setFont(const QFont &font);
    QLabel *lblValue() const { return m_label; }

    QSize sizeHint() const override;

protected:
    void showValue() override;
    void applyTextColour(qint32 colour) override;
    void resizeValueLabel() override;

private:
    QLabel *m_label;
};
