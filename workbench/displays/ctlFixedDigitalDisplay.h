#pragma once

#include "DigitalDisplayBase.h"

#include <QFont>

class QLabel;

// A measured value on one line (code, value, unit) in a plain label with a
// chosen font, for overviews of several values. A text too wide for the
// label is drawn smaller, down to MinimumPoints, rather than cut.
class ctlFixedDigitalDisplay : public DigitalDisplayBase
{
    Q_OBJECT
    Q_PROPERTY(QFont Font READ Font WRITE setFont)

public:
    static constexpr int Margin = 4;
    static constexpr qreal MinimumPoints = 6.0;

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
    void fitText();

    QLabel *m_label;
    QFont m_font; // as chosen; the label's may be smaller
};
