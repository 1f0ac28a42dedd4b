#include "frmSimulateCurrent.h"

#include "DialogControls.h"
#include "EntryKeyFilter.h"
#include "EntryRules.h"
#include "MessageBoxSeam.h"
#include "ResponseWatch.h"
#include "SequenceStarter.h"
#include "VexaAppItem.h"
#include "VexaSequenceItem.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/global.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSlider>
#include <QVBoxLayout>

using namespace DialogControls;

namespace {
constexpr int CouldNotLeaveFixedCurrent = 2122;
constexpr int CloseTitle = 2123;
constexpr int TerminateSimulation = 2124;
constexpr int SliderMin = 36;
constexpr int SliderMax = 236;
} // namespace

frmSimulateCurrent::frmSimulateCurrent(QWidget *parent) : clsVexaForm(parent)
{
    setObjectName(QStringLiteral("frmSimulateCurrent"));
    setProperty("Tag", 2102);
    auto *all = new QWidget(this);
    all->setObjectName(QStringLiteral("fraGroupAll"));

    seqSetActualOutputValue = sequence(this, "seqSetActualOutputValue", "SetActualOutputValue");
    seqReadOutput = sequence(this, "seqReadOutput", "ReadCheckValues");
    appLevelCurr = appItem(this, "appLevelCurr", "fixedOutputValue");
    appCurr = appItem(this, "appCurr", "actualOutputValue", 1);
    // Bound to the value the record manager writes: every response counts.
    appCurrentResponseCode = appItem(this, "appCurrentResponseCode", "currentResponseCode");
    appCurrentRecordState = appItem(this, "appCurrentRecordState", "currentRecordState");
    appConnectionStatus = appItem(this, "appConnectionStatus", "&&private&&Connect");
    appAddress = appItem(this, "appAddress", "&&private_PM&&Address");
    appCurrentSequence = appItem(this, "appCurrentSequence", "currentSequence");

    Check1 = new QCheckBox(all);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setProperty("Tag", 2017);
    txtStromwert = new QLineEdit(all);
    txtStromwert->setObjectName(QStringLiteral("txtStromwert"));
    txtStromwert->setMaximumWidth(90);
    new EntryKeyFilter(txtStromwert, [](QChar typed, const QString &) {
        return EntryRules::acceptNumericKey(typed, false);
    });
    Slider1 = new QSlider(Qt::Horizontal, all);
    Slider1->setObjectName(QStringLiteral("Slider1"));
    Slider1->setRange(SliderMin, SliderMax);
    Slider1->setSingleStep(1);
    Slider1->setPageStep(10);
    Slider1->setTickInterval(20);
    Slider1->setTickPosition(QSlider::TicksBelow);
    lblLowerLimit = new QLabel(all);
    lblLowerLimit->setObjectName(QStringLiteral("lblLowerLimit"));
    lblUpperLimit = new QLabel(all);
    lblUpperLimit->setObjectName(QStringLiteral("lblUpperLimit"));

    auto *grid = new QGridLayout(all);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(Check1, 0, 0, 1, 3);
    grid->addWidget(label(all, "lblStromwert", 2103), 1, 0);
    auto *valueRow = new QHBoxLayout;
    valueRow->addWidget(txtStromwert);
    valueRow->addWidget(label(all, "lblEinheit", 2015));
    valueRow->addStretch();
    grid->addLayout(valueRow, 1, 1, 1, 2);
    grid->addWidget(Slider1, 2, 0, 1, 3);
    grid->addWidget(lblLowerLimit, 3, 0);
    grid->addWidget(lblUpperLimit, 3, 2, Qt::AlignRight);
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(4, 1);
    (new QVBoxLayout(this))->addWidget(all);
    setMinimumWidth(320);

    m_responses = new ResponseWatch(appCurrentResponseCode, appCurrentRecordState, this);
    m_starter = new SequenceStarter(seqSetActualOutputValue, appCurrentSequence, this);
    m_readStarter = new SequenceStarter(seqReadOutput, appCurrentSequence, this);
    connect(m_starter, &SequenceStarter::Accepted, this, [this] {
        m_responseSinceStart = false;
        m_sequenceRunning = true;
        EnableMainWindow(false);
    });
    connect(seqSetActualOutputValue, &VexaSequenceItem::StatusChanged, this,
            [this](qint32 &status) { seqSetActualOutputValue_StatusChanged(status); });
    connect(m_responses, &ResponseWatch::ResponseArrived, this, [this] { ResponseArrived(); });
    connect(appConnectionStatus, &VexaAppItem::ValueChanged, this,
            [this](QString &) { appConnectionStatus_ValueChanged(); });
    connect(appAddress, &VexaAppItem::ValueChanged, this,
            [this](QString &) { appAddress_ValueChanged(); });
    connect(appCurr, &VexaAppItem::ValueChanged, this,
            [this](QString &) { appCurr_ValueChanged(); });
    connect(Check1, &QCheckBox::clicked, this, [this] { Check1_Click(); });
    connect(Slider1, &QSlider::valueChanged, this,
            [this](int position) { Slider1_Change(position); });
    connect(txtStromwert, &QLineEdit::editingFinished, this, [this] { txtStromwert_Validate(); });
}

