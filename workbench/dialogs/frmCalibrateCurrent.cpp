#include "frmCalibrateCurrent.h"

#include "CommandOutcome.h"
#include "DialogControls.h"
#include "MessageBoxSeam.h"
#include "ResponseWatch.h"
#include "SequenceStarter.h"
#include "VexaAppItem.h"
#include "VexaItemBinding.h"
#include "VexaLabelTextUnit.h"
#include "VexaSequenceItem.h"
#include "VexaValueEdit.h"
#include "WorkbenchLog.h"
#include "displays/ctlDisplaySetting.h"
#include "displays/ctlFixedDigitalDisplay.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/global.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <algorithm>

using namespace DialogControls;

namespace {
constexpr int CouldNotLeaveFixedCurrent = 2122;
constexpr int CloseTitle = 2123;
constexpr int FixedCurrentWarning = 7300;
constexpr int TrimDone = 7301;
// The device's trim commands, 4 mA and 20 mA end point.
constexpr quint8 TrimCommands[2] = {45, 46};
} // namespace

frmCalibrateCurrent::frmCalibrateCurrent(QWidget *parent) : clsVexaForm(parent)
{
    setObjectName(QStringLiteral("frmCalibrateCurrent"));
    setProperty("Tag", 2596);
    auto *all = new QWidget(this);
    all->setObjectName(QStringLiteral("fraGroupAll"));

    seqSetActualOutputValue = sequence(this, "seqSetActualOutputValue", "SetActualOutputValue");
    seqSetPvCurrentDac = {sequence(this, "seqSetPvCurrentDac4", "SetPvCurrentDacZero"),
                          sequence(this, "seqSetPvCurrentDac20", "SetPvCurrentDacGain")};
    appFixedOutputValue = appItem(this, "appFixedOutputValue", "fixedOutputValue");
    // Bound to the value the record manager writes, not to a shadow copy
    // that nothing reads: every response must reach the dialog.
    appCurrentResponseCode = appItem(this, "appCurrentResponseCode", "currentResponseCode");
    appCurrentRecordState = appItem(this, "appCurrentRecordState", "currentRecordState");
    appActualOutputValue = appItem(this, "appActualOutputValue", "actualOutputValue", 1);
    appConnectionStatus = appItem(this, "appConnectionStatus", "&&private&&Connect");
    appAddress = appItem(this, "appAddress", "&&private_PM&&Address");
    appCurrentSequence = appItem(this, "appCurrentSequence", "currentSequence");

    Frame1 = frame(all, "Frame1", 2137);
    auto *grid = new QGridLayout(Frame1);
    optAbgleich = {option(Frame1, "optAbgleich0", 2139), option(Frame1, "optAbgleich4", 2140),
                   option(Frame1, "optAbgleich20", 2141)};
    const char *trimItems[2] = {"trimDacLowerEndpoint", "trimDacUpperEndpoint"};
    for (int i = 0; i < 2; ++i) {
        const QByteArray name = "txtMeasPvCurrLevel" + QByteArray::number(Modes[i + 1]);
        txtMeasPvCurrLevel[i] = field<VexaLabelTextUnit>(Frame1, name.constData(), 2142, QString(),
                                                         QStringLiteral("mA"));
        txtMeasPvCurrLevel[i]->setObjectNameText(QLatin1String(trimItems[i]));
    }
    txtMeasPvCurrLevel[1]->setVisible(false);
    optAbgleich[0]->setChecked(true);
    cmdAbgleichen = button(Frame1, "cmdAbgleichen", 2136);
    for (int i = 0; i < 3; ++i)
        grid->addWidget(optAbgleich[i], i, 0);
    grid->addWidget(txtMeasPvCurrLevel[0], 3, 0, 1, 2);
    grid->addWidget(txtMeasPvCurrLevel[1], 4, 0, 1, 2);
    grid->addWidget(cmdAbgleichen, 5, 1, Qt::AlignRight);
    grid->setColumnStretch(0, 1);

    auto *inner = new QVBoxLayout(all);
    inner->setContentsMargins(0, 0, 0, 0);
    inner->addWidget(Frame1);
    buildDisplay(all);
    inner->addStretch();
    (new QVBoxLayout(this))->addWidget(all);
    setMinimumWidth(340);

    m_responses = new ResponseWatch(appCurrentResponseCode, appCurrentRecordState, this);
    m_outputStarter = new SequenceStarter(seqSetActualOutputValue, appCurrentSequence, this);
    m_trimOutcome = new CommandOutcome(appCurrentResponseCode, m_responses, this);
    connect(m_outputStarter, &SequenceStarter::Accepted, this, [this] {
        m_awaitingOutputResponse = true;
        m_requestedCurrent = m_pendingCurrent;
        EnableMainWindow(false);
    });
    for (int i = 0; i < 2; ++i) {
        m_trimStarter[i] = new SequenceStarter(seqSetPvCurrentDac[i], appCurrentSequence, this);
        connect(m_trimStarter[i], &SequenceStarter::Accepted, this,
                [] { EnableMainWindow(false); });
        connect(seqSetPvCurrentDac[i], &VexaSequenceItem::StatusChanged, this,
                [this, i](qint32 &status) { seqSetPvCurrentDac_StatusChanged(i, status); });
    }
    connect(seqSetActualOutputValue, &VexaSequenceItem::StatusChanged, this,
            [this](qint32 &status) {
                if (status == 1 || status == 2)
                    seqSetActualOutputValue->DoAction(1);
            });
    for (int i = 0; i < 3; ++i) {
        connect(optAbgleich[i], &QRadioButton::clicked, this,
                [this, i] { optAbgleich_Click(Modes[i]); });
    }
    connect(cmdAbgleichen, &QPushButton::clicked, this, [this] { cmdAbgleichen_Click(); });
    connect(m_responses, &ResponseWatch::ResponseArrived, this, [this] { ResponseArrived(); });
    connect(appConnectionStatus, &VexaAppItem::ValueChanged, this,
            [this](QString &) { RefreshEnabling(); });
    connect(appAddress, &VexaAppItem::ValueChanged, this,
            [this](QString &) { appAddress_ValueChanged(); });
}

