#include "frmDisplayTrend.h"

#include "IndexedControls.h"

#include "VexaPlotter.h"
#include "VexaSequenceItem.h"
#include "ctlDisplaySetting.h"
#include "mainwin/MainChildWindows.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

namespace {
const MainCommandTable::Registration registration("mnuDisplayTrend",
                                                  MainChildWindows::opener<frmDisplayTrend>());

} // namespace

frmDisplayTrend::frmDisplayTrend(QWidget *parent)
    : DisplayWindow("frmDisplayTrend", 3943, {}, parent),
      cmbMeasValue(makeIndexedControls<QComboBox, CurveCount>(this, "cmbMeasValue")),
      ctlDisplaySettings(
          makeIndexedControls<ctlDisplaySetting, CurveCount>(this, "ctlDisplaySetting")),
      plotter(new VexaPlotter(this)), seqGetRangeValues(new VexaSequenceItem(this))
{
    plotter->setObjectName(QStringLiteral("VexaPlotter"));
    // The exported picture says whose curves they are.
    plotter->setObjectNameTag(QStringLiteral("&&private_PM&&TagName"));
    seqGetRangeValues->setObjectName(QStringLiteral("seqGetRangeValues"));
    seqGetRangeValues->setAppItemName(QStringLiteral("GetRangeValues"));
    auto *layout = new QGridLayout(this);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    for (int c = 0; c < CurveCount; ++c) {
        // The list's colour is its curve's.
        auto *swatch = new QLabel(this);
        QPixmap colour(10, 10);
        colour.fill(VexaPlotter::curveColour(c));
        swatch->setPixmap(colour);
        // Two rows of two, so that the longest names fit a small window.
        const int row = c / 2;
        const int column = (c % 2) * 2;
        layout->addWidget(swatch, row, column);
        layout->addWidget(cmbMeasValue[c], row, column + 1);
        layout->setColumnStretch(column + 1, 1);
        connect(cmbMeasValue[c], &QComboBox::activated, this,
                [this, c] { ctlDisplaySettings[c]->ChangeDisplayedValue(); });
    }
    layout->addWidget(plotter, 2, 0, 1, 4);
    layout->setRowStretch(2, 1);
    setMinimumSize(420, 260);
    connect(seqGetRangeValues, &VexaSequenceItem::StatusChanged, this,
            [this](qint32 &status) { seqGetRangeValues_StatusChanged(status); });
}

void frmDisplayTrend::FormActivated()
{
    plotter->setPlotterCaption(GetResText(3943));
    // Each curve starts on its own measured value.
    for (int c = 0; c < CurveCount; ++c) {
        ctlDisplaySettings[c]->Init(plotter, cmbMeasValue[c]);
        cmbMeasValue[c]->setCurrentIndex(c);
        ctlDisplaySettings[c]->ChangeDisplayedValue();
    }
    m_rangeSequenceRunning = true;
    seqGetRangeValues->Start();
}

void frmDisplayTrend::seqGetRangeValues_StatusChanged(qint32 status)
{
    if (!m_rangeSequenceRunning)
        return;
    if (status == 2) {
        seqGetRangeValues->DoAction(1);
    } else if (status == 0) {
        m_rangeSequenceRunning = false;
        seqGetRangeValues->Adjust();
    }
}
