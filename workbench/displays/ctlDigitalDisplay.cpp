#include "ctlDigitalDisplay.h"

#include "DigitalDisplayText.h"
#include "DynamicLabel.h"
#include "VexaAppItem.h"

ctlDigitalDisplay::ctlDigitalDisplay(QWidget *parent)
    : DigitalDisplayBase(parent), m_label(new DynamicLabel(this))
{
    m_label->setObjectName(QStringLiteral("lblValue"));
    m_label->setAlignment(DynamicLabel::RightJustify);
    connect(m_label, &DynamicLabel::Resize, this, &ctlDigitalDisplay::Resize);
}

int ctlDigitalDisplay::valueHeight() const
{
    return m_label->height();
}

void ctlDigitalDisplay::showValue()
{
    const QString value = appMeasValue->FloatValueFormatted();
    m_mask = DigitalDisplayText::maskLength(m_mask, int(value.size()));
    m_label->setCaption(
        DigitalDisplayText::compose(limitCode(), value, appUnit->EnumValue(), m_mask));
}

void ctlDigitalDisplay::applyTextColour(qint32 colour)
{
    m_label->setForeColor(colour);
}

void ctlDigitalDisplay::resizeValueLabel()
{
    m_label->Size(float(width() * m_label->twipsPerPixelX()),
                  float(height() * m_label->twipsPerPixelY()));
}
