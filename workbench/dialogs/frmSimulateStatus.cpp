#include "frmSimulateStatus.h"

#include "DiagnosisBits.h"
#include "DiagnosisCheckGrid.h"
#include "DialogControls.h"
#include "MessageBoxSeam.h"
#include "VexaAppItem.h"
#include "VexaSequenceItem.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/global.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const char *const StatusItems[frmSimulateStatus::Categories] = {
    "simulationMeasurement", "simulationProcess", "simulationElectronics", "simulationExtension",
    "simulationOperation"};
constexpr int OperationCategory = 4;
constexpr int OutputSimulatedBox = 42;
constexpr int Connected = 2;
constexpr qint32 NotSeen = 99;
constexpr qint32 StateModified = 0x1;

VexaAppItem *item(const char *name, QWidget *parent, bool onShadow = false)
{
    auto *control = new VexaAppItem(parent);
    control->setAppItemName(QLatin1String(name));
    if (onShadow) {
        control->setRegisterOnShadow(true);
        control->setUpdateInterval(1);
    }
    return control;
}
} // namespace

frmSimulateStatus::frmSimulateStatus(QWidget *parent) : clsVexaForm(parent)
{
    build();
    connectReactions();
}

frmSimulateStatus::~frmSimulateStatus() = default;

void frmSimulateStatus::build()
{
    setObjectName(QStringLiteral("frmSimulateStatus"));
    setProperty("Tag", 3500);
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraGroupAll"));

    seqSetDiagnosisSimulation = new VexaSequenceItem(frame);
    seqSetDiagnosisSimulation->setAppItemName(QStringLiteral("SetDiagnosisSimulation"));
    for (int c = 0; c < Categories; ++c) {
        appStatus[c] = item(StatusItems[c], frame);
        appStatusShadow[c] = item(StatusItems[c], frame, true);
    }
    appToggleSimulation = item("operationMode", frame);
    appToggleSimulationShadow = item("operationMode", frame, true);
    appSoftwareRevision = item("softwareRevision", frame);
    appConnectionStatus = item("&&private&&Connect", frame);

    m_modes = new QButtonGroup(this);
    auto *modes = new QHBoxLayout;
    const int modeText[2] = {3520, 3519};
    for (int i = 0; i < 2; ++i) {
        optToggleSimulation[i] = new QRadioButton(frame);
        optToggleSimulation[i]->setObjectName(QStringLiteral("optToggleSimulation%1").arg(i));
        optToggleSimulation[i]->setProperty("Tag", modeText[i]);
        m_modes->addButton(optToggleSimulation[i], i);
        modes->addWidget(optToggleSimulation[i]);
    }
    modes->addStretch(1);
    cmdSetDiagnosisSimulation = new QPushButton(frame);
    cmdSetDiagnosisSimulation->setObjectName(QStringLiteral("cmdSetDiagnosisSimulation"));
    cmdSetDiagnosisSimulation->setProperty("Tag", 3501);
    cmdSetDiagnosisSimulation->setEnabled(false);
    modes->addWidget(cmdSetDiagnosisSimulation);

    checks = new DiagnosisCheckGrid(DiagnosisBits::simulationBoxes(), frame);
    // The device reports this bit for as long as it simulates: always ticked.
    checks->chkValue(OutputSimulatedBox)->setChecked(true);
    checks->chkValue(OutputSimulatedBox)->setEnabled(false);

    auto *inner = new QVBoxLayout(frame);
    inner->addLayout(modes);
    inner->addWidget(checks);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(frame);
}

void frmSimulateStatus::connectReactions()
{
    for (int c = 0; c < Categories; ++c) {
        connect(appStatus[c], &VexaAppItem::ValueChanged, this, [this, c](QString &) {
            if (IsInitialized() && !m_updatingChecks)
                showCategory(c);
        });
        connect(appStatusShadow[c], &VexaAppItem::ValueChanged, this,
                [this, c](QString &) { followShadow(c); });
    }
    connect(checks, &DiagnosisCheckGrid::boxClicked, this, &frmSimulateStatus::boxClicked);
    connect(appSoftwareRevision, &VexaAppItem::ValueChanged, this,
            [this](QString &) { showSoftwareRevision(); });
    connect(appConnectionStatus, &VexaAppItem::ValueChanged, this, [this](QString &) {
        if (IsInitialized())
            showConnection();
    });
    connect(appToggleSimulation, &VexaAppItem::ValueChanged, this, [this](QString &) {
        if (IsInitialized())
            showMode();
    });
    connect(appToggleSimulationShadow, &VexaAppItem::ValueChanged, this,
            [this](QString &) { followModeShadow(); });
    connect(m_modes, &QButtonGroup::idClicked, this, &frmSimulateStatus::chooseMode);
    connect(cmdSetDiagnosisSimulation, &QPushButton::clicked, this, &frmSimulateStatus::send);
    connect(seqSetDiagnosisSimulation, &VexaSequenceItem::StatusChanged, this,
            [this](qint32 &status) { sequenceStatusChanged(status); });
}

void frmSimulateStatus::FormLoad()
{
    m_closeRequested = false;
    m_lastShadowStatus.fill(NotSeen);
    m_lastShadowMode = NotSeen;
}

