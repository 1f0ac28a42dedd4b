#pragma once

#include "mainwin/clsVexaForm.h"

#include <array>

class CommandOutcome;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class ResponseWatch;
class SequenceStarter;
class VexaAppItem;
class VexaLabelTextUnit;
class VexaSequenceItem;
class ctlDisplaySetting;
class ctlFixedDigitalDisplay;

// Calibrates the pressure sensor at its lower and upper balance point and
// the sensor temperature, with the pressure and the temperature shown live.
// Each calibration is asked for before it is sent and confirmed when the
// device has done it. The balance points are read once per opening, and
// again after the connection was lost and came back.
class frmCalibratePressure : public clsVexaForm
{
    Q_OBJECT

public:
    explicit frmCalibratePressure(QWidget *parent = nullptr);
    ~frmCalibratePressure() override;

    VexaSequenceItem *seqGetPressureCalPoints;
    // 0 lower, 1 upper balance point, 2 sensor temperature.
    std::array<VexaSequenceItem *, 3> seqSetCalPoint;
    VexaAppItem *appConnectionStatus;
    VexaAppItem *appCurrentSequence;
    VexaAppItem *appCurrentResponseCode;
    VexaAppItem *appCurrentRecordState;

    std::array<VexaLabelTextUnit *, 3> txtCalPoint;
    std::array<QPushButton *, 3> cmdSetCalPoint;
    QGroupBox *Frame2;
    // The live values, damped pressure and sensor temperature: name and
    // display of each, bound through the display settings.
    std::array<QLabel *, 2> lblName;
    std::array<ctlFixedDigitalDisplay *, 2> displayCtrl;
    std::array<ctlDisplaySetting *, 2> ctlDisplaySetting1;
    QComboBox *cmbDummy;

    bool calPointsReadPending() const { return m_calPointsReadPending; }
    // A calibration was sent and its sequence has not ended.
    bool calibrationInFlight() const { return m_calibrationInFlight >= 0; }

protected:
    void FormLoad() override;
    void FormActivated() override;

private:
    void buildMeasuredValues();
    void SetUpDisplays();
    void ReadCalPoints();
    void appConnectionStatus_ValueChanged2();
    void seqGetPressureCalPoints_StatusChanged(qint32 status);
    void cmdSetCalPoint_Click(int index);
    void seqSetCalPoint_StatusChanged(int index, qint32 status);
    void RefreshButtons();
    void ConfirmCalibration(int index);
    QString shownValue(int index) const;

    SequenceStarter *m_readStarter;
    std::array<SequenceStarter *, 3> m_calStarter;
    ResponseWatch *m_responses;
    CommandOutcome *m_calOutcome;
    // The calibration (index as seqSetCalPoint) whose sequence runs, -1 for none.
    int m_calibrationInFlight = -1;
    bool m_calPointsReadPending = false;
    bool m_calPointsAdjustPending = false;
};
