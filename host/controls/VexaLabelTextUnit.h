#pragma once

#include "VexaText.h"

// Caption, entry field and unit in one row: the common form of a device
// parameter on a dialog.
class VexaLabelTextUnit : public VexaText
{
    Q_OBJECT

public:
    explicit VexaLabelTextUnit(QWidget *parent = nullptr);
};