void frmSimulateStatus::FormActivated()
{
    appToggleSimulationShadow->Adjust();
    // What the dataset holds shows at once, not only with the next change.
    showMode();
    showConnection();
    showSoftwareRevision();
    for (int c = 0; c < Categories; ++c)
        showCategory(c);
    // Opened before its texts and controls were there: wide enough now.
    DialogControls::fitToContents(this);
}

void frmSimulateStatus::FormUnload()
{
    m_deviceInfo.release();
}

void frmSimulateStatus::showCategory(int category)
{
    checks->showDirty(category, appStatus[category]->ItemState() & StateModified);
    m_updatingChecks = true;
    checks->showValue(category, appStatus[category]->UIntValue());
    if (category == OperationCategory)
        checks->chkValue(OutputSimulatedBox)->setChecked(true);
    m_updatingChecks = false;
}

void frmSimulateStatus::boxClicked(int box, bool checked)
{
    if (!IsInitialized())
        return;
    VexaAppItem *status = appStatus[DiagnosisBits::category(box)];
    status->setUIntValue(
        DiagnosisBits::withBit(status->UIntValue(), DiagnosisBits::bit(box), checked));
}

void frmSimulateStatus::showSoftwareRevision()
{
    const bool shown = m_deviceInfo.atLeast(viewRef(), ElectronicsBits56From);
    for (int box : {25, 26})
        checks->setBoxShown(box, shown);
    checks->showDirty(2, appStatus[2]->ItemState() & StateModified);
}

void frmSimulateStatus::showConnection()
{
    cmdSetDiagnosisSimulation->setEnabled(qRound(appConnectionStatus->UIntValue()) == Connected);
}

void frmSimulateStatus::showMode()
{
    const double mode = appToggleSimulation->UIntValue();
    if (QAbstractButton *option = m_modes->button(mode == 1.0 ? 1 : mode == 0.0 ? 0 : -1)) {
        option->setChecked(true);
        return;
    }
    // A mode without an option button: neither is selected.
    m_modes->setExclusive(false);
    for (QRadioButton *option : optToggleSimulation)
        option->setChecked(false);
    m_modes->setExclusive(true);
}

void frmSimulateStatus::chooseMode(int mode)
{
    if (IsInitialized() && appToggleSimulation->UIntValue() != mode)
        appToggleSimulation->setUIntValue(mode);
}

void frmSimulateStatus::followShadow(int category)
{
    if (!IsInitialized())
        return;
    const auto value = qint32(DiagnosisBits::toBits(appStatusShadow[category]->UIntValue()));
    if (value == m_lastShadowStatus[category])
        return;
    m_lastShadowStatus[category] = value;
    appStatus[category]->Adjust();
}

void frmSimulateStatus::followModeShadow()
{
    if (!IsInitialized())
        return;
    const auto value = qint32(DiagnosisBits::toBits(appToggleSimulationShadow->UIntValue()));
    if (value == m_lastShadowMode)
        return;
    m_lastShadowMode = value;
    appToggleSimulationShadow->Adjust();
}

void frmSimulateStatus::send()
{
    // Running and busy only once the host has taken the sequence on: a start
    // it refuses must leave the dialog closable.
    m_sequenceRunning = true;
    if (!DialogControls::hostTakes("the diagnosis simulation",
                                   [this] { seqSetDiagnosisSimulation->Force(true); })) {
        m_sequenceRunning = false;
        return;
    }
    EnableMainWindow(false);
}

void frmSimulateStatus::sequenceStatusChanged(qint32 status)
{
    if (!IsInitialized())
        return;
    if (status == 1) {
        seqSetDiagnosisSimulation->DoAction(1);
    } else if (status == 0) {
        m_sequenceRunning = false;
        if (appToggleSimulation->UIntValue() == 0 && m_closeRequested) {
            // Not from inside the host's report: closing unbinds the items.
            QMetaObject::invokeMethod(
                this,
                [this] {
                    if (auto *frame = qobject_cast<QMdiSubWindow *>(parentWidget()))
                        frame->close();
                    else
                        close();
                },
                Qt::QueuedConnection);
        }
    }
}

bool frmSimulateStatus::queryUnload()
{
    if (!IsInitialized() || qRound(appConnectionStatus->UIntValue()) != Connected)
        return true;
    if (m_sequenceRunning)
        return false;
    if (appToggleSimulationShadow->UIntValue() == 0)
        return true;
    const QString title = FormatResText(GetResText(2123), {windowTitle()});
    if (m_closeRequested) {
        // The device kept simulating although it was asked to stop.
        MessageBoxSeam::show(this, QMessageBox::Information, title, GetResText(2122));
        return true;
    }
    const auto answer =
        MessageBoxSeam::show(this, QMessageBox::Question, title, GetResText(2124),
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::No)
        return true;
    if (answer == QMessageBox::Yes) {
        appToggleSimulation->setUIntValue(0);
        send();
        m_closeRequested = true;
    }
    return false;
}

void frmSimulateStatus::closeEvent(QCloseEvent *event)
{
    if (!queryUnload()) {
        event->ignore();
        return;
    }
    clsVexaForm::closeEvent(event);
}
