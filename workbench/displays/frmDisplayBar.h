#pragma once

#include "DisplayWindow.h"

class QComboBox;
class QFrame;
class VexaBarGraph;
class ctlDisplaySetting;

// A measured value as a bar graph, chosen from a list.
class frmDisplayBar : public DisplayWindow
{
    Q_OBJECT

public:
    explicit frmDisplayBar(QWidget *parent = nullptr);

    QComboBox *const cmbMeasValue;
    QFrame *const fraStatus;
    VexaBarGraph *const displayCtrl;
    ctlDisplaySetting *const ctlDisplaySetting1;

    QSize sizeHint() const override { return {240, 380}; }

protected:
    void FormActivated() override;
};
