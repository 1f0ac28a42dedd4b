#include "frmMaxValues.h"

#include "DialogControls.h"
#include "VexaAppItem.h"
#include "VexaSequenceItem.h"
#include "VexaText.h"
#include "VexaValueEdit.h"
#include "clsGetDecimalPlaces.h"
#include "mainwin/global.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int Connected = 2;

struct PeakGroup
{
    int tag;
    const char *minimum;
    const char *maximum;
    const char *unit;
    int selector;
    // The span whose places the group's values take, as the live displays
    // do; the sensor's limits while the device's span is not known.
    const char *spanLow;
    const char *spanHigh;
    const char *sensorLow;
    const char *sensorHigh;
};
constexpr PeakGroup Groups[2] = {
    {2096, "sensorMinMaxUserLoLim", "sensorMinMaxUserHiLim", "primaryValueUnit",
     frmMaxValues::PressureReset, "scaleInLoLim", "scaleInHiLim", "sensorRangeLoLim",
     "sensorRangeHiLim"},
    {2098, "sensorTemperatureMinMaxUserLoLim", "sensorTemperatureMinMaxUserHiLim",
     "sensorTemperatureUnit", frmMaxValues::TemperatureReset, "sensorTemperatureRangeLoLim",
     "sensorTemperatureRangeHiLim", "sensorTemperatureRangeLoLim", "sensorTemperatureRangeHiLim"}};

VexaAppItem *item(const char *name, QWidget *parent, qint16 interval = 0)
{
    auto *control = new VexaAppItem(parent);
    control->setAppItemName(QLatin1String(name));
    control->setUpdateInterval(interval);
    return control;
}

// A value the device measured: shown, refreshed every cycle, not entered.
// Read-only rather than disabled, so that it stays legible.
VexaText *peak(const char *name, QWidget *parent)
{
    auto *text = new VexaText(parent);
    text->setObjectName(QStringLiteral("txt_%1").arg(QLatin1String(name)));
    text->setObjectNameText(QLatin1String(name));
    text->setCycleTimeText(1);
    text->setVisibleUnit(false);
    text->setWidthText(100);
    text->edit()->setReadOnly(true);
    return text;
}

QLabel *columnLabel(int tag, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setProperty("Tag", tag);
    return label;
}
} // namespace

frmMaxValues::frmMaxValues(QWidget *parent) : clsVexaForm(parent)
{
    // The framework controls take their captions from the program's table.
    DialogControls::useProgramTexts();
    build();
    for (int i = 0; i < 2; ++i) {
        connect(appUnit[i], &VexaAppItem::ValueChanged, this,
                [this, i](QString &) { showUnit(i); });
        for (VexaAppItem *limit :
             {appSpan[i][0], appSpan[i][1], appSensorLimits[i][0], appSensorLimits[i][1]})
            connect(limit, &VexaAppItem::ValueChanged, this,
                    [this, i](QString &) { showDecimals(i); });
    }
    connect(appConnectionStatus, &VexaAppItem::ValueChanged, this,
            [this](QString &value) { showConnection(value); });
    for (int selector : {TemperatureReset, PressureReset})
        connect(cmdReset[selector], &QPushButton::clicked, this,
                [this, selector] { reset(selector); });
    connect(seqResetPeakValues, &VexaSequenceItem::StatusChanged, this,
            [this](qint32 &status) { resetStatus(status); });
}

frmMaxValues::~frmMaxValues() = default;

void frmMaxValues::FormActivated()
{
    // The limits delivered at registration came before the values were shown.
    showDecimals(0);
    showDecimals(1);
    // Opened before its texts and controls were there: wide enough now.
    DialogControls::fitToContents(this);
}

void frmMaxValues::build()
{
    setObjectName(QStringLiteral("frmMaxValues"));
    setProperty("Tag", 2095);
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraGroupAll"));
    appresetPeakValues = item("resetPeakValues", frame);
    seqResetPeakValues = new VexaSequenceItem(frame);
    seqResetPeakValues->setAppItemName(QStringLiteral("ResetMaxValues"));
    appConnectionStatus = item("&&private&&Connect", frame);

    auto *inner = new QVBoxLayout(frame);
    for (int i = 0; i < 2; ++i) {
        const PeakGroup &g = Groups[i];
        auto *group = new QGroupBox(frame);
        group->setObjectName(QStringLiteral("fraPeak%1").arg(i));
        group->setProperty("Tag", g.tag);
        appUnit[i] = item(g.unit, group, 1);
        appUnit[i]->setRegisterOnShadow(true); // the peaks are in the device's unit
        // The device's own values: a range only typed in the dataset does
        // not change what was measured.
        appSpan[i] = {item(g.spanLow, group), item(g.spanHigh, group)};
        for (VexaAppItem *limit : appSpan[i])
            limit->setRegisterOnShadow(true);
        appSensorLimits[i] = {item(g.sensorLow, group), item(g.sensorHigh, group)};
        auto *grid = new QGridLayout(group);
        grid->addWidget(columnLabel(2100, group), 0, 0);
        grid->addWidget(columnLabel(2101, group), 0, 1);
        txtPeak[i] = {peak(g.minimum, group), peak(g.maximum, group)};
        grid->addWidget(txtPeak[i][0], 1, 0);
        grid->addWidget(txtPeak[i][1], 1, 1);
        lblUnit[i] = new QLabel(group);
        lblUnit[i]->setObjectName(QStringLiteral("lblUnit%1").arg(i));
        lblUnit[i]->setMinimumWidth(60);
        grid->addWidget(lblUnit[i], 1, 2);
        auto *button = new QPushButton(group);
        button->setObjectName(QStringLiteral("cmdReset%1").arg(g.selector));
        button->setProperty("Tag", 2094);
        button->setEnabled(false);
        cmdReset[g.selector] = button;
        grid->addWidget(button, 1, 3);
        grid->setColumnStretch(0, 1);
        grid->setColumnStretch(1, 1);
        inner->addWidget(group);
    }
    inner->addStretch(1);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(frame);
}

void frmMaxValues::showUnit(int group)
{
    const QString unit = appUnit[group]->EnumValue();
    if (!unit.isEmpty())
        lblUnit[group]->setText(QLatin1Char('[') + unit + QLatin1Char(']'));
}

void frmMaxValues::showDecimals(int group)
{
    const auto span = [](const std::array<VexaAppItem *, 2> &limits) {
        return double(limits[1]->FloatValue()) - double(limits[0]->FloatValue());
    };
    double width = span(appSpan[group]);
    if (width == 0)
        width = span(appSensorLimits[group]);
    const int places = clsGetDecimalPlaces().GetDecimalPlaces(width);
    for (VexaText *value : txtPeak[group])
        value->setDecimalPlaces(places);
}

void frmMaxValues::showConnection(const QString &value)
{
    const bool online = value.trimmed().toDouble() == Connected;
    for (int selector : {TemperatureReset, PressureReset})
        cmdReset[selector]->setEnabled(online);
}

void frmMaxValues::reset(int selector)
{
    // Refused by the host: the window stays usable.
    if (DialogControls::hostTakes("resetting the peak values", [&] {
            appresetPeakValues->setUIntValue(selector);
            seqResetPeakValues->Force(true);
        }))
        EnableMainWindow(false);
}

void frmMaxValues::resetStatus(qint32 status)
{
    if (status == 1)
        seqResetPeakValues->DoAction(1);
    else if (status == 0)
        EnableMainWindow(true);
}
