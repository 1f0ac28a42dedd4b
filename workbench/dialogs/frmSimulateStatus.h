#pragma once

#include "DialogDeviceInfo.h"
#include "mainwin/clsVexaForm.h"

#include <array>

class DiagnosisCheckGrid;
class QButtonGroup;
class QPushButton;
class QRadioButton;
class VexaAppItem;
class VexaSequenceItem;

// Status simulation: the device reports the diagnosis bits the user ticks as
// if they were set, while its operating mode is "Simulation on". "Proceed"
// sends mode and bits with one sequence; closing while the simulation runs
// asks whether to end it.
class frmSimulateStatus : public clsVexaForm
{
    Q_OBJECT

public:
    static constexpr int Categories = 5;
    // Boxes 25 and 26 exist from this software version on.
    static constexpr std::array<quint8, 3> ElectronicsBits56From{1, 0, 2};

    explicit frmSimulateStatus(QWidget *parent = nullptr);
    ~frmSimulateStatus() override;

    VexaSequenceItem *seqSetDiagnosisSimulation;
    std::array<VexaAppItem *, Categories> appStatus{};
    std::array<VexaAppItem *, Categories> appStatusShadow{};
    VexaAppItem *appToggleSimulation;
    VexaAppItem *appToggleSimulationShadow;
    VexaAppItem *appSoftwareRevision;
    VexaAppItem *appConnectionStatus;
    std::array<QRadioButton *, 2> optToggleSimulation{};
    QPushButton *cmdSetDiagnosisSimulation;
    DiagnosisCheckGrid *checks;

    bool sequenceRunning() const { return m_sequenceRunning; }
    bool closeRequested() const { return m_closeRequested; }

protected:
    void FormLoad() override;
    void FormActivated() override;
    void FormUnload() override;
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    void connectReactions();
    void showCategory(int category);
    void boxClicked(int box, bool checked);
    void showSoftwareRevision();
    void showConnection();
    void showMode();
    void chooseMode(int mode);
    void followShadow(int category);
    void followModeShadow();
    void send();
    void sequenceStatusChanged(qint32 status);
    // False when closing must wait (the simulation is being ended).
    bool queryUnload();

    DialogDeviceInfo m_deviceInfo;
    QButtonGroup *m_modes;
    bool m_updatingChecks = false;
    std::array<qint32, Categories + 1> m_lastShadowStatus{};
    qint32 m_lastShadowMode = 99;
    bool m_sequenceRunning = false;
    bool m_closeRequested = false;
};
