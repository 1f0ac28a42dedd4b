#include "frmConfigDiagnosis.h"

#include "DiagnosisBits.h"
#include "DiagnosisCheckGrid.h"
#include "DialogControls.h"
#include "VexaAppItem.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QVBoxLayout>

namespace {
const char *const ConfigurationItems[frmConfigDiagnosis::Categories] = {
    "configurationMeasurement", "configurationProcess", "configurationElectronics",
    "configurationExtension"};
constexpr qint32 StateModified = 0x1;

VexaAppItem *item(const QString &name, QWidget *parent)
{
    auto *control = new VexaAppItem(parent);
    control->setAppItemName(name);
    return control;
}
} // namespace

frmConfigDiagnosis::frmConfigDiagnosis(QWidget *parent) : clsVexaForm(parent)
{
    setObjectName(QStringLiteral("frmConfigDiagnosis"));
    setProperty("Tag", 2018);
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraGroupAll"));
    for (int c = 0; c < Categories; ++c)
        appStatus[c] = item(QLatin1String(ConfigurationItems[c]), frame);
    appConfigurationMask = item(QStringLiteral("configurationMask"), frame);
    appConnectionStatus = item(QStringLiteral("&&private&&Connect"), frame);

    lblHint = new QLabel(frame);
    lblHint->setObjectName(QStringLiteral("lblHint"));
    lblHint->setProperty("Tag", 3503);
    lblHint->setWordWrap(true);
    checks = new DiagnosisCheckGrid(DiagnosisBits::configurationBoxes(), frame);
    auto *inner = new QVBoxLayout(frame);
    inner->addWidget(lblHint);
    inner->addWidget(checks);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(frame);

    for (int c = 0; c < Categories; ++c) {
        connect(appStatus[c], &VexaAppItem::ValueChanged, this, [this, c](QString &) {
            if (IsInitialized() && !m_updatingChecks)
                showCategory(c);
        });
    }
    connect(appConfigurationMask, &VexaAppItem::ValueChanged, this, [this](QString &) {
        if (IsInitialized())
            showSelectable();
    });
    connect(appConnectionStatus, &VexaAppItem::ValueChanged, this, [this](QString &) {
        if (IsInitialized())
            showAllCategories();
    });
    connect(checks, &DiagnosisCheckGrid::boxClicked, this, &frmConfigDiagnosis::boxClicked);
}

frmConfigDiagnosis::~frmConfigDiagnosis() = default;

void frmConfigDiagnosis::FormActivated()
{
    showSelectable();
    showAllCategories();
    // Opened before its texts and controls were there: wide enough now.
    DialogControls::fitToContents(this);
}

void frmConfigDiagnosis::showCategory(int category)
{
    checks->showDirty(category, appStatus[category]->ItemState() & StateModified);
    m_updatingChecks = true;
    checks->showValue(category, appStatus[category]->UIntValue());
    m_updatingChecks = false;
}

void frmConfigDiagnosis::showAllCategories()
{
    for (int c = 0; c < Categories; ++c)
        showCategory(c);
}

void frmConfigDiagnosis::showSelectable()
{
    const double mask = appConfigurationMask->UIntValue();
    for (int box : checks->boxes())
        checks->chkValue(box)->setEnabled(DiagnosisBits::selectable(mask, box));
}

void frmConfigDiagnosis::boxClicked(int box, bool checked)
{
    if (!IsInitialized())
        return;
    VexaAppItem *status = appStatus[DiagnosisBits::category(box)];
    status->setUIntValue(
        DiagnosisBits::withBit(status->UIntValue(), DiagnosisBits::bit(box), checked));
}
