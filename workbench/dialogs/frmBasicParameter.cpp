#include "frmBasicParameter.h"

#include "DialogControls.h"
#include "FieldColumn.h"
#include "VexaAppItem.h"
#include "VexaLabel.h"
#include "VexaLabelComboUnit.h"
#include "VexaLabelTextUnit.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPainter>
#include <QRadioButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {
constexpr qint32 StateModified = 0x1;
constexpr int FieldWidth = 170;
constexpr int PictureSize = 48;

// A row of the dialog: an entry, a selection or a read-only value.
enum class Kind
{
    Entry,
    Selection,
    Value
};

struct Row
{
    Kind kind;
    const char *item;
    int textId;
    const char *unitItem = nullptr; // the item whose unit text shows
    const char *unit = nullptr;     // else a fixed unit text
};

VexaFieldControl *makeRow(const Row &row, QWidget *parent)
{
    VexaFieldControl *control = nullptr;
    if (row.kind == Kind::Entry) {
        auto *text = new VexaLabelTextUnit(parent);
        text->setObjectNameText(QLatin1String(row.item));
        control = text;
    } else if (row.kind == Kind::Selection) {
        auto *combo = new VexaLabelComboUnit(parent);
        combo->setObjectNameCombo(QLatin1String(row.item));
        control = combo;
    } else {
        auto *label = new VexaLabel(parent);
        label->setObjectNameLabel(QLatin1String(row.item));
        control = label;
    }
    control->setObjectName(QStringLiteral("vexa_%1").arg(QLatin1String(row.item)));
    control->setLabelTextId(row.textId);
    if (row.unitItem)
        control->setObjectNameUnit(QLatin1String(row.unitItem));
    if (row.unit)
        control->setCaption(QLatin1String(row.unit));
    return control;
}

// The rows, one above the other, fields in one column.
QList<VexaFieldControl *> addRows(std::initializer_list<Row> rows, QWidget *parent,
                                  QVBoxLayout *layout)
{
    QList<VexaFieldControl *> made;
    for (const Row &row : rows) {
        made << makeRow(row, parent);
        layout->addWidget(made.last());
    }
    FieldColumn::align(made, FieldWidth);
    return made;
}

// The device as it is mounted: housing above, process connection below,
// turned by the angle.
QPixmap mountingPicture(int degrees, const QPalette &palette)
{
    QPixmap picture(PictureSize, PictureSize);
    picture.fill(Qt::transparent);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(PictureSize / 2.0, PictureSize / 2.0);
    painter.rotate(degrees);
    painter.setPen(QPen(palette.color(QPalette::WindowText), 1.5));
    painter.setBrush(palette.color(QPalette::Button));
    painter.drawRoundedRect(QRectF(-10, -18, 20, 22), 4, 4);
    painter.drawRect(QRectF(-4, 4, 8, 8));
    painter.drawLine(QPointF(-8, 14), QPointF(8, 14));
    return picture;
}
} // namespace

frmBasicParameter::frmBasicParameter(QWidget *parent) : clsVexaForm(parent)
{
    // The framework controls take their captions from the program's table.
    DialogControls::useProgramTexts();
    setObjectName(QStringLiteral("frmBasicParameter"));
    setProperty("Tag", 2041);
    tbsOptions = new QTabWidget(this);
    tbsOptions->setObjectName(QStringLiteral("tbsOptions"));
    // Every page the device has is in sight: the dialog is as wide as its tabs.
    tbsOptions->setUsesScrollButtons(false);
    appInstallationAngle = new VexaAppItem(tbsOptions);
    appInstallationAngle->setAppItemName(QStringLiteral("installationAngle"));
    appSoftwareRevision = new VexaAppItem(tbsOptions);
    appSoftwareRevision->setAppItemName(QStringLiteral("softwareRevision"));
    appSoftwareRevision->setRegisterOnShadow(true);
    appNumberRemoteSeal = new VexaAppItem(tbsOptions);
    appNumberRemoteSeal->setAppItemName(QStringLiteral("numberRemoteSeal"));
    appConnectionStatus = new VexaAppItem(tbsOptions);
    appConnectionStatus->setAppItemName(QStringLiteral("&&private&&Connect"));
    buildPages();
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(tbsOptions);

    connect(appSoftwareRevision, &VexaAppItem::ValueChanged, this, [this](QString &) {
        if (IsInitialized())
            offerAnglePage();
    });
    connect(appInstallationAngle, &VexaAppItem::ValueChanged, this,
            [this](QString &) { showAngle(); });
    connect(m_angles, &QButtonGroup::idClicked, this, &frmBasicParameter::chooseAngle);
}

frmBasicParameter::~frmBasicParameter() = default;

