#include "VexaLabel.h"

#include "VexaItemBinding.h"

#include <QLabel>

VexaLabel::VexaLabel(QWidget *parent) : VexaFieldControl(new QLabel, parent)
{
    auto *value = static_cast<QLabel *>(fieldPart());
    value->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    value->setTextInteractionFlags(Qt::TextSelectableByMouse);
    setFocusPolicy(Qt::NoFocus);
}

QString VexaLabel::valueText() const
{
    return static_cast<QLabel *>(fieldPart())->text();
}

void VexaLabel::showField()
{
    static_cast<QLabel *>(fieldPart())->setText(fieldBinding().displayText());
}
