#include "frmDisplayBar.h"

#include "VexaBarGraph.h"
#include "ctlDisplaySetting.h"
#include "mainwin/MainChildWindows.h"

#include <QComboBox>
#include <QFrame>
#include <QVBoxLayout>

namespace {
const MainCommandTable::Registration
    registration("mnuDisplayBar",
                 MainChildWindows::opener<frmDisplayBar>({.readRangeValues = true}));
} // namespace

frmDisplayBar::frmDisplayBar(QWidget *parent)
    : DisplayWindow("frmDisplayBar", 3941, {.width = true, .height = true}, parent),
      cmbMeasValue(new QComboBox(this)), fraStatus(new QFrame(this)),
      displayCtrl(new VexaBarGraph(fraStatus)), ctlDisplaySetting1(new ctlDisplaySetting(this))
{
    cmbMeasValue->setObjectName(QStringLiteral("cmbMeasValue"));
    fraStatus->setObjectName(QStringLiteral("fraStatus"));
    fraStatus->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    displayCtrl->setObjectName(QStringLiteral("displayCtrl"));
    ctlDisplaySetting1->setObjectName(QStringLiteral("ctlDisplaySetting1"));
    auto *inFrame = new QVBoxLayout(fraStatus);
    inFrame->setContentsMargins(2, 2, 2, 2);
    inFrame->addWidget(displayCtrl);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->addWidget(cmbMeasValue);
    layout->addWidget(fraStatus, 1);
    setMinimumSize(180, 220);
    connect(cmbMeasValue, &QComboBox::activated, this,
            [this] { ctlDisplaySetting1->ChangeDisplayedValue(); });
}

void frmDisplayBar::FormActivated()
{
    ctlDisplaySetting1->Init(displayCtrl, cmbMeasValue);
    cmbMeasValue->setCurrentIndex(0);
    ctlDisplaySetting1->ChangeDisplayedValue();
}
