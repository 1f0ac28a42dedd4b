#include "frmDisplayNeedle.h"

#include "VexaAnalog.h"
#include "ctlDisplaySetting.h"
#include "mainwin/MainChildWindows.h"

#include <QComboBox>
#include <QVBoxLayout>

namespace {
const MainCommandTable::Registration
    registration("mnuDisplayGauge",
                 MainChildWindows::opener<frmDisplayNeedle>({.readRangeValues = true}));
} // namespace

frmDisplayNeedle::frmDisplayNeedle(QWidget *parent)
    : DisplayWindow("frmDisplayNeedle", 3940, {.width = true, .height = false}, parent),
      cmbMeasValue(new QComboBox(this)), displayCtrl(new VexaAnalog(this)),
      ctlDisplaySetting1(new ctlDisplaySetting(this))
{
    cmbMeasValue->setObjectName(QStringLiteral("cmbMeasValue"));
    displayCtrl->setObjectName(QStringLiteral("displayCtrl"));
    ctlDisplaySetting1->setObjectName(QStringLiteral("ctlDisplaySetting1"));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->addWidget(cmbMeasValue);
    layout->addWidget(displayCtrl, 1);
    setMinimumSize(pixels(MinWidthTwips), pixels(MinHeightTwips));
    connect(cmbMeasValue, &QComboBox::activated, this,
            [this] { ctlDisplaySetting1->ChangeDisplayedValue(); });
}

QSize frmDisplayNeedle::sizeHint() const
{
    return {pixels(MinWidthTwips) + 60, pixels(MinHeightTwips) + 60};
}

void frmDisplayNeedle::FormActivated()
{
    ctlDisplaySetting1->Init(displayCtrl, cmbMeasValue);
    cmbMeasValue->setCurrentIndex(0);
    ctlDisplaySetting1->ChangeDisplayedValue();
}