frmCalibrateCurrent::~frmCalibrateCurrent() = default;

// The loop current the device drives, read every second.
void frmCalibrateCurrent::buildDisplay(QWidget *parent)
{
    auto *values = frame(parent, "fraDisplay", 0);
    lblName = new QLabel(values);
    lblName->setObjectName(QStringLiteral("lblName0"));
    displayCtrl = liveDisplay(values, 0);
    ctlDisplaySetting1 = new ctlDisplaySetting(values);
    ctlDisplaySetting1->setObjectName(QStringLiteral("ctlDisplaySetting10"));
    ctlDisplaySetting1->setVisible(false);
    cmbDummy = new QComboBox(values);
    cmbDummy->setObjectName(QStringLiteral("cmbDummy"));
    cmbDummy->setVisible(false);
    auto *layout = new QVBoxLayout(values);
    layout->addWidget(lblName);
    layout->addWidget(displayCtrl);
    static_cast<QVBoxLayout *>(parent->layout())->addWidget(values);
}

void frmCalibrateCurrent::SetUpDisplay()
{
    ctlDisplaySetting1->Init(displayCtrl, cmbDummy);
    cmbDummy->setCurrentIndex(ctlDisplaySetting::CurrentOutput);
    lblName->setText(cmbDummy->currentText());
    ctlDisplaySetting1->ChangeDisplayedValue();
}

int frmCalibrateCurrent::selectedMode() const
{
    for (int i = 0; i < 3; ++i) {
        if (optAbgleich[i]->isChecked())
            return Modes[i];
    }
    return -1;
}

