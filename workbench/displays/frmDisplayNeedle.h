#pragma once

#include "DisplayWindow.h"

class QComboBox;
class VexaAnalog;
class ctlDisplaySetting;

// A measured value on a round gauge, chosen from a list.
class frmDisplayNeedle : public DisplayWindow
{
    Q_OBJECT

public:
    // The smallest window the gauge is readable in.
    static constexpr int MinWidthTwips = 3510;
    static constexpr int MinHeightTwips = 3150;

    explicit frmDisplayNeedle(QWidget *parent = nullptr);

    QComboBox *const cmbMeasValue;
    VexaAnalog *const displayCtrl;
    ctlDisplaySetting *const ctlDisplaySetting1;

    QSize sizeHint() const override;

protected:
    void FormActivated() override;
};
