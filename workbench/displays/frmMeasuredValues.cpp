#include "frmMeasuredValues.h"

#include "IndexedControls.h"

#include "ctlDisplaySetting.h"
#include "ctlFixedDigitalDisplay.h"
#include "mainwin/MainChildWindows.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QVBoxLayout>

namespace {
const MainCommandTable::Registration
    registration("mnuDisplayMeasuredValues",
                 MainChildWindows::opener<frmMeasuredValues>({.readRangeValues = true}));

} // namespace

frmMeasuredValues::frmMeasuredValues(QWidget *parent)
    : DisplayWindow("frmMeasuredValues", 3944, {}, parent), fraGroupAll(new QFrame(this)),
      lblName(makeIndexedControls<QLabel, ValueCount>(fraGroupAll, "lblName")),
      displayCtrl(
          makeIndexedControls<ctlFixedDigitalDisplay, ValueCount>(fraGroupAll, "displayCtrl")),
      cmbDummy(new QComboBox(this)), ctlDisplaySetting1(new ctlDisplaySetting(this))
{
    fraGroupAll->setObjectName(QStringLiteral("fraGroupAll"));
    cmbDummy->setObjectName(QStringLiteral("cmbDummy"));
    cmbDummy->setVisible(false);
    ctlDisplaySetting1->setObjectName(QStringLiteral("ctlDisplaySetting1"));
    auto *grid = new QGridLayout(fraGroupAll);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(10);
    QFont digits(QStringLiteral("DejaVu Sans Mono"));
    digits.setStyleHint(QFont::TypeWriter);
    digits.setPointSizeF(font().pointSizeF() * 1.5);
    digits.setBold(true);
    for (int i = 0; i < ValueCount; ++i) {
        displayCtrl[i]->setFont(digits);
        displayCtrl[i]->setMinimumWidth(
            QFontMetrics(digits).horizontalAdvance(QStringLiteral("UA -0000.000 mbar")));
        grid->addWidget(lblName[i], i, 0);
        grid->addWidget(displayCtrl[i], i, 1);
    }
    grid->setColumnStretch(1, 1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->addWidget(fraGroupAll);
    layout->addStretch(1);
}

void frmMeasuredValues::FormActivated()
{
    // One setting serves the six displays, each with its own entry.
    for (int i = 0; i < ValueCount; ++i) {
        ctlDisplaySetting1->Init(displayCtrl[i], cmbDummy);
        cmbDummy->setCurrentIndex(i);
        lblName[i]->setText(cmbDummy->currentText());
        ctlDisplaySetting1->ChangeDisplayedValue();
    }
    // The values were hidden until now; the window takes the size they need.
    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
        frame->adjustSize();
    else
        adjustSize();
}
