#include "GenericConfigurationPage.h"

#include "GenericDevice.h"
#include "GenericTexts.h"
#include "MessageBoxSeam.h"
#include "dialogs/EntryKeyFilter.h"
#include "dialogs/EntryRules.h"
#include "hart/HartUnits.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <bit>

namespace {

enum : qint16
{
    UnitLabel = 7801,
    LowerRangeLabel = 4735,
    UpperRangeLabel = 4736,
    DampingLabel = 4748,
    TransferFunctionLabel = 4737,
    AlarmLabel = 4739,
    WriteProtectLabel = 4753,
    WriteUnitText = 7808,
    WriteRangeText = 7809,
    WriteDampingText = 7810,
    SensorGroup = 7811,
    LowerLimitLabel = 7812,
    UpperLimitLabel = 7813,
    MinimumSpanLabel = 7814,
    ZeroText = 7802,
    ZeroQuestion = 7816,
    RangeGroup = 7817,
    OutputGroup = 7818,
    NotANumber = 7819,
};

QPushButton *button(QWidget *parent, const char *name, qint16 textId)
{
    auto *b = new QPushButton(GetResText(textId), parent);
    b->setObjectName(QLatin1String(name));
    return b;
}

QLineEdit *numberField(QWidget *parent, const char *name)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(QLatin1String(name));
    field->setMaximumWidth(120);
    new EntryKeyFilter(field, [](QChar typed, const QString &after) {
        return EntryRules::acceptRangeKey(typed, after);
    });
    return field;
}

QLabel *valueLabel(QWidget *parent, const char *name)
{
    auto *label = new QLabel(parent);
    label->setObjectName(QLatin1String(name));
    return label;
}

bool sameFloat(float a, float b)
{
    return std::bit_cast<quint32>(a) == std::bit_cast<quint32>(b);
}

// NaN stands for "none" and is the same none each time.
bool same(const UniversalLayout::OutputInformation &a, const UniversalLayout::OutputInformation &b)
{
    return a.rangeUnit == b.rangeUnit && sameFloat(a.upperRange, b.upperRange) &&
           sameFloat(a.lowerRange, b.lowerRange) && sameFloat(a.damping, b.damping);
}

QString fieldText(float value)
{
    return GenericTexts::value(value).replace(QStringLiteral("\u2014"), QString());
}

} // namespace

