#include "frmCalibratePressure.h"

#include "DialogControls.h"
#include "SequenceStarter.h"
#include "VexaAppItem.h"
#include "VexaLabelTextUnit.h"
#include "VexaSequenceItem.h"
#include "displays/ctlDisplaySetting.h"
#include "displays/ctlFixedDigitalDisplay.h"
#include "mainwin/global.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

using namespace DialogControls;

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
        m_calStarter[i] = new SequenceStarter(seqSetCalPoint[i], this);
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

    m_readStarter = new SequenceStarter(seqGetPressureCalPoints, this);
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
    m_readStarter->start(SequenceStarter::Command::Start);
}

void frmCalibratePressure::appConnectionStatus_ValueChanged2()
{
    if (!IsInitialized())
        return;
    const bool online = appConnectionStatus->StringValue().toDouble() == 2;
    for (QPushButton *button : cmdSetCalPoint)
        button->setEnabled(online);
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

void frmCalibratePressure::cmdSetCalPoint_Click(int index)
{
    m_calStarter[index]->start(SequenceStarter::Command::Force);
}

void frmCalibratePressure::seqSetCalPoint_StatusChanged(int index, qint32 status)
{
    if (status == 1 || status == 2)
        seqSetCalPoint[index]->DoAction(1);
}
