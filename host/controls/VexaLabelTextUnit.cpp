#include "VexaLabelTextUnit.h"

VexaLabelTextUnit::VexaLabelTextUnit(QWidget *parent) : VexaText(parent)
{
    setVisibleUnit(true);
}
