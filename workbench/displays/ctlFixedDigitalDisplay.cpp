#include "ctlFixedDigitalDisplay.h"

#include "VexaAppItem.h"
#include "WinColor.h"

#include <QLabel>

ctlFixedDigitalDisplay::ctlFixedDigitalDisplay(QWidget *parent)
    : DigitalDisplayBase(parent), m_label(new QLabel(this))
{
    m_label->setObjectName(QStringLiteral("lblValue"));
    m_label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_label->setAutoFillBackground(true);
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::Window, WinColor::toColor(WinColor::Black));
    m_label->setPalette(palette);
    applyTextColour(textColour());
}

QFont ctlFixedDigitalDisplay::Font() const
{
    return m_label->font();
}

void ctlFixedDigitalDisplay::setFont(const QFont &font)
{
    m_label->setFont(font);
    updateGeometry();
    Q_EMIT PropertyChanged(QStringLiteral("Font"));
}

QSize ctlFixedDigitalDisplay::sizeHint() const
{
    return m_label->sizeHint();
}

void ctlFixedDigitalDisplay::showValue()
{
    m_label->setText(limitCode() + QLatin1Char(' ') + appMeasValue->FloatValueFormatted() +
                     QLatin1Char(' ') + appUnit->EnumValue());
}

void ctlFixedDigitalDisplay::applyTextColour(qint32 colour)
{
    QPalette palette = m_label->palette();
    palette.setColor(QPalette::WindowText, WinColor::toColor(colour));
    m_label->setPalette(palette);
}

void ctlFixedDigitalDisplay::resizeValueLabel()
{
    m_label->setGeometry(0, 0, width(), height());
}
