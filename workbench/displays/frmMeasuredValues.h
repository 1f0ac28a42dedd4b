#pragma once

#include "DisplayWindow.h"

#include <array>

class QComboBox;
class QFrame;
class QLabel;
class ctlDisplaySetting;
class ctlFixedDigitalDisplay;

// Every measured value at once, one line each, with its name.
class frmMeasuredValues : public DisplayWindow
{
    Q_OBJECT

public:
    static constexpr int ValueCount = 6;

    explicit frmMeasuredValues(QWidget *parent = nullptr);

    QFrame *const fraGroupAll;
    const std::array<QLabel *, ValueCount> lblName;
    const std::array<ctlFixedDigitalDisplay *, ValueCount> displayCtrl;
    QComboBox *const cmbDummy;
    ctlDisplaySetting *const ctlDisplaySetting1;

protected:
    void FormActivated() override;
};