frmSimulateCurrent::~frmSimulateCurrent() = default;

void frmSimulateCurrent::FormLoad()
{
    m_suppressOutputCommand = false;
    m_requestedFixedMode = 99;
    m_awaitingModeConfirmation = false;
    m_sequenceRunning = false;
    m_closeRequested = false;
    m_responseSinceStart = false;
}

void frmSimulateCurrent::FormActivated()
{
    Slider1->setMinimum(SliderMin);
    const QLocale locale;
    lblLowerLimit->setText(locale.toString(EntryRules::SimulationMin));
    lblUpperLimit->setText(locale.toString(EntryRules::SimulationMax));
    // The connection delivered at registration came before the dialog counted
    // as initialized.
    appConnectionStatus_ValueChanged();
    fitToContents(this);
}

void frmSimulateCurrent::appConnectionStatus_ValueChanged()
{
    if (!IsInitialized())
        return;
    const bool online = appConnectionStatus->UIntValue() == 2;
    Check1->setEnabled(online);
    Slider1->setEnabled(online && !Check1->isChecked());
    if (!online) {
        m_starter->forget();
        m_readStarter->forget();
        WaitForResponse(false);
    }
}

void frmSimulateCurrent::appAddress_ValueChanged()
{
    if (appAddress->StringValue().toDouble() > 0)
        unload(this);
}

void frmSimulateCurrent::SetChecked(bool checked, bool force)
{
    if (Check1->isChecked() == checked && !force)
        return;
    Check1->setChecked(checked);
    Check1_Click();
}

void frmSimulateCurrent::Check1_Click()
{
    const bool checked = Check1->isChecked();
    txtStromwert->setEnabled(!checked);
    Slider1->setEnabled(!checked && Check1->isEnabled());
    if (checked) {
        if (const auto value = EntryRules::toNumber(txtStromwert->text()))
            appLevelCurr->setFloatValue(float(*value));
    } else {
        appLevelCurr->setStringValue(QStringLiteral("0"));
    }
    if (m_suppressOutputCommand) {
        m_awaitingModeConfirmation = false;
        return;
    }
    m_requestedFixedMode = checked ? 1 : 0;
    m_awaitingModeConfirmation = true;
    // Ending the simulation on closing must not be lost to another sequence;
    // a click that meets one is simply not sent.
    const auto whenBusy = m_closeRequested && !checked ? SequenceStarter::WhenBusy::WaitForHost
                                                       : SequenceStarter::WhenBusy::Refuse;
    if (!m_starter->start(SequenceStarter::Command::Force, whenBusy)) {
        // Nothing was sent: the box shows what the device does.
        m_suppressOutputCommand = true;
        SetChecked(fixedCurrentModeEnabled(), true);
        m_suppressOutputCommand = false;
    }
}

