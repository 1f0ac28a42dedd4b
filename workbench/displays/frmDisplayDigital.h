#pragma once

#include "DisplayWindow.h"

class QComboBox;
class QFrame;
class ctlDigitalDisplay;
class ctlDisplaySetting;

// A measured value in large digits, chosen from a list. Several may be open
// at once. The user sets the width; the height follows the digits.
class frmDisplayDigital : public DisplayWindow
{
    Q_OBJECT

public:
    explicit frmDisplayDigital(QWidget *parent = nullptr);

    QComboBox *const cmbMeasValue;
    QFrame *const fraStatus;
    ctlDigitalDisplay *const displayCtrl;
    ctlDisplaySetting *const ctlDisplaySetting1;

    QSize sizeHint() const override;

protected:
    void FormActivated() override;
    void resizeEvent(QResizeEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    void relayout();

    bool m_layingOut = false;
};