void frmCalibrateCurrent::FormLoad()
{
    m_suppressOutputCommand = false;
    m_requestedCurrent = 0;
    m_awaitingOutputResponse = false;
    m_leavingFixedCurrent = false;
    m_closeRequested = false;
    m_trimInFlight = -1;
    m_trimOutcome->clear();
}

void frmCalibrateCurrent::FormActivated()
{
    SetUpDisplay();
    // The connection and the last response delivered at registration came
    // before the dialog counted as initialized.
    RefreshEnabling();
    ResponseArrived();
    fitToContents(this);
}

void frmCalibrateCurrent::SelectMode(int mode)
{
    const int index = int(std::find(Modes.begin(), Modes.end(), mode) - Modes.begin());
    optAbgleich[index]->setChecked(true);
    optAbgleich_Click(mode);
}

void frmCalibrateCurrent::RefreshEnabling()
{
    if (!IsInitialized())
        return;
    const bool possible =
        appConnectionStatus->StringValue().toDouble() == 2 && appAddress->UIntValue() == 0;
    for (QRadioButton *option : optAbgleich)
        option->setEnabled(possible);
    // Nothing of the balance point can be used offline.
    for (VexaLabelTextUnit *measured : txtMeasPvCurrLevel)
        measured->setEnabled(possible);
    const int mode = selectedMode();
    // One trim at a time: a second press would correct the output twice.
    cmdAbgleichen->setEnabled(possible && (mode == 4 || mode == 20) && !trimInFlight());
    if (possible && mode != 0 && mode != -1) {
        txtMeasPvCurrLevel[0]->setVisible(mode == 4);
        txtMeasPvCurrLevel[1]->setVisible(mode == 20);
    }
}

void frmCalibrateCurrent::appAddress_ValueChanged()
{
    if (appAddress->StringValue().toDouble() > 0)
        unload(this);
}

void frmCalibrateCurrent::optAbgleich_Click(int mode)
{
    RefreshEnabling();
    if (m_suppressOutputCommand)
        return;
    if (!ConfirmFixedCurrent(mode)) {
        // Nothing is sent: the output stays in normal operation.
        m_suppressOutputCommand = true;
        SelectMode(0);
        m_suppressOutputCommand = false;
        return;
    }
    SendOutputCommand(mode);
}

