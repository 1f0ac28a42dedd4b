#pragma once

#include "mainwin/clsVexaForm.h"

#include <array>

class CommandOutcome;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class ResponseWatch;
class SequenceStarter;
class VexaAppItem;
class VexaLabelTextUnit;
class VexaSequenceItem;
class ctlDisplaySetting;
class ctlFixedDigitalDisplay;

// Trims the 4-20 mA output: the output is held at 4 or 20 mA, the user
// enters what an external meter reads, and the device corrects its output
// converter at that end point. Closing takes the device back to normal
// operation first.
class frmCalibrateCurrent : public clsVexaForm
{
    Q_OBJECT

public:
    // The modes by their current: 0 normal operation, 4 and 20 mA.
    static constexpr std::array<int, 3> Modes{0, 4, 20};

    explicit frmCalibrateCurrent(QWidget *parent = nullptr);
    ~frmCalibrateCurrent() override;

    VexaSequenceItem *seqSetActualOutputValue;
    std::array<VexaSequenceItem *, 2> seqSetPvCurrentDac; // 4 mA, 20 mA
    VexaAppItem *appFixedOutputValue;
    VexaAppItem *appCurrentResponseCode;
    VexaAppItem *appCurrentRecordState;
    VexaAppItem *appActualOutputValue;
    VexaAppItem *appConnectionStatus;
    VexaAppItem *appAddress;
    VexaAppItem *appCurrentSequence;

    QGroupBox *Frame1;
    // By mode index: 0, 4 and 20 mA.
    std::array<QRadioButton *, 3> optAbgleich;
    std::array<VexaLabelTextUnit *, 2> txtMeasPvCurrLevel; // 4 mA, 20 mA
    QPushButton *cmdAbgleichen;
    // The loop current the device drives, bound through the display setting.
    QLabel *lblName;
    ctlFixedDigitalDisplay *displayCtrl;
    ctlDisplaySetting *ctlDisplaySetting1;
    QComboBox *cmbDummy;

    // The mode whose option is selected (0, 4 or 20).
    int selectedMode() const;
    bool closeRequested() const { return m_closeRequested; }
    bool awaitingOutputResponse() const { return m_awaitingOutputResponse; }
    // A trim was sent and its sequence has not ended.
    bool trimInFlight() const { return m_trimInFlight >= 0; }

protected:
    void FormLoad() override;
    void FormActivated() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildDisplay(QWidget *parent);
    void SetUpDisplay();
    // Selecting in code runs the option's reaction as a click would.
    void SelectMode(int mode);
    void RefreshEnabling();
    void appAddress_ValueChanged();
    void optAbgleich_Click(int mode);
    // The loop leaves automatic control only when the user agrees.
    bool ConfirmFixedCurrent(int mode);
    void SendOutputCommand(int mode);
    void ResponseArrived();
    void cmdAbgleichen_Click();
    void seqSetPvCurrentDac_StatusChanged(int endPoint, qint32 status);
    // written: the measured current the device took, as the host holds it.
    void ConfirmTrim(int endPoint, const QString &written);
    bool QueryUnload();

    ResponseWatch *m_responses;
    SequenceStarter *m_outputStarter;
    std::array<SequenceStarter *, 2> m_trimStarter;
    CommandOutcome *m_trimOutcome;
    bool m_suppressOutputCommand = false;
    int m_requestedCurrent = 0;
    int m_pendingCurrent = 0;
    bool m_awaitingOutputResponse = false;
    bool m_leavingFixedCurrent = false;
    bool m_closeRequested = false;
    // The end point (0: 4 mA, 1: 20 mA) whose trim runs, -1 for none.
    int m_trimInFlight = -1;
};