void frmBasicParameter::buildPages()
{
    const int tabText[Pages] = {2039, 2213, 2040, 2030, 3600};
    for (int i = 0; i < Pages; ++i) {
        picOptions[i] = i == InstallationAngle ? buildAnglePage() : new QWidget;
        picOptions[i]->setObjectName(QStringLiteral("picOptions%1").arg(i));
        tbsOptions->addTab(picOptions[i], QString::number(tabText[i]));
    }

    auto *general = new QVBoxLayout(picOptions[General]);
    addRows({{Kind::Entry, "deviceInstallDate", 2023},
             {Kind::Selection, "writeProtection", 2063},
             {Kind::Selection, "sensorTemperatureUnit", 2021},
             {Kind::Selection, "keyFunctionSelector", 2022},
             {Kind::Selection, "hmiMainOperatorView", 3514},
             {Kind::Selection, "hmiLanguage", 3522},
             {Kind::Selection, "hmiMainOperatorBargraph", 3523}},
            picOptions[General], general)
        .at(2)
        ->setObjectName(QStringLiteral("cmbTemperatureValueUnit"));
    general->addStretch(1);

    auto *current = new QVBoxLayout(picOptions[Current]);
    auto *limits = new QGroupBox(tr("Current Limits"), picOptions[Current]);
    limits->setObjectName(QStringLiteral("fraStromgrenzen"));
    addRows({{Kind::Entry, "spanLimitLowValue", 2253, nullptr, "mA"},
             {Kind::Entry, "spanLimitHighValue", 2254, nullptr, "mA"}},
            limits, new QVBoxLayout(limits));
    auto *alarm = new QGroupBox(tr("Alarm Current"), picOptions[Current]);
    alarm->setObjectName(QStringLiteral("fraAlarmstrom"));
    addRows({{Kind::Selection, "alarmSelection", 2025},
             {Kind::Entry, "alarmLowValue", 2026, nullptr, "mA"},
             {Kind::Entry, "alarmHighValue", 2027, nullptr, "mA"}},
            alarm, new QVBoxLayout(alarm));
    current->addWidget(limits);
    current->addWidget(alarm);
    current->addStretch(1);

    auto *sensor = new QVBoxLayout(picOptions[Sensor]);
    addRows({{Kind::Value, "sensorIsolatorMtl", 2037},
             {Kind::Value, "sensorFillFluid", 2038},
             {Kind::Value, "processConnectionType", 2031},
             {Kind::Value, "ConnectionMaterial", 2032},
             {Kind::Value, "ProcessConnectionORingMaterial", 2033},
             {Kind::Value, "sensorTemperatureRangeLoLim", 2235, "sensorTemperatureUnit"},
             {Kind::Value, "sensorTemperatureRangeHiLim", 2236, "sensorTemperatureUnit"},
             {Kind::Value, "sensorRangeLoLim", 2235, "primaryValueUnit"},
             {Kind::Value, "sensorRangeHiLim", 2236, "primaryValueUnit"},
             {Kind::Value, "minSpan", 3511, "primaryValueUnit"}},
            picOptions[Sensor], sensor);
    sensor->addStretch(1);

    auto *seal = new QVBoxLayout(picOptions[RemoteSeal]);
    addRows({{Kind::Value, "numberRemoteSeal", 2035},
             {Kind::Value, "remoteSealType", 2036},
             {Kind::Value, "remoteSealIsolatorMtl", 2037},
             {Kind::Value, "remoteSealFillFluid", 2038}},
            picOptions[RemoteSeal], seal);
    seal->addStretch(1);
}

QWidget *frmBasicParameter::buildAnglePage()
{
    auto *page = new QWidget;
    m_angles = new QButtonGroup(this);
    auto *grid = new QGridLayout(page);
    for (int i = 0; i < Angles; ++i) {
        Image1[i] = new QLabel(page);
        Image1[i]->setObjectName(QStringLiteral("Image1%1").arg(i));
        Image1[i]->setPixmap(mountingPicture(45 * i, palette()));
        Image1[i]->setAlignment(Qt::AlignCenter);
        Option1[i] = new QRadioButton(QStringLiteral("%1\u00B0").arg(45 * i), page);
        Option1[i]->setObjectName(QStringLiteral("Option1%1").arg(i));
        m_angles->addButton(Option1[i], i);
        lblDirty[i] = new QLabel(QStringLiteral("\u25CF"), page);
        lblDirty[i]->setObjectName(QStringLiteral("lblDirty%1").arg(i));
        lblDirty[i]->setStyleSheet(QStringLiteral("color: #d07000;"));
        QSizePolicy policy = lblDirty[i]->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        lblDirty[i]->setSizePolicy(policy);
        lblDirty[i]->hide();
        auto *option = new QHBoxLayout;
        option->addWidget(lblDirty[i]);
        option->addWidget(Option1[i]);
        grid->addWidget(Image1[i], 0, i);
        grid->addLayout(option, 1, i, Qt::AlignHCenter);
    }
    grid->setRowStretch(2, 1);
    return page;
}

bool frmBasicParameter::isPageOffered(Page page) const
{
    return tbsOptions->isTabVisible(page);
}

void frmBasicParameter::FormActivated()
{
    offerAnglePage();
    offerRemoteSealPage();
    // Opened before its texts and controls were there: wide enough now.
    DialogControls::fitToContents(this);
}

void frmBasicParameter::FormUnload()
{
    m_deviceInfo.release();
}

void frmBasicParameter::offerAnglePage()
{
    tbsOptions->setTabVisible(InstallationAngle,
                              m_deviceInfo.atLeast(viewRef(), InstallationAngleFrom));
}

void frmBasicParameter::offerRemoteSealPage()
{
    if (appNumberRemoteSeal->UIntValue() == 0)
        tbsOptions->setTabVisible(RemoteSeal, false);
}

void frmBasicParameter::showAngle()
{
    const bool modified = appInstallationAngle->ItemState() & StateModified;
    for (QLabel *dirty : lblDirty)
        dirty->setVisible(modified);
    const double angle = appInstallationAngle->UIntValue();
    if (QAbstractButton *option =
            m_angles->button(angle >= 0 && angle < Angles ? int(angle) : -1)) {
        option->setChecked(true);
        return;
    }
    // An angle without an option button: none is selected.
    m_angles->setExclusive(false);
    for (QRadioButton *option : Option1)
        option->setChecked(false);
    m_angles->setExclusive(true);
}

void frmBasicParameter::chooseAngle(int angle)
{
    appInstallationAngle->setUIntValue(angle);
}
