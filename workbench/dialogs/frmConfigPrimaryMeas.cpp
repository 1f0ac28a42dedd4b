#include "frmConfigPrimaryMeas.h"

#include "DialogControls.h"
#include "EntryKeyFilter.h"
#include "EntryRules.h"
#include "RerangePreview.h"
#include "SequenceStarter.h"
#include "VexaAppItem.h"
#include "VexaLabel.h"
#include "VexaLabelComboUnit.h"
#include "VexaLabelTextUnit.h"
#include "VexaSequenceItem.h"
#include "VexaText.h"
#include "clsGetDecimalPlaces.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/global.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

using namespace DialogControls;

namespace {

constexpr quint32 ChangedStateMask = 0x301;
constexpr double FreeUnitCode = 253;

// Texts of the preview.
constexpr int PreviewTitle = 3960;
constexpr int PreviewPressure = 3961;
constexpr int PreviewNow = 3962;
constexpr int PreviewNew = 3963;
constexpr int PreviewOutput = 3964;
constexpr int PreviewPercent = 3965;
constexpr int PreviewWarning = 3966;
constexpr int PreviewOffline = 3967;

QString resText(int id)
{
    return GetResTextOr(qint16(id), QString());
}

} // namespace

frmConfigPrimaryMeas::frmConfigPrimaryMeas(QWidget *parent) : clsVexaForm(parent)
{
    setObjectName(QStringLiteral("frmConfigPrimaryMeas"));
    setProperty("Tag", 2019);

    tbsOptions = new QTabWidget(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    tbsOptions->addTab(buildPressurePage(), QStringLiteral("2104"));
    tbsOptions->addTab(buildOutputPage(), QStringLiteral("2105"));
    tbsOptions->addTab(buildTransferPage(), QStringLiteral("2106"));
    tbsOptions->addTab(buildDigitizationPage(), QStringLiteral("2066"));
    for (int i = 0; i < tbsOptions->count(); ++i)
        tbsOptions->widget(i)->setObjectName(QStringLiteral("picOptions%1").arg(i));

    // The item controls, beside the pages.
    QWidget *items = this;
    seqSetPvZero = sequence(items, "seqSetPvZero", "SetPvZeroAlignment");
    seqPerformOffsetShift = sequence(items, "seqPerformOffsetShift", "PerformOffsetShift");
    seqGetParallelShiftData = sequence(items, "seqGetParallelShiftData", "GetParallelShiftData");
    seqSetPvRangeValues = {sequence(items, "seqSetPvRangeValues0", "SetPrimaryVariableLowerRange"),
                           sequence(items, "seqSetPvRangeValues1", "SetPrimaryVariableUpperRange")};
    appScaleInLim = {appItem(items, "appScaleInLim0", "scaleInLoLim"),
                     appItem(items, "appScaleInLim1", "scaleInHiLim")};
    appScaleInLimRounded = {appItem(items, "appScaleInLimRounded0", "scaleInLoLimRounded"),
                            appItem(items, "appScaleInLimRounded1", "scaleInHiLimRounded")};
    appOffsetShiftScaleIn = appItem(items, "appOffsetShiftScaleIn", "offsetShiftScaleIn");
    appOutScaleUnit = appItem(items, "appOutScaleUnit", "outScaleUnit");
    appCurrentSequence = appItem(items, "appCurrentSequence", "currentSequence");
    appPercentRange = appItem(items, "appPercentRange", "percentRangeValue");
    appConnectionStatus = appItem(items, "appConnectionStatus", "&&private&&Connect");
    appScaleInLimDevice = {appItem(items, "appScaleInLimDevice0", "scaleInLoLim"),
                           appItem(items, "appScaleInLimDevice1", "scaleInHiLim")};
    for (VexaAppItem *device : appScaleInLimDevice)
        device->setRegisterOnShadow(true);
    appPrimaryValue = appItem(items, "appPrimaryValue", "primaryValue", 1);
    appTransferFunction = appItem(items, "appTransferFunction", "ptrbLinType");
    appPrimaryValueUnit = appItem(items, "appPrimaryValueUnit", "primaryValueUnit");

    m_rangeStarter = {new SequenceStarter(seqSetPvRangeValues[0], appCurrentSequence, this),
                      new SequenceStarter(seqSetPvRangeValues[1], appCurrentSequence, this)};
    m_zeroStarter = new SequenceStarter(seqSetPvZero, appCurrentSequence, this);
    m_shiftReadStarter = new SequenceStarter(seqGetParallelShiftData, appCurrentSequence, this);
    m_shiftWriteStarter = new SequenceStarter(seqPerformOffsetShift, appCurrentSequence, this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(tbsOptions);
    connectReactions();
}

frmConfigPrimaryMeas::~frmConfigPrimaryMeas() = default;

QWidget *frmConfigPrimaryMeas::buildPressurePage()
{
    auto *page = new QWidget;
    auto *grid = new QGridLayout(page);
    grid->addWidget(buildScalingFrame(page), 0, 0);
    grid->addWidget(buildPreviewFrame(page), 1, 0);

    auto *output = frame(page, "Frame3", 2130);
    txtFilterTime = field<VexaText>(output, "txtFilterTime", 2112, QString(), QStringLiteral("s"));
    txtFilterTime->setObjectNameText(QStringLiteral("filterTime"));
    txtFilterTime->setVisibleUnit(true);
    (new QVBoxLayout(output))->addWidget(txtFilterTime);

    auto *zero = frame(page, "frmPVScale", 2132);
    Cmd_Set_PV_Value = button(zero, "Cmd_Set_PV_Value", 2136);
    auto *zeroRow = new QHBoxLayout(zero);
    zeroRow->addStretch();
    zeroRow->addWidget(Cmd_Set_PV_Value);

    auto *shift = frame(page, "fraParallelverschiebung", 2046);
    txtMesswertAktuell = new QLineEdit(shift);
    txtMesswertAktuell->setObjectName(QStringLiteral("txtMesswertAktuell"));
    txtMesswertAktuell->setMaximumWidth(90);
    new EntryKeyFilter(txtMesswertAktuell, [](QChar typed, const QString &) {
        return EntryRules::acceptNumericKey(typed, true);
    });
    cmdParallelShift = button(shift, "cmdParallelShift", 2051);
    auto *shiftLayout = new QGridLayout(shift);
    auto *shiftLabel = label(shift, "lblMesswertAktuell", 2108);
    shiftLabel->setWordWrap(true);
    shiftLayout->addWidget(shiftLabel, 0, 0, 1, 3);
    shiftLayout->addWidget(txtMesswertAktuell, 1, 0);
    shiftLayout->addWidget(label(shift, "lblPercent", 2011), 1, 1);
    shiftLayout->addWidget(cmdParallelShift, 1, 2, Qt::AlignRight);

    auto *right = new QVBoxLayout;
    right->addWidget(output);
    right->addWidget(zero);
    right->addWidget(shift);
    right->addStretch();
    grid->addLayout(right, 0, 1, 2, 1);
    grid->setRowStretch(2, 1);
    return page;
}

QGroupBox *frmConfigPrimaryMeas::buildScalingFrame(QWidget *page)
{
    auto *scaling = frame(page, "fraSkalierung", 2047);
    // The framework's range boxes stay bound; the entry boxes below show the
    // rounded values in their place, so each value is shown once.
    txtScaleInLoLim = field<VexaLabelTextUnit>(scaling, "txtScaleInLoLim", 2042,
                                               QStringLiteral("primaryValueUnit"));
    txtScaleInLoLim->setObjectNameText(QStringLiteral("scaleInLoLim"));
    txtScaleInHiLim = field<VexaLabelTextUnit>(scaling, "txtScaleInHiLim", 2043,
                                               QStringLiteral("primaryValueUnit"));
    txtScaleInHiLim->setObjectNameText(QStringLiteral("scaleInHiLim"));
    txtScaleInLoLim->setVisible(false);
    txtScaleInHiLim->setVisible(false);

    optWerteingabe = option(scaling, "optWerteingabe", 2044);
    optProzessdruckuebernahme = option(scaling, "optProzessdruckuebernahme", 2045);
    auto *grid = new QGridLayout(scaling);
    grid->addWidget(optWerteingabe, 0, 0, 1, 2);
    grid->addWidget(optProzessdruckuebernahme, 0, 2, 1, 2);
    const int captions[2] = {2042, 2043};
    const int buttons[2] = {2048, 2049};
    for (int i = 0; i < 2; ++i) {
        auto *box = new QLineEdit(scaling);
        box->setObjectName(QStringLiteral("txtScaleInLimEx%1").arg(i));
        box->setMaximumWidth(110);
        new EntryKeyFilter(box, [](QChar typed, const QString &after) {
            return EntryRules::acceptRangeKey(typed, after);
        });
        txtScaleInLimEx[i] = box;
        lblScaleInLimUnit[i] = new QLabel(scaling);
        cmdSetPrimaryVariableRangeValue[i] =
            button(scaling,
                   i == 0 ? "cmdSetPrimaryVariableRangeValue0" : "cmdSetPrimaryVariableRangeValue1",
                   buttons[i]);
        grid->addWidget(label(scaling, i == 0 ? "lblScaleInLo" : "lblScaleInHi", captions[i]),
                        i + 1, 0);
        grid->addWidget(box, i + 1, 1);
        grid->addWidget(lblScaleInLimUnit[i], i + 1, 2);
        grid->addWidget(cmdSetPrimaryVariableRangeValue[i], i + 1, 3);
    }
    cmbUnitsPv = field<VexaLabelComboUnit>(scaling, "cmbUnits1", 2109, QString());
    cmbUnitsPv->setObjectNameCombo(QStringLiteral("primaryValueUnit"));
    cmbUnitsPv->setVisibleUnit(false);
    grid->addWidget(cmbUnitsPv, 3, 0, 1, 4);
    grid->addWidget(txtScaleInLoLim, 4, 0, 1, 4);
    grid->addWidget(txtScaleInHiLim, 5, 0, 1, 4);
    grid->setColumnStretch(2, 1);
    return scaling;
}

QGroupBox *frmConfigPrimaryMeas::buildPreviewFrame(QWidget *page)
{
    fraPreview = frame(page, "fraPreview", PreviewTitle);
    auto *grid = new QGridLayout(fraPreview);
    grid->addWidget(label(fraPreview, "lblPreviewPressureCaption", PreviewPressure), 0, 0);
    lblPreviewPressure = new QLabel(fraPreview);
    lblPreviewPressure->setObjectName(QStringLiteral("lblPreviewPressure"));
    grid->addWidget(lblPreviewPressure, 0, 1, 1, 2);
    grid->addWidget(label(fraPreview, "lblPreviewNow", PreviewNow), 1, 1);
    grid->addWidget(label(fraPreview, "lblPreviewNew", PreviewNew), 1, 2);
    grid->addWidget(label(fraPreview, "lblPreviewOutput", PreviewOutput), 2, 0);
    grid->addWidget(label(fraPreview, "lblPreviewPercentCaption", PreviewPercent), 3, 0);
    for (int i = 0; i < 2; ++i) {
        lblPreviewCurrent[i] = new QLabel(fraPreview);
        lblPreviewCurrent[i]->setObjectName(QStringLiteral("lblPreviewCurrent%1").arg(i));
        lblPreviewPercent[i] = new QLabel(fraPreview);
        lblPreviewPercent[i]->setObjectName(QStringLiteral("lblPreviewPercent%1").arg(i));
        grid->addWidget(lblPreviewCurrent[i], 2, i + 1);
        grid->addWidget(lblPreviewPercent[i], 3, i + 1);
    }
    lblPreviewWarning = new QLabel(fraPreview);
    lblPreviewWarning->setObjectName(QStringLiteral("lblPreviewWarning"));
    lblPreviewWarning->setWordWrap(true);
    // Room for two lines, kept while no warning shows, so that the dialog
    // does not jump and the warning is never cut.
    lblPreviewWarning->setMinimumHeight(2 * lblPreviewWarning->fontMetrics().lineSpacing() + 2);
    QPalette warn = lblPreviewWarning->palette();
    warn.setColor(QPalette::WindowText, QColor(176, 0, 0));
    lblPreviewWarning->setPalette(warn);
    grid->addWidget(lblPreviewWarning, 4, 0, 1, 3);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    return fraPreview;
}

QWidget *frmConfigPrimaryMeas::buildOutputPage()
{
    auto *page = new QWidget;
    auto *scaling = frame(page, "Frame2", 2047);
    txtMessanfang = field<VexaLabelTextUnit>(scaling, "txtMessanfang1", 2042,
                                             QStringLiteral("outScaleUnitGui"));
    txtMessanfang->setObjectNameText(QStringLiteral("outScaleLoLim"));
    txtMessende =
        field<VexaLabelTextUnit>(scaling, "txtMessende1", 2043, QStringLiteral("outScaleUnitGui"));
    txtMessende->setObjectNameText(QStringLiteral("outScaleHiLim"));
    cmbUnitsOut = field<VexaLabelComboUnit>(scaling, "cmbUnits0", 2109, QString());
    cmbUnitsOut->setObjectNameCombo(QStringLiteral("outScaleUnit"));
    cmbUnitsOut->setVisibleUnit(false);
    txtFreeUnitText = new VexaText(scaling);
    txtFreeUnitText->setObjectName(QStringLiteral("txtFreeUnitText"));
    txtFreeUnitText->setObjectNameText(QStringLiteral("freeUnitText"));
    txtFreeUnitText->setVisible(false);
    auto *column = new QVBoxLayout(scaling);
    column->addWidget(txtMessanfang);
    column->addWidget(txtMessende);
    auto *unitRow = new QHBoxLayout;
    unitRow->addWidget(cmbUnitsOut, 2);
    unitRow->addWidget(txtFreeUnitText, 1);
    column->addLayout(unitRow);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(scaling);
    layout->addStretch();
    return page;
}

// Pages 2 and 3 are withdrawn at load; their controls stay bound.
QWidget *frmConfigPrimaryMeas::buildTransferPage()
{
    auto *page = new QWidget;
    auto *root = frame(page, "fraRadiziert", 0);
    auto *cutOff =
        field<VexaLabelTextUnit>(root, "txtLowFlowCutOff", 2020, QString(), QStringLiteral("%"));
    cutOff->setObjectNameText(QStringLiteral("ptrbLowFlowCutOff"));
    auto *linPoint =
        field<VexaLabelTextUnit>(root, "txtFlowLinSqrtPoint", 2147, QString(), QStringLiteral("%"));
    linPoint->setObjectNameText(QStringLiteral("ptrbFlowLinSqrtPoint"));
    auto *rootLayout = new QVBoxLayout(root);
    rootLayout->addWidget(cutOff);
    rootLayout->addWidget(linPoint);
    auto *table = frame(page, "fraTableStatus", 0);
    auto *status = new VexaLabel(table);
    status->setObjectName(QStringLiteral("lblTabStatus"));
    status->setCaptionLabel(QStringLiteral("Status"));
    status->setObjectNameLabel(QStringLiteral("ptrbTabStatus"));
    (new QVBoxLayout(table))->addWidget(status);
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(root);
    layout->addWidget(table);
    layout->addStretch();
    return page;
}

QWidget *frmConfigPrimaryMeas::buildDigitizationPage()
{
    auto *page = new QWidget;
    auto *integration =
        field<VexaLabelTextUnit>(page, "txtInputFilterTime", 2543, QString(), QStringLiteral("ms"));
    integration->setObjectNameText(QStringLiteral("inputfiltertime"));
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(integration);
    layout->addStretch();
    return page;
}

void frmConfigPrimaryMeas::connectReactions()
{
    connect(appConnectionStatus, &VexaAppItem::ValueChanged, this,
            [this](QString &) { appConnectionStatus_ValueChanged(); });
    connect(optWerteingabe, &QRadioButton::clicked, this, [this] { optWerteingabe_Click(); });
    connect(optProzessdruckuebernahme, &QRadioButton::clicked, this,
            [this] { optProzessdruckuebernahme_Click(); });
    for (int i = 0; i < 2; ++i) {
        connect(appScaleInLimRounded[i], &VexaAppItem::ValueChanged, this,
                [this, i](QString &) { appScaleInLimRounded_ValueChanged(i); });
        connect(appScaleInLim[i], &VexaAppItem::ValueChanged, this, [this, i](QString &) {
            RefreshChangeMarking(i);
            RefreshPreview();
        });
        connect(appScaleInLimDevice[i], &VexaAppItem::ValueChanged, this,
                [this](QString &) { RefreshPreview(); });
        connect(txtScaleInLimEx[i], &QLineEdit::editingFinished, this,
                [this, i] { CommitRangeEntry(i); });
        connect(txtScaleInLimEx[i], &QLineEdit::textChanged, this, [this] { RefreshPreview(); });
        connect(cmdSetPrimaryVariableRangeValue[i], &QPushButton::clicked, this,
                [this, i] { cmdSetPrimaryVariableRangeValue_Click(i); });
        connect(seqSetPvRangeValues[i], &VexaSequenceItem::StatusChanged, this,
                [this, i](qint32 &status) { seqSetPvRangeValues_StatusChanged(i, status); });
        connect(m_rangeStarter[i], &SequenceStarter::Accepted, this,
                [] { EnableMainWindow(false); });
    }
    connect(appCurrentSequence, &VexaAppItem::ValueChanged, this, [this](QString &) {
        RefreshChangeMarking(0);
        RefreshChangeMarking(1);
    });
    connect(appOutScaleUnit, &VexaAppItem::ValueChanged, this,
            [this](QString &) { appOutScaleUnit_ValueChanged(); });
    for (VexaAppItem *live : {appPrimaryValue, appTransferFunction, appPrimaryValueUnit}) {
        connect(live, &VexaAppItem::ValueChanged, this, [this](QString &) { RefreshPreview(); });
    }
    connect(Cmd_Set_PV_Value, &QPushButton::clicked, this, [this] { Cmd_Set_PV_Value_Click(); });
    connect(seqSetPvZero, &VexaSequenceItem::StatusChanged, this,
            [this](qint32 &status) { seqSetPvZero_StatusChanged(status); });
    connect(m_zeroStarter, &SequenceStarter::Accepted, this, [] { EnableMainWindow(false); });
    connect(cmdParallelShift, &QPushButton::clicked, this, [this] { cmdParallelShift_Click(); });
    connect(m_shiftReadStarter, &SequenceStarter::Accepted, this, [this] {
        // Only the start from the button asks for a shift; the re-reads after a
        // range change do not.
        if (m_shiftAsked) {
            m_shiftAsked = false;
            m_offsetShiftRequested = true;
            EnableMainWindow(false);
        }
    });
    connect(seqGetParallelShiftData, &VexaSequenceItem::StatusChanged, this,
            [this](qint32 &status) { seqGetParallelShiftData_StatusChanged(status); });
    connect(seqPerformOffsetShift, &VexaSequenceItem::StatusChanged, this,
            [this](qint32 &status) { seqPerformOffsetShift_StatusChanged(status); });
}

void frmConfigPrimaryMeas::FormLoad()
{
    m_offsetShiftRequested = false;
    m_parallelShiftStep = 0;
    m_lastCommittedText = {};
    tbsOptions->setTabVisible(2, false);
    tbsOptions->setTabVisible(3, false);
    alignFields({txtMessanfang, txtMessende, cmbUnitsOut});
    optWerteingabe->setChecked(true);
    optWerteingabe_Click();
    cmdParallelShift->setEnabled(false);
    RefreshChangeMarking(0);
    RefreshChangeMarking(1);
    RefreshPreview();
}

void frmConfigPrimaryMeas::FormActivated()
{
    // The values delivered at registration came before the dialog counted as
    // initialized: apply the connection now.
    appConnectionStatus_ValueChanged();
    fitToContents(this);
}

void frmConfigPrimaryMeas::appConnectionStatus_ValueChanged()
{
    m_online = appConnectionStatus->UIntValue() == 2;
    optProzessdruckuebernahme->setEnabled(m_online);
    if (!m_online) {
        optWerteingabe->setChecked(true);
        optWerteingabe_Click();
    }
    cmdParallelShift->setEnabled(m_online);
    Cmd_Set_PV_Value->setEnabled(m_online);
    RefreshChangeMarking(0);
    RefreshChangeMarking(1);
    RefreshPreview();
}

void frmConfigPrimaryMeas::optWerteingabe_Click()
{
    txtScaleInLoLim->setEnabled(true);
    txtScaleInHiLim->setEnabled(true);
    for (int i = 0; i < 2; ++i) {
        txtScaleInLimEx[i]->setEnabled(true);
        cmdSetPrimaryVariableRangeValue[i]->setEnabled(false);
    }
}

void frmConfigPrimaryMeas::optProzessdruckuebernahme_Click()
{
    txtScaleInLoLim->setEnabled(false);
    txtScaleInHiLim->setEnabled(false);
    for (int i = 0; i < 2; ++i) {
        txtScaleInLimEx[i]->setEnabled(false);
        cmdSetPrimaryVariableRangeValue[i]->setEnabled(true);
    }
}

void frmConfigPrimaryMeas::CommitRangeEntry(int index)
{
    if (index < 0 || index >= 2)
        return;
    const QString text = txtScaleInLimEx[index]->text();
    // An emptied box holds no entry: the range value comes back, nothing is
    // written.
    if (text.trimmed().isEmpty()) {
        appScaleInLimRounded_ValueChanged(index);
        return;
    }
    if (m_lastCommittedText[index].isValid() && m_lastCommittedText[index].toString() == text)
        return;
    m_lastCommittedText[index] = text;
    appScaleInLim[index]->setStringValue(text);
}

void frmConfigPrimaryMeas::appScaleInLimRounded_ValueChanged(int index)
{
    const QString shown = EntryRules::singleText(appScaleInLimRounded[index]->FloatValue());
    // What is shown counts as committed: leaving a box nobody edited must not
    // write the rounded text over the exact value.
    m_lastCommittedText[index] = shown;
    txtScaleInLimEx[index]->setText(shown);
    RefreshPreview();
}

void frmConfigPrimaryMeas::RefreshChangeMarking(int index)
{
    const bool changed = (quint32(appScaleInLim[index]->ItemState()) & ChangedStateMask) != 0;
    markChanged(txtScaleInLimEx[index], changed);
}

void frmConfigPrimaryMeas::appOutScaleUnit_ValueChanged()
{
    txtFreeUnitText->setVisible(appOutScaleUnit->UIntValue() == FreeUnitCode);
}

void frmConfigPrimaryMeas::cmdSetPrimaryVariableRangeValue_Click(int index)
{
    m_rangeStarter[index]->start(SequenceStarter::Command::Force);
}

void frmConfigPrimaryMeas::seqSetPvRangeValues_StatusChanged(int index, qint32 status)
{
    if (status == 1 || status == 2)
        seqSetPvRangeValues[index]->DoAction(1);
    else if (status == 0 && IsInitialized())
        RereadShiftData();
}

void frmConfigPrimaryMeas::Cmd_Set_PV_Value_Click()
{
    m_zeroStarter->start(SequenceStarter::Command::Start);
}

void frmConfigPrimaryMeas::seqSetPvZero_StatusChanged(qint32 status)
{
    if (status == 2)
        seqSetPvZero->DoAction(1);
}

void frmConfigPrimaryMeas::cmdParallelShift_Click()
{
    m_shiftAsked = true;
    if (!m_shiftReadStarter->start(SequenceStarter::Command::Start))
        m_shiftAsked = false;
}

void frmConfigPrimaryMeas::seqGetParallelShiftData_StatusChanged(qint32 status)
{
    if (!IsInitialized())
        return;
    if (status == 2) {
        m_parallelShiftStep = 1;
        seqGetParallelShiftData->DoAction(1);
        return;
    }
    if (status != 0)
        return;
    if (m_parallelShiftStep == 1) {
        m_parallelShiftStep = 2;
        // The host reports 0 again once the data are taken (the next step).
        if (!adjustNow(seqGetParallelShiftData)) {
            m_parallelShiftStep = 0;
            m_offsetShiftRequested = false;
        }
        return;
    }
    const bool dataTaken = m_parallelShiftStep == 2;
    m_parallelShiftStep = 0;
    // However the read ended, the request is used up: a later re-read must
    // not write a shift nobody asked for.
    const bool requested = m_offsetShiftRequested;
    m_offsetShiftRequested = false;
    if (dataTaken && requested)
        WriteOffsetShiftTarget();
}

void frmConfigPrimaryMeas::WriteOffsetShiftTarget()
{
    const auto target = EntryRules::toNumber(txtMesswertAktuell->text());
    if (!target)
        return;
    appOffsetShiftScaleIn->setStringValue(QString::number(*target, 'g', 17));
    // The user asked for the shift: it waits for a sequence that came between.
    m_shiftWriteStarter->start(SequenceStarter::Command::Force,
                               SequenceStarter::WhenBusy::WaitForHost);
}

// After a change of range or shift the dialog's shift data are stale: the
// read waits for a sequence that came between.
void frmConfigPrimaryMeas::RereadShiftData()
{
    m_shiftReadStarter->start(SequenceStarter::Command::Start,
                              SequenceStarter::WhenBusy::WaitForHost);
}

void frmConfigPrimaryMeas::seqPerformOffsetShift_StatusChanged(qint32 status)
{
    if (status == 1)
        seqPerformOffsetShift->DoAction(1);
    else if (status == 0 && IsInitialized())
        RereadShiftData();
}

void frmConfigPrimaryMeas::RefreshPreview()
{
    const QLocale locale;
    const QString unit = appPrimaryValueUnit->EnumValue();
    for (QLabel *unitLabel : lblScaleInLimUnit)
        unitLabel->setText(unit);
    const QString none = QStringLiteral("\u2014");
    const auto show = [&](int column, const std::optional<RerangeOutput> &out) {
        lblPreviewCurrent[column]->setText(
            out ? locale.toString(out->milliamps, 'f', 2) + QStringLiteral(" mA") : none);
        lblPreviewPercent[column]->setText(
            out ? locale.toString(out->percent, 'f', 1) + QStringLiteral(" %") : none);
    };
    if (!m_online) {
        lblPreviewPressure->setText(resText(PreviewOffline));
        show(0, std::nullopt);
        show(1, std::nullopt);
        lblPreviewWarning->clear();
        return;
    }
    const double pressure = appPrimaryValue->FloatValue();
    const bool squareRoot = appTransferFunction->UIntValue() == 1;
    // As many decimals as the range the device holds calls for, so that the
    // noise of the last digits does not flicker.
    const double span = appScaleInLimDevice[1]->FloatValue() - appScaleInLimDevice[0]->FloatValue();
    const int decimals = clsGetDecimalPlaces().GetDecimalPlaces(span);
    lblPreviewPressure->setText(locale.toString(pressure, 'f', decimals) + QLatin1Char(' ') + unit);
    std::array<double, 2> typed{};
    for (int i = 0; i < 2; ++i) {
        const auto value = EntryRules::toNumber(txtScaleInLimEx[i]->text());
        typed[i] = value ? *value : appScaleInLim[i]->FloatValue();
    }
    const auto now = RerangePreview::output(pressure, appScaleInLimDevice[0]->FloatValue(),
                                            appScaleInLimDevice[1]->FloatValue(), squareRoot);
    const auto next = RerangePreview::output(pressure, typed[0], typed[1], squareRoot);
    show(0, now);
    show(1, next);
    if (next && next->outsideLimits)
        lblPreviewWarning->setText(resText(PreviewWarning));
    else
        lblPreviewWarning->clear();
}