GenericConfigurationPage::GenericConfigurationPage(GenericDevice &device, QWidget *parent)
    : QWidget(parent), m_device(device)
{
    setObjectName(QStringLiteral("GenericConfigurationPage"));
    auto *range = new QGroupBox(GetResText(RangeGroup), this);
    cmbUnit = new QComboBox(range);
    cmbUnit->setObjectName(QStringLiteral("cmbUnit"));
    cmdWriteUnit = button(range, "cmdWriteUnit", WriteUnitText);
    txtLowerRange = numberField(range, "txtLowerRange");
    txtUpperRange = numberField(range, "txtUpperRange");
    lblRangeUnit = valueLabel(range, "lblRangeUnit");
    lblLowerRangeUnit = valueLabel(range, "lblLowerRangeUnit");
    cmdWriteRange = button(range, "cmdWriteRange", WriteRangeText);
    txtDamping = numberField(range, "txtDamping");
    cmdWriteDamping = button(range, "cmdWriteDamping", WriteDampingText);
    cmdZero = button(range, "cmdZero", ZeroText);

    const auto row = [](QWidget *field, QWidget *unit, QPushButton *action) {
        auto *line = new QHBoxLayout;
        line->addWidget(field);
        if (unit)
            line->addWidget(unit);
        line->addStretch(1);
        if (action)
            line->addWidget(action);
        return line;
    };
    auto *s = new QLabel(QStringLiteral("s"), range);
    auto *rangeForm = new QFormLayout(range);
    rangeForm->addRow(GetResText(UnitLabel), row(cmbUnit, nullptr, cmdWriteUnit));
    rangeForm->addRow(GetResText(LowerRangeLabel), row(txtLowerRange, lblLowerRangeUnit, nullptr));
    rangeForm->addRow(GetResText(UpperRangeLabel), row(txtUpperRange, lblRangeUnit, cmdWriteRange));
    rangeForm->addRow(GetResText(DampingLabel), row(txtDamping, s, cmdWriteDamping));
    rangeForm->addRow(QString(), row(cmdZero, nullptr, nullptr));

    auto *output = new QGroupBox(GetResText(OutputGroup), this);
    lblTransferFunction = valueLabel(output, "lblTransferFunction");
    lblAlarmSelection = valueLabel(output, "lblAlarmSelection");
    lblWriteProtect = valueLabel(output, "lblWriteProtect");
    auto *outputForm = new QFormLayout(output);
    outputForm->addRow(GetResText(TransferFunctionLabel), lblTransferFunction);
    outputForm->addRow(GetResText(AlarmLabel), lblAlarmSelection);
    outputForm->addRow(GetResText(WriteProtectLabel), lblWriteProtect);

    auto *sensor = new QGroupBox(GetResText(SensorGroup), this);
    lblLowerLimit = valueLabel(sensor, "lblLowerLimit");
    lblUpperLimit = valueLabel(sensor, "lblUpperLimit");
    lblMinimumSpan = valueLabel(sensor, "lblMinimumSpan");
    auto *sensorForm = new QFormLayout(sensor);
    sensorForm->addRow(GetResText(LowerLimitLabel), lblLowerLimit);
    sensorForm->addRow(GetResText(UpperLimitLabel), lblUpperLimit);
    sensorForm->addRow(GetResText(MinimumSpanLabel), lblMinimumSpan);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(output, 1);
    bottom->addWidget(sensor, 1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(range);
    layout->addLayout(bottom);
    layout->addStretch(1);

    connect(&device, &GenericDevice::valuesChanged, this, &GenericConfigurationPage::refresh);
    connect(&device, &GenericDevice::stateChanged, this, &GenericConfigurationPage::refresh);
    connect(&device, &GenericDevice::busyChanged, this, &GenericConfigurationPage::refreshButtons);
    connect(cmdWriteUnit, &QPushButton::clicked, this, &GenericConfigurationPage::writeUnit);
    connect(cmdWriteRange, &QPushButton::clicked, this, &GenericConfigurationPage::writeRange);
    connect(cmdWriteDamping, &QPushButton::clicked, this, &GenericConfigurationPage::writeDamping);
    connect(cmdZero, &QPushButton::clicked, this, &GenericConfigurationPage::setZero);
    refresh();
}

void GenericConfigurationPage::refresh()
{
    const GenericValues &v = m_device.values();
    if (v.output && (!m_shown || !same(*m_shown, *v.output))) {
        m_shown = v.output;
        fillUnits(v.output->rangeUnit);
        txtLowerRange->setText(fieldText(v.output->lowerRange));
        txtUpperRange->setText(fieldText(v.output->upperRange));
        txtDamping->setText(fieldText(v.output->damping));
        lblRangeUnit->setText(GenericTexts::unit(v.output->rangeUnit));
        lblLowerRangeUnit->setText(lblRangeUnit->text());
    }
    if (!v.output)
        m_shown.reset();
    lblTransferFunction->setText(
        v.output ? GenericTexts::transferFunction(v.output->transferFunction) : QString());
    lblAlarmSelection->setText(v.output ? GenericTexts::alarmSelection(v.output->alarmSelection)
                                        : QString());
    lblWriteProtect->setText(v.output ? GenericTexts::writeProtect(v.output->writeProtect)
                                      : QString());
    const auto &sensor = v.sensor;
    lblLowerLimit->setText(sensor ? GenericTexts::unitValue(sensor->lowerLimit, sensor->unit)
                                  : QString());
    lblUpperLimit->setText(sensor ? GenericTexts::unitValue(sensor->upperLimit, sensor->unit)
                                  : QString());
    lblMinimumSpan->setText(sensor ? GenericTexts::unitValue(sensor->minimumSpan, sensor->unit)
                                   : QString());
    refreshButtons();
}

// The units of the primary variable's quantity, the device's own selected.
void GenericConfigurationPage::fillUnits(quint8 unit)
{
    cmbUnit->clear();
    for (const quint8 code : HartUnits::sameQuantity(unit))
        cmbUnit->addItem(GenericTexts::unit(code), code);
    cmbUnit->setCurrentIndex(cmbUnit->findData(unit));
}

void GenericConfigurationPage::refreshButtons()
{
    const bool ready = m_device.state() == GenericDevice::State::Ready && !m_device.isBusy();
    const bool read = m_device.values().output.has_value();
    for (QPushButton *b : {cmdWriteUnit, cmdWriteRange, cmdWriteDamping})
        b->setEnabled(ready && read);
    cmdZero->setEnabled(ready);
}

std::optional<double> GenericConfigurationPage::numberIn(QLineEdit *field)
{
    const std::optional<double> number = EntryRules::toNumber(field->text());
    if (!number) {
        MessageBoxSeam::show(this, QMessageBox::Information, window()->windowTitle(),
                             GetResText(NotANumber));
        field->setFocus();
        field->selectAll();
    }
    return number;
}

void GenericConfigurationPage::writeUnit()
{
    m_device.writeUnit(quint8(cmbUnit->currentData().toUInt()));
}

void GenericConfigurationPage::writeRange()
{
    const auto lower = numberIn(txtLowerRange);
    const auto upper = lower ? numberIn(txtUpperRange) : std::nullopt;
    if (!lower || !upper || !m_device.values().output)
        return;
    // In the unit the device reports them in; a new unit is written first.
    m_device.writeRange({m_device.values().output->rangeUnit, float(*upper), float(*lower)});
}

void GenericConfigurationPage::writeDamping()
{
    if (const auto seconds = numberIn(txtDamping))
        m_device.writeDamping(*seconds);
}

void GenericConfigurationPage::setZero()
{
    if (MessageBoxSeam::show(this, QMessageBox::Question, GetResText(ZeroText),
                             GetResText(ZeroQuestion),
                             QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes)
        m_device.setZero();
}
