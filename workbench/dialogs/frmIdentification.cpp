#include "frmIdentification.h"

#include "DialogControls.h"
#include "FieldColumn.h"
#include "RevisionText.h"
#include "VexaAppItem.h"
#include "VexaLabel.h"
#include "VexaLabelTextUnit.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
constexpr int FieldWidth = 220;

VexaFieldControl *entry(const char *item, int textId, QWidget *parent)
{
    auto *text = new VexaLabelTextUnit(parent);
    text->setObjectName(QStringLiteral("vexa_%1").arg(QLatin1String(item)));
    text->setObjectNameText(QLatin1String(item));
    text->setLabelTextId(textId);
    return text;
}

VexaFieldControl *value(const char *item, int textId, QWidget *parent)
{
    auto *label = new VexaLabel(parent);
    label->setObjectName(QStringLiteral("vexa_%1").arg(QLatin1String(item)));
    label->setObjectNameLabel(QLatin1String(item));
    label->setLabelTextId(textId);
    return label;
}

VexaAppItem *item(const char *name, QWidget *parent)
{
    auto *control = new VexaAppItem(parent);
    control->setAppItemName(QLatin1String(name));
    return control;
}

// A value shown as the framework's value displays show theirs.
QLabel *framed(QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    return label;
}

QLabel *tagged(int textId, const QString &designText, QWidget *parent)
{
    auto *label = new QLabel(designText, parent);
    if (textId)
        label->setProperty("Tag", textId);
    return label;
}
} // namespace

frmIdentification::frmIdentification(QWidget *parent) : clsVexaForm(parent)
{
    // The framework controls take their captions from the program's table.
    DialogControls::useProgramTexts();
    setObjectName(QStringLiteral("frmIdentification"));
    setProperty("Tag", 2078);
    tbsOptions = new QTabWidget(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    app_hardwareRev = item("_hardwareRev", tbsOptions);
    app_softwareRevisionHART = item("_softwareRevisionHART", tbsOptions);
    appSoftwareRevision = item("softwareRevision", tbsOptions);
    appUnivCmdRev = item("_univCmdRevHART", tbsOptions);
    buildPage();
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(tbsOptions);

    connect(app_hardwareRev, &VexaAppItem::ValueChanged, this,
            [this](QString &value) { lblHardwareRev->setText(RevisionText::twoDigits(value)); });
    connect(app_softwareRevisionHART, &VexaAppItem::ValueChanged, this, [this](QString &value) {
        lblSoftwareRevisionHart->setText(RevisionText::twoDigits(value));
    });
    // The HART revision the device implements, as the report names it.
    connect(appUnivCmdRev, &VexaAppItem::ValueChanged, this, [this](QString &value) {
        lblCommType->setText(QStringLiteral("HART ") + value.trimmed());
    });
    connect(appSoftwareRevision, &VexaAppItem::ValueChanged, this, [this](QString &) {
        lblSoftwareRevision->setText(
            RevisionText::dotted(appSoftwareRevision->OctetValue().toByteArray()));
    });
}

frmIdentification::~frmIdentification() = default;

void frmIdentification::FormActivated()
{
    // Opened before its texts and controls were there: wide enough now.
    DialogControls::fitToContents(this);
}

void frmIdentification::buildPage()
{
    picOptions0 = new QWidget;
    picOptions0->setObjectName(QStringLiteral("picOptions0"));
    tbsOptions->addTab(picOptions0, QStringLiteral("2155"));
    QWidget *page = picOptions0;

    auto *layout = new QVBoxLayout(page);
    const QList<VexaFieldControl *> identity{entry("_tagHART", 2079, page),
                                             entry("descriptor", 2152, page),
                                             entry("deviceMessage", 2153, page),
                                             value("&&private_PM&&Address", 2148, page),
                                             value("_mfrIdHART", 2149, page),
                                             value("_mfrDeviceTypeHART", 2154, page),
                                             value("deviceName", 3521, page),
                                             value("_deviceIdNumberHART", 2083, page),
                                             entry("_finalAssyNumber", 2609, page),
                                             value("hardwareSerialNumber", 3512, page),
                                             value("sensorIdentification", 2263, page)};
    for (VexaFieldControl *row : identity)
        layout->addWidget(row);
    const int fieldLeft = FieldColumn::align(identity, FieldWidth);

    auto *commType = new QHBoxLayout;
    commType->setSpacing(0);
    QLabel *commTypeCaption = tagged(2259, QStringLiteral("Communication Type"), page);
    commTypeCaption->setFixedWidth(fieldLeft);
    commType->addWidget(commTypeCaption);
    lblCommType = framed(page);
    lblCommType->setObjectName(QStringLiteral("lblCommType"));
    lblCommType->setText(QStringLiteral("HART"));
    lblCommType->setFixedWidth(FieldWidth);
    commType->addWidget(lblCommType);
    commType->addStretch(1);
    layout->addLayout(commType);

    auto *revisions = new QGroupBox(page);
    revisions->setObjectName(QStringLiteral("fraRevisions"));
    revisions->setProperty("Tag", 2260);
    auto *grid = new QGridLayout(revisions);
    grid->setColumnStretch(1, 1);
    lblSoftwareRevisionHart = framed(revisions);
    lblSoftwareRevisionHart->setObjectName(QStringLiteral("lblSoftwareRevisionHart"));
    lblHardwareRev = framed(revisions);
    lblHardwareRev->setObjectName(QStringLiteral("lblHardwareRev"));
    lblSoftwareRevision = framed(revisions);
    lblSoftwareRevision->setObjectName(QStringLiteral("lblSoftwareRevision"));
    // Command 0's software revision: not to be read as a HART revision.
    grid->addWidget(tagged(7419, QStringLiteral("HART software revision"), revisions), 0, 0);
    grid->addWidget(lblSoftwareRevisionHart, 0, 1);
    grid->addWidget(tagged(2262, QStringLiteral("Hardware"), revisions), 1, 0);
    grid->addWidget(lblHardwareRev, 1, 1);
    grid->addWidget(tagged(0, QStringLiteral("Software"), revisions), 2, 0);
    grid->addWidget(lblSoftwareRevision, 2, 1);
    grid->addWidget(tagged(0, tr("Universal Commands"), revisions), 3, 0);
    grid->addWidget(value("_univCmdRevHART", 0, revisions), 3, 1);
    grid->addWidget(tagged(0, tr("Transmitter Specific Commands"), revisions), 4, 0);
    grid->addWidget(value("_transSpecRevHART", 0, revisions), 4, 1);
    layout->addWidget(revisions);
    layout->addStretch(1);
}
