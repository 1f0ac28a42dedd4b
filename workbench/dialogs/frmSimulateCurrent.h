#pragma once

#include "mainwin/clsVexaForm.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSlider;
class ResponseWatch;
class SequenceStarter;
class VexaAppItem;
class VexaSequenceItem;

// Holds the loop current at a value the user chooses (simulation of the
// output), shows what the device drives, and ends the simulation again,
// also when the dialog is closed.
class frmSimulateCurrent : public clsVexaForm
{
    Q_OBJECT

public:
    explicit frmSimulateCurrent(QWidget *parent = nullptr);
    ~frmSimulateCurrent() override;

    VexaSequenceItem *seqSetActualOutputValue;
    // Asks the device for the answer that closes the dialog after "Yes".
    VexaSequenceItem *seqReadOutput;
    VexaAppItem *appLevelCurr;
    VexaAppItem *appCurr;
    VexaAppItem *appCurrentResponseCode;
    VexaAppItem *appCurrentRecordState;
    VexaAppItem *appConnectionStatus;
    VexaAppItem *appAddress;
    VexaAppItem *appCurrentSequence;

    QCheckBox *Check1;
    QLineEdit *txtStromwert;
    QSlider *Slider1;
    QLabel *lblLowerLimit;
    QLabel *lblUpperLimit;

    bool sequenceRunning() const { return m_sequenceRunning; }
    bool closeRequested() const { return m_closeRequested; }
    // The entry is checked and clamped, as when the user leaves the box.
    void txtStromwert_Validate();

    // Whether the menu asks before showing the dialog: not when its window
    // is open or its simulation still holds the output (closed with "No"),
    // for then the loop is out of automatic control already and the user
    // wants the window back. instance: the dialog kept, null before the
    // first opening.
    static bool QuestionBeforeOpening(const QWidget *instance);

protected:
    void FormLoad() override;
    void FormActivated() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void appConnectionStatus_ValueChanged();
    void appAddress_ValueChanged();
    void Check1_Click();
    // Sets the check box in code; its reaction runs as a click would when
    // the state changes (or always, with force).
    void SetChecked(bool checked, bool force = false);
    void seqSetActualOutputValue_StatusChanged(qint32 status);
    void ResponseArrived();
    void AskForFollowingAnswer();
    void appCurr_ValueChanged();
    void Slider1_Change(int position);
    void SetSliderQuietly(int position);
    void WaitForResponse(bool waiting);
    bool QueryUnload();

    ResponseWatch *m_responses;
    SequenceStarter *m_starter;
    SequenceStarter *m_readStarter;
    bool m_suppressOutputCommand = false;
    int m_requestedFixedMode = 99;
    bool m_awaitingModeConfirmation = false;
    bool m_sequenceRunning = false;
    bool m_closeRequested = false;
    // A response came since the output sequence was started.
    bool m_responseSinceStart = false;
    bool m_settingSlider = false;
};