bool frmCalibrateCurrent::ConfirmFixedCurrent(int mode)
{
    // Moving between the end points, or back to normal operation, changes
    // nothing the user has not agreed to already.
    if (mode == 0 || fixedCurrentModeEnabled())
        return true;
    const QString text = FormatResText(GetResText(FixedCurrentWarning), {QString::number(mode)});
    return MessageBoxSeam::show(this, QMessageBox::Warning, windowTitle(), text,
                                QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

void frmCalibrateCurrent::SendOutputCommand(int mode)
{
    appFixedOutputValue->setStringValue(QString::number(mode));
    m_pendingCurrent = mode;
    // Leaving fixed-current mode on closing must not be lost to another
    // sequence; a choice of the user that meets one is simply not sent.
    const auto whenBusy = m_closeRequested && mode == 0 ? SequenceStarter::WhenBusy::WaitForHost
                                                        : SequenceStarter::WhenBusy::Refuse;
    if (!m_outputStarter->start(SequenceStarter::Command::Force, whenBusy)) {
        // Nothing was sent: only the enabling follows the selection.
        m_suppressOutputCommand = true;
        optAbgleich_Click(mode);
        m_suppressOutputCommand = false;
    }
}

void frmCalibrateCurrent::ResponseArrived()
{
    if (!IsInitialized())
        return;
    m_suppressOutputCommand = true;
    const float value = appActualOutputValue->FloatValue();
    if (!m_awaitingOutputResponse || value == float(m_requestedCurrent) || m_closeRequested) {
        m_awaitingOutputResponse = false;
        if (fixedCurrentModeEnabled()) {
            const float held = appActualOutputValue->FloatValue();
            SelectMode(held == 4.0f ? 4 : held == 20.0f ? 20 : 0);
        } else {
            SelectMode(0);
            if (m_closeRequested)
                unload(this);
        }
    }
    m_suppressOutputCommand = false;
}

void frmCalibrateCurrent::cmdAbgleichen_Click()
{
    if (trimInFlight())
        return;
    int endPoint = -1;
    if (optAbgleich[1]->isChecked() && !txtMeasPvCurrLevel[0]->edit()->text().isEmpty())
        endPoint = 0;
    else if (optAbgleich[2]->isChecked() && !txtMeasPvCurrLevel[1]->edit()->text().isEmpty())
        endPoint = 1;
    if (endPoint < 0)
        return;
    m_trimOutcome->expect(TrimCommands[endPoint]);
    m_trimInFlight = endPoint;
    RefreshEnabling();
    if (!m_trimStarter[endPoint]->start(SequenceStarter::Command::Force)) {
        m_trimInFlight = -1;
        m_trimOutcome->clear();
        RefreshEnabling();
    }
}

void frmCalibrateCurrent::seqSetPvCurrentDac_StatusChanged(int endPoint, qint32 status)
{
    if (status == 1 || status == 2) {
        seqSetPvCurrentDac[endPoint]->DoAction(1);
        return;
    }
    if (status != 0 || m_trimInFlight != endPoint)
        return;
    m_trimInFlight = -1;
    const bool done = m_trimOutcome->carriedOut();
    m_trimOutcome->clear();
    RefreshEnabling();
    if (!done)
        return; // a refusal was told by the response evaluation
    // What the device took: its answer echoes the measured current.
    VexaItemBinding &measured = txtMeasPvCurrLevel[endPoint]->fieldBinding();
    const QString written = measured.hostText();
    // The output has moved: the reading is used up. The field shows the
    // nominal current again, so that Adjust pressed without a new reading
    // corrects nothing instead of the same difference a second time.
    const VexaEntry reset = measured.write(QString::number(Modes[endPoint + 1]));
    if (!reset.ok())
        qCInfo(lcWorkbench).noquote() << "Measured current not reset:" << reset.message;
    // Said once the host's report has returned.
    QMetaObject::invokeMethod(
        this, [this, endPoint, written] { ConfirmTrim(endPoint, written); }, Qt::QueuedConnection);
}

void frmCalibrateCurrent::ConfirmTrim(int endPoint, const QString &written)
{
    const QLocale locale;
    const QString text = FormatResText(GetResText(TrimDone),
                                       {QString::number(Modes[endPoint + 1]),
                                        locale.toString(QLocale::c().toDouble(written), 'f', 3)});
    MessageBoxSeam::show(this, QMessageBox::Information, windowTitle(), text);
}

// The output must not stay fixed behind a closed dialog: the first close
// returns it to normal operation and closes on the device's answer.
bool frmCalibrateCurrent::QueryUnload()
{
    const bool held = selectedMode() != 0 || fixedCurrentModeEnabled();
    if (appConnectionStatus->UIntValue() != 2 || appAddress->UIntValue() != 0 || !held)
        return true;
    if (!m_leavingFixedCurrent) {
        m_closeRequested = true;
        m_leavingFixedCurrent = true;
        SelectMode(0);
        return false;
    }
    qint16 titleId = CloseTitle;
    MessageBoxSeam::show(this, QMessageBox::Information,
                         FormatResText(GetTextFromResource(titleId), {windowTitle()}),
                         GetResText(CouldNotLeaveFixedCurrent));
    return true;
}

void frmCalibrateCurrent::closeEvent(QCloseEvent *event)
{
    if (IsInitialized() && !QueryUnload()) {
        event->ignore();
        return;
    }
    clsVexaForm::closeEvent(event);
}
