#include "frmCalibratePressure.h"

#include "CommandOutcome.h"
#include "DialogControls.h"
#include "MessageBoxSeam.h"
#include "ResponseWatch.h"
#include "SequenceStarter.h"
#include "VexaAppItem.h"
#include "VexaLabelTextUnit.h"
#include "VexaSequenceItem.h"
#include "VexaValueEdit.h"
#include "displays/ctlDisplaySetting.h"
#include "displays/ctlFixedDigitalDisplay.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/global.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace DialogControls;

namespace {
// The question before each calibration and its confirmation, by index.
constexpr int AskCalibration[3] = {7302, 7303, 7304};
constexpr int CalibrationDone[3] = {7305, 7306, 7307};
// The device's commands: lower, upper balance point, sensor temperature.
constexpr quint8 CalibrationCommands[3] = {131, 132, 133};
} // namespace

frmCalibratePressure::frmCalibratePressure(QWidget *parent) : clsVexaForm(parent)
{
    setObjectName(QStringLiteral("frmCalibratePressure"));
    setProperty("Tag", 2120);
    auto *all = new QWidget(this);
    all->setObjectName(QStringLiteral("fraGroupAll"));

    seqGetPressureCalPoints = sequence(this, "seqGetPressureCalPoints", "GetPressureCalPoints");
    seqSetCalPoint = {sequence(this, "seqSetCalPoint0", "SetCalPointLo"),
                      sequence(this, "seqSetCalPoint1", "SetCalPointHi"),
                      sequence(this, "seqSetCalPoint2", "SetSensorTempCalibration")};
    appConnectionStatus = appItem(this, "appConnectionStatus", "&&private&&Connect");
    appCurrentSequence = appItem(this, "appCurrentSequence", "currentSequence");
    appCurrentResponseCode = appItem(this, "appCurrentResponseCode", "currentResponseCode");
    appCurrentRecordState = appItem(this, "appCurrentRecordState", "currentRecordState");
    m_responses = new ResponseWatch(appCurrentResponseCode, appCurrentRecordState, this);
    m_calOutcome = new CommandOutcome(appCurrentResponseCode, m_responses, this);

    auto *points = frame(all, "Frame4", 2133);
    auto *grid = new QGridLayout(points);
    const int captions[3] = {2134, 2135, 3513};
    const char *items[3] = {"calibrationCalLo", "calibrationCalHi", "sensorTemperatureCalibVal"};
    const char *units[3] = {"primaryValueUnit", "primaryValueUnit", "sensorTemperatureUnit"};
    for (int i = 0; i < 3; ++i) {
        const QByteArray name = "txtCalPoint" + QByteArray::number(i);
        txtCalPoint[i] = field<VexaLabelTextUnit>(points, name.constData(), captions[i],
                                                  QLatin1String(units[i]));
        txtCalPoint[i]->setObjectNameText(QLatin1String(items[i]));
        const QByteArray buttonName = "cmdSetCalPoint" + QByteArray::number(i);
        cmdSetCalPoint[i] = button(points, buttonName.constData(), 2136);
        grid->addWidget(txtCalPoint[i], i, 0);
        grid->addWidget(cmdSetCalPoint[i], i, 1);
        m_calStarter[i] = new SequenceStarter(seqSetCalPoint[i], appCurrentSequence, this);
        connect(m_calStarter[i], &SequenceStarter::Accepted, this, [] { EnableMainWindow(false); });
        connect(cmdSetCalPoint[i], &QPushButton::clicked, this,
                [this, i] { cmdSetCalPoint_Click(i); });
        connect(seqSetCalPoint[i], &VexaSequenceItem::StatusChanged, this,
                [this, i](qint32 &status) { seqSetCalPoint_StatusChanged(i, status); });
    }
    grid->setColumnStretch(0, 1);

    Frame2 = frame(all, "Frame2", 2131);
    buildMeasuredValues();

    auto *inner = new QVBoxLayout(all);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(points);
    inner->addWidget(Frame2);
    inner->addStretch();
    (new QVBoxLayout(this))->addWidget(all);
    setMinimumWidth(420);

    m_readStarter = new SequenceStarter(seqGetPressureCalPoints, appCurrentSequence, this);
    connect(m_readStarter, &SequenceStarter::Accepted, this, [] { EnableMainWindow(false); });
    connect(seqGetPressureCalPoints, &VexaSequenceItem::StatusChanged, this,
            [this](qint32 &status) { seqGetPressureCalPoints_StatusChanged(status); });
    connect(appConnectionStatus, &VexaAppItem::ValueChanged2, this,
            [this](QString &, bool &) { appConnectionStatus_ValueChanged2(); });
}

frmCalibratePressure::~frmCalibratePressure() = default;

