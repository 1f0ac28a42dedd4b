#pragma once

#include "mainwin/clsVexaForm.h"

#include <QVariant>
#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class SequenceStarter;
class VexaAppItem;
class VexaLabelComboUnit;
class VexaLabelTextUnit;
class VexaSequenceItem;
class VexaText;

// Configures the pressure measurement: the input range typed in or taken
// from the applied pressure, the output scaling and unit, the damping, the
// zero-shift adjustment and the parallel shift of the range. Beside the range
// boxes a preview shows what the output would be for the live pressure under
// the range typed, before it is written.
class frmConfigPrimaryMeas : public clsVexaForm
{
    Q_OBJECT

public:
    explicit frmConfigPrimaryMeas(QWidget *parent = nullptr);
    ~frmConfigPrimaryMeas() override;

    // Item and sequence controls.
    VexaSequenceItem *seqSetPvZero;
    VexaSequenceItem *seqPerformOffsetShift;
    VexaSequenceItem *seqGetParallelShiftData;
    std::array<VexaSequenceItem *, 2> seqSetPvRangeValues;
    std::array<VexaAppItem *, 2> appScaleInLim;
    std::array<VexaAppItem *, 2> appScaleInLimRounded;
    VexaAppItem *appOffsetShiftScaleIn;
    VexaAppItem *appOutScaleUnit;
    VexaAppItem *appCurrentSequence;
    VexaAppItem *appPercentRange;
    VexaAppItem *appConnectionStatus;
    // For the preview: the range the device holds, the live pressure, the
    // transfer function and the unit.
    std::array<VexaAppItem *, 2> appScaleInLimDevice;
    VexaAppItem *appPrimaryValue;
    VexaAppItem *appTransferFunction;
    VexaAppItem *appPrimaryValueUnit;

    // Visible controls.
    QTabWidget *tbsOptions;
    VexaLabelTextUnit *txtScaleInLoLim;
    VexaLabelTextUnit *txtScaleInHiLim;
    VexaLabelComboUnit *cmbUnitsPv;
    QRadioButton *optWerteingabe;
    QRadioButton *optProzessdruckuebernahme;
    std::array<QLineEdit *, 2> txtScaleInLimEx;
    std::array<QLabel *, 2> lblScaleInLimUnit;
    std::array<QPushButton *, 2> cmdSetPrimaryVariableRangeValue;
    VexaLabelTextUnit *txtMessanfang;
    VexaLabelTextUnit *txtMessende;
    VexaLabelComboUnit *cmbUnitsOut;
    VexaText *txtFreeUnitText;
    VexaText *txtFilterTime;
    QPushButton *Cmd_Set_PV_Value;
    QLineEdit *txtMesswertAktuell;
    QPushButton *cmdParallelShift;
    QGroupBox *fraPreview;
    QLabel *lblPreviewPressure;
    std::array<QLabel *, 2> lblPreviewCurrent; // now, new
    std::array<QLabel *, 2> lblPreviewPercent;
    QLabel *lblPreviewWarning;

    // Dialog state.
    bool offsetShiftRequested() const { return m_offsetShiftRequested; }
    int parallelShiftStep() const { return m_parallelShiftStep; }
    QVariant lastCommittedText(int index) const { return m_lastCommittedText.at(index); }

    // Range boxes: the commit on Enter or leaving the box.
    void CommitRangeEntry(int index);
    // The preview again, from the boxes' texts and the live values.
    void RefreshPreview();

protected:
    void FormLoad() override;
    void FormActivated() override;

private:
    QWidget *buildPressurePage();
    QWidget *buildOutputPage();
    QWidget *buildTransferPage();
    QWidget *buildDigitizationPage();
    QGroupBox *buildScalingFrame(QWidget *page);
    QGroupBox *buildPreviewFrame(QWidget *page);
    void connectReactions();

    // Reactions, named after the control and its event.
    void appConnectionStatus_ValueChanged();
    void optWerteingabe_Click();
    void optProzessdruckuebernahme_Click();
    void appScaleInLimRounded_ValueChanged(int index);
    void RefreshChangeMarking(int index);
    void appOutScaleUnit_ValueChanged();
    void cmdSetPrimaryVariableRangeValue_Click(int index);
    void seqSetPvRangeValues_StatusChanged(int index, qint32 status);
    void Cmd_Set_PV_Value_Click();
    void seqSetPvZero_StatusChanged(qint32 status);
    void cmdParallelShift_Click();
    void seqGetParallelShiftData_StatusChanged(qint32 status);
    void seqPerformOffsetShift_StatusChanged(qint32 status);
    void WriteOffsetShiftTarget();
    void RereadShiftData();

    std::array<SequenceStarter *, 2> m_rangeStarter;
    SequenceStarter *m_zeroStarter;
    SequenceStarter *m_shiftReadStarter;
    SequenceStarter *m_shiftWriteStarter;
    // The user pressed Execute and the read has not been taken yet.
    bool m_shiftAsked = false;
    bool m_offsetShiftRequested = false;
    int m_parallelShiftStep = 0;
    std::array<QVariant, 3> m_lastCommittedText;
    bool m_online = false;
};
