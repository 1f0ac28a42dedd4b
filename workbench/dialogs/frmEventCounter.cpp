#include "frmEventCounter.h"

#include "DialogControls.h"
#include "DurationText.h"
#include "VexaAppItem.h"
#include "VexaLabel.h"
#include "VexaSequenceItem.h"
#include "mainwin/global.h"

#include <QFrame>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
constexpr int Connected = 2;
constexpr int ValueWidth = 90;
constexpr int TimeFormatText = 7310;
const QColor OfflineTime(0xE0, 0xE0, 0xE0);

struct TimeRow
{
    const char *item;
    const char *caption;
};
// The captions have no ids in the string table: their design texts stay.
constexpr TimeRow TimeRows[frmEventCounter::Times] = {
    {"ptrbLastPowerOnTime", QT_TRANSLATE_NOOP("frmEventCounter", "Last Power On")},
    {"ptrbLastOverRangeTime", QT_TRANSLATE_NOOP("frmEventCounter", "Last Infringement")},
    {"ptrbLastOverStatTime", QT_TRANSLATE_NOOP("frmEventCounter", "Last Infringement")},
    {"ptrbLastOverTempTime", QT_TRANSLATE_NOOP("frmEventCounter", "Last Infringement")},
    {"ptrbTotalWorkingHours", QT_TRANSLATE_NOOP("frmEventCounter", "Total Working Hours")},
    {"ptrbPartialWorkingHours", QT_TRANSLATE_NOOP("frmEventCounter", "Partial Working Hours")}};
constexpr const char *CountItems[4] = {"ptrbPowerOnCount", "ptrbOverRangeCount",
                                       "ptrbOverStatCount", "ptrbOverTempCount"};
constexpr const char *ResetSequences[frmEventCounter::Resets] = {
    "ResetOverRangeCount", "ResetOverStatCount", "ResetOverTempCount", "ResetPartialWorkingHours"};

VexaAppItem *item(const char *name, QWidget *parent, qint16 interval = 0)
{
    auto *control = new VexaAppItem(parent);
    control->setAppItemName(QLatin1String(name));
    control->setUpdateInterval(interval);
    return control;
}

QLabel *caption(const QString &text, QWidget *parent)
{
    return new QLabel(text, parent);
}
} // namespace

frmEventCounter::frmEventCounter(QWidget *parent) : clsVexaForm(parent)
{
    // The framework controls take their captions from the program's table.
    DialogControls::useProgramTexts();
    build();
    for (int i = 0; i < Times; ++i) {
        connect(appDuration[i], &VexaAppItem::ValueChanged, this, [this, i](QString &) {
            if (IsInitialized())
                showTime(i);
        });
    }
    connect(appConnectionStatus, &VexaAppItem::ValueChanged, this,
            [this](QString &value) { showConnection(value); });
    for (int k = 0; k < Resets; ++k) {
        connect(cmdReset[k], &QPushButton::clicked, this, [this, k] { reset(k); });
        connect(seqResetEventCounter[k], &VexaSequenceItem::StatusChanged, this,
                [this, k](qint32 &status) { resetStatus(k, status); });
    }
}

frmEventCounter::~frmEventCounter() = default;

void frmEventCounter::build()
{
    setObjectName(QStringLiteral("frmEventCounter"));
    setProperty("Tag", 2087);
    auto *frame = new QFrame(this);
    frame->setObjectName(QStringLiteral("fraGroupAll"));
    appConnectionStatus = item("&&private&&Connect", frame);
    appMultivariableFunction = item("pbMultivariableFunction", frame);
    appSensorTypeFF = item("ptrbSensorTypeFF", frame);

    // Frames: power on, the three limits, working hours (two times); in each
    // the captions, the values and their units in three columns.
    const int frameTag[5] = {2090, 2091, 2092, 2093, 0};
    auto *grid = new QGridLayout(frame);
    int time = 0;
    for (int f = 0; f < 5; ++f) {
        auto *group = new QGroupBox(frame);
        group->setObjectName(QStringLiteral("fraCounter%1").arg(f));
        if (frameTag[f])
            group->setProperty("Tag", frameTag[f]);
        else
            group->setTitle(tr("Working Hours"));
        auto *rows = new QGridLayout(group);
        rows->setColumnStretch(0, 1);
        int row = 0;
        if (f < 4) {
            auto *count = new VexaLabel(group);
            count->setObjectName(QStringLiteral("lblCount%1").arg(f));
            count->setObjectNameLabel(QLatin1String(CountItems[f]));
            count->setWidthText(ValueWidth);
            count->setCycleTimeText(1);
            lblCount[f] = count;
            rows->addWidget(
                caption(f == 0 ? tr("Number Of Power On") : tr("Number Of Infringement"), group),
                row, 0);
            rows->addWidget(count, row++, 1);
        }
        for (int t = 0; t < (f < 4 ? 1 : 2); ++t, ++time) {
            appDuration[time] = item(TimeRows[time].item, group, 1);
            lblTime[time] = new QLabel(group);
            lblTime[time]->setObjectName(QStringLiteral("lblTime%1").arg(time));
            lblTime[time]->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
            lblTime[time]->setFixedWidth(ValueWidth);
            rows->addWidget(caption(tr(TimeRows[time].caption), group), row, 0);
            rows->addWidget(lblTime[time], row, 1);
            const QByteArray unitName = "lblTimeUnit" + QByteArray::number(time);
            rows->addWidget(DialogControls::label(group, unitName.constData(), TimeFormatText),
                            row++, 2);
        }
        if (f > 0) {
            const int k = f - 1;
            seqResetEventCounter[k] = new VexaSequenceItem(group);
            seqResetEventCounter[k]->setAppItemName(QLatin1String(ResetSequences[k]));
            cmdReset[k] = new QPushButton(group);
            cmdReset[k]->setObjectName(QStringLiteral("cmdReset%1").arg(k));
            cmdReset[k]->setProperty("Tag", 2094);
            cmdReset[k]->setEnabled(false);
            rows->addWidget(cmdReset[k], row++, 1, 1, 2, Qt::AlignRight);
        }
        rows->setRowStretch(row, 1);
        grid->addWidget(group, f / 2, f % 2);
    }
    grid->setRowStretch(3, 1);
    auto *outer = new QVBoxLayout(this);
    outer->addWidget(frame);
}

void frmEventCounter::FormActivated()
{
    // The times of the values the host holds now, without waiting for a change.
    for (int i = 0; i < Times; ++i)
        showTime(i);
    // Opened before its texts and controls were there: wide enough now.
    DialogControls::fitToContents(this);
}

void frmEventCounter::showTime(int index)
{
    lblTime[index]->setText(DurationText::fromItemText(appDuration[index]->StringValue()));
}

void frmEventCounter::showConnection(const QString &value)
{
    const bool online = value.trimmed().toDouble() == Connected;
    for (QPushButton *button : cmdReset)
        button->setEnabled(online);
    for (QLabel *time : lblTime) {
        QPalette palette = time->palette();
        palette.setColor(QPalette::WindowText,
                         online ? palette.color(QPalette::Active, QPalette::ButtonText)
                                : OfflineTime);
        time->setPalette(palette);
    }
}

void frmEventCounter::reset(int index)
{
    // Refused by the host: the window stays usable.
    if (DialogControls::hostTakes("resetting an event counter",
                                  [&] { seqResetEventCounter[index]->Force(true); }))
        EnableMainWindow(false);
}

void frmEventCounter::resetStatus(int index, qint32 status)
{
    if (status == 1)
        seqResetEventCounter[index]->DoAction(1);
    else if (status == 0)
        EnableMainWindow(true);
}