// The damped pressure and the sensor temperature, read every second; which
// items they show is the display settings' choice at the first activation.
void frmCalibratePressure::buildMeasuredValues()
{
    auto *grid = new QGridLayout(Frame2);
    cmbDummy = new QComboBox(Frame2);
    cmbDummy->setObjectName(QStringLiteral("cmbDummy"));
    cmbDummy->setVisible(false);
    for (int i = 0; i < 2; ++i) {
        lblName[i] = new QLabel(Frame2);
        lblName[i]->setObjectName(QStringLiteral("lblName%1").arg(i));
        displayCtrl[i] = liveDisplay(Frame2, i);
        ctlDisplaySetting1[i] = new ctlDisplaySetting(Frame2);
        ctlDisplaySetting1[i]->setObjectName(QStringLiteral("ctlDisplaySetting1%1").arg(i));
        ctlDisplaySetting1[i]->setVisible(false);
        grid->addWidget(lblName[i], 0, i);
        grid->addWidget(displayCtrl[i], 1, i);
    }
}

void frmCalibratePressure::SetUpDisplays()
{
    const int entries[2] = {ctlDisplaySetting::PressureDamped,
                            ctlDisplaySetting::SensorTemperature};
    for (int i = 0; i < 2; ++i) {
        ctlDisplaySetting1[i]->Init(displayCtrl[i], cmbDummy);
        cmbDummy->setCurrentIndex(entries[i]);
        lblName[i]->setText(cmbDummy->currentText());
        ctlDisplaySetting1[i]->ChangeDisplayedValue();
    }
}

void frmCalibratePressure::FormLoad()
{
    m_calPointsReadPending = true;
    m_calPointsAdjustPending = false;
    m_calibrationInFlight = -1;
    m_calOutcome->clear();
    alignFields({txtCalPoint[0], txtCalPoint[1], txtCalPoint[2]});
}

void frmCalibratePressure::FormActivated()
{
    // The connection delivered at registration came before the dialog counted
    // as initialized: apply it now (offline: buttons off and nothing read).
    appConnectionStatus_ValueChanged2();
    SetUpDisplays();
    fitToContents(this);
}

void frmCalibratePressure::ReadCalPoints()
{
    if (!m_calPointsReadPending)
        return;
    m_calPointsReadPending = false;
    // The dialog shows nothing true without them: a read that meets another
    // sequence waits for it.
    m_readStarter->start(SequenceStarter::Command::Start, SequenceStarter::WhenBusy::WaitForHost);
}

void frmCalibratePressure::appConnectionStatus_ValueChanged2()
{
    if (!IsInitialized())
        return;
    const bool online = appConnectionStatus->StringValue().toDouble() == 2;
    RefreshButtons();
    if (online) {
        ReadCalPoints();
    } else {
        m_calPointsReadPending = true;
        m_readStarter->forget();
    }
}

void frmCalibratePressure::seqGetPressureCalPoints_StatusChanged(qint32 status)
{
    if (status == 2) {
        seqGetPressureCalPoints->DoAction(1);
        m_calPointsAdjustPending = true;
    } else if (status == 0 && m_calPointsAdjustPending) {
        m_calPointsAdjustPending = false;
        adjustNow(seqGetPressureCalPoints);
    }
}

void frmCalibratePressure::RefreshButtons()
{
    const bool online = appConnectionStatus->StringValue().toDouble() == 2;
    // One calibration at a time: a second press would calibrate twice.
    for (QPushButton *button : cmdSetCalPoint)
        button->setEnabled(online && !calibrationInFlight());
}

void frmCalibratePressure::cmdSetCalPoint_Click(int index)
{
    if (calibrationInFlight())
        return;
    // A reference typed and not yet confirmed is what the user means.
    VexaValueEdit *reference = txtCalPoint[index]->edit();
    if (!reference->commit())
        return;
    const QString text =
        FormatResText(GetResText(qint16(AskCalibration[index])), {shownValue(index)});
    if (MessageBoxSeam::show(this, QMessageBox::Question, windowTitle(), text,
                             QMessageBox::Yes | QMessageBox::No) != QMessageBox::Yes)
        return;
    m_calOutcome->expect(CalibrationCommands[index]);
    m_calibrationInFlight = index;
    RefreshButtons();
    if (!m_calStarter[index]->start(SequenceStarter::Command::Force)) {
        m_calibrationInFlight = -1;
        m_calOutcome->clear();
        RefreshButtons();
    }
}

void frmCalibratePressure::seqSetCalPoint_StatusChanged(int index, qint32 status)
{
    if (status == 1 || status == 2) {
        seqSetCalPoint[index]->DoAction(1);
        return;
    }
    if (status != 0 || m_calibrationInFlight != index)
        return;
    m_calibrationInFlight = -1;
    const bool done = m_calOutcome->carriedOut();
    m_calOutcome->clear();
    RefreshButtons();
    // A refusal was told by the response evaluation, in a sentence; what was
    // done is said here, once the host's report has returned.
    if (done)
        QMetaObject::invokeMethod(
            this, [this, index] { ConfirmCalibration(index); }, Qt::QueuedConnection);
}

// The reference as its field shows it, with its unit, not to be broken
// across lines.
QString frmCalibratePressure::shownValue(int index) const
{
    return txtCalPoint[index]->edit()->text() + QChar(0x00A0) + txtCalPoint[index]->unitText();
}

void frmCalibratePressure::ConfirmCalibration(int index)
{
    // The device's answer echoes the reference it took.
    const QString text =
        FormatResText(GetResText(qint16(CalibrationDone[index])), {shownValue(index)});
    MessageBoxSeam::show(this, QMessageBox::Information, windowTitle(), text);
}
