#pragma once

#include "DisplayWindow.h"

#include <array>

class QComboBox;
class VexaPlotter;
class VexaSequenceItem;
class ctlDisplaySetting;

// The trend recorder: four curves, each chosen from its own list. Reads the
// range values at each first activation, so that the curves' scales are the
// device's.
class frmDisplayTrend : public DisplayWindow
{
    Q_OBJECT

public:
    static constexpr int CurveCount = 4;

    explicit frmDisplayTrend(QWidget *parent = nullptr);

    const std::array<QComboBox *, CurveCount> cmbMeasValue;
    const std::array<ctlDisplaySetting *, CurveCount> ctlDisplaySettings;
    VexaPlotter *const plotter;
    VexaSequenceItem *const seqGetRangeValues;

    QSize sizeHint() const override { return {760, 460}; }

protected:
    void FormActivated() override;

private:
    void seqGetRangeValues_StatusChanged(qint32 status);

    bool m_rangeSequenceRunning = false;
};