void frmSimulateCurrent::seqSetActualOutputValue_StatusChanged(qint32 status)
{
    if (status == 1 || status == 2) {
        seqSetActualOutputValue->DoAction(1);
        return;
    }
    if (status != 0 || !m_sequenceRunning)
        return;
    m_sequenceRunning = false;
    if (!m_responseSinceStart) {
        WaitForResponse(true);
    } else if (m_awaitingModeConfirmation) {
        // The device answered and did not do what was asked: the box must not
        // claim a simulation that is not there (or deny one that is).
        m_awaitingModeConfirmation = false;
        m_suppressOutputCommand = true;
        SetChecked(fixedCurrentModeEnabled());
        m_suppressOutputCommand = false;
    }
}

void frmSimulateCurrent::WaitForResponse(bool waiting)
{
    setEnabled(!waiting);
    if (waiting)
        setCursor(Qt::BusyCursor);
    else
        unsetCursor();
}

void frmSimulateCurrent::ResponseArrived()
{
    WaitForResponse(false);
    m_responseSinceStart = true;
    const bool fixed = fixedCurrentModeEnabled();
    // The answer that confirms a change only ends the wait; the one after it
    // shows the mode and, when the user asked to close, closes the dialog.
    // That is the device's close handshake: the dialog goes on an answer
    // given with the output already back in normal operation.
    if (m_awaitingModeConfirmation) {
        if (int(fixed) != m_requestedFixedMode)
            return;
        m_awaitingModeConfirmation = false;
        if (m_closeRequested && !fixed)
            AskForFollowingAnswer();
        return;
    }
    m_suppressOutputCommand = true;
    SetChecked(fixed);
    m_suppressOutputCommand = false;
    if (!fixed && m_closeRequested)
        unload(this);
}

// The host reports no answers of its periodic reads: the one that closes the
// dialog is asked for, by reading the loop current once. It waits for the
// output sequence, which may not have ended yet.
void frmSimulateCurrent::AskForFollowingAnswer()
{
    m_readStarter->start(SequenceStarter::Command::Start, SequenceStarter::WhenBusy::WaitForHost);
}

void frmSimulateCurrent::appCurr_ValueChanged()
{
    if (!IsInitialized() || !fixedCurrentModeEnabled())
        return;
    const double value = appCurr->FloatValue();
    txtStromwert->setText(EntryRules::singleText(value));
    SetSliderQuietly(EntryRules::sliderPosition(value));
}

void frmSimulateCurrent::Slider1_Change(int position)
{
    if (m_settingSlider)
        return;
    txtStromwert->setText(QLocale().toString(position / 10.0, 'f', 1));
}

void frmSimulateCurrent::SetSliderQuietly(int position)
{
    m_settingSlider = true;
    Slider1->setValue(position);
    m_settingSlider = false;
}

void frmSimulateCurrent::txtStromwert_Validate()
{
    const auto value = EntryRules::toNumber(txtStromwert->text());
    if (!value)
        return;
    const double clamped = EntryRules::clampSimulation(*value);
    if (clamped != *value)
        txtStromwert->setText(QLocale().toString(clamped));
    SetSliderQuietly(EntryRules::sliderPosition(clamped));
}

bool frmSimulateCurrent::QuestionBeforeOpening(const QWidget *instance)
{
    if (!instance)
        return true;
    return !instance->isVisible() && !fixedCurrentModeEnabled();
}

bool frmSimulateCurrent::QueryUnload()
{
    if (appConnectionStatus->UIntValue() != 2)
        return true;
    if (m_sequenceRunning)
        return false;
    if (appAddress->UIntValue() != 0 || !fixedCurrentModeEnabled())
        return true;
    qint16 titleId = CloseTitle;
    const QString title = FormatResText(GetTextFromResource(titleId), {windowTitle()});
    if (m_closeRequested) {
        MessageBoxSeam::show(this, QMessageBox::Information, title,
                             GetResText(CouldNotLeaveFixedCurrent));
        return true;
    }
    const auto answer =
        MessageBoxSeam::show(this, QMessageBox::Question, title, GetResText(TerminateSimulation),
                             QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    if (answer == QMessageBox::No)
        return true;
    if (answer == QMessageBox::Yes) {
        m_closeRequested = true;
        SetChecked(false, true);
    }
    return false;
}

void frmSimulateCurrent::closeEvent(QCloseEvent *event)
{
    if (IsInitialized() && !QueryUnload()) {
        event->ignore();
        return;
    }
    clsVexaForm::closeEvent(event);
}
