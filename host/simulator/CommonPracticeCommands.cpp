#include "simulator/CommonPracticeCommands.h"

#include "hart/HartCodec.h"
#include "hart/HartUnits.h"
#include "simulator/TransferFunction.h"
#include "simulator/TransmitterModel.h"

using Access = CommandTable::Access;
namespace cmd = hart::command;
namespace rc = hart::response;

CommonPracticeCommands::CommonPracticeCommands(TransmitterModel &model) : m_model(model) {}

void CommonPracticeCommands::registerInto(CommandTable &table)
{
    const auto status = [](quint8 code) { return CommandTable::fail(code); };
    table.add(cmd::ReadDeviceVariables, 1, Access::Read,
              [this](QByteArrayView r) { return readTransmitterVariables(r); });
    table.add(cmd::WriteDamping, 4, Access::Write,
              [this](QByteArrayView r) { return writeDamping(r); });
    table.add(cmd::WriteRangeValues, 9, Access::Write,
              [this](QByteArrayView r) { return writeRangeValues(r); });
    table.add(cmd::SetUpperRangeValue, 0, Access::Write, [this, status](QByteArrayView) {
        return status(m_model.setUpperRangeFromApplied());
    });
    table.add(cmd::SetLowerRangeValue, 0, Access::Write, [this, status](QByteArrayView) {
        return status(m_model.setLowerRangeFromApplied());
    });
    table.add(cmd::ResetConfigurationChanged, 0, Access::Read, [this, status](QByteArrayView) {
        m_model.resetConfigurationChanged();
        return status(rc::Success);
    });
    table.add(cmd::EnterExitFixedCurrent, 4, Access::Read,
              [this](QByteArrayView r) { return setFixedCurrent(r); });
    table.add(cmd::PerformSelfTest, 0, Access::Read, [this, status](QByteArrayView) {
        m_model.diagnosis().startSelfTest();
        return status(rc::Success);
    });
    table.add(cmd::PerformDeviceReset, 0, Access::Read, [this, status](QByteArrayView) {
        m_model.beginRestart();
        return status(rc::Success);
    });
    table.add(cmd::SetPrimaryVariableZero, 0, Access::Write,
              [this, status](QByteArrayView) { return status(m_model.zeroPrimaryValue()); });
    table.add(cmd::WritePrimaryVariableUnits, 1, Access::Write,
              [this](QByteArrayView r) { return writePressureUnit(r); });
    table.add(cmd::TrimLoopCurrentZero, 4, Access::Write,
              [this](QByteArrayView r) { return trimOutput(r, 4.0); });
    table.add(cmd::TrimLoopCurrentGain, 4, Access::Write,
              [this](QByteArrayView r) { return trimOutput(r, 20.0); });
    table.add(cmd::WriteTransferFunction, 1, Access::Write,
              [this](QByteArrayView r) { return writeTransferFunction(r); });
    table.add(cmd::ReadAdditionalStatus, 0, Access::Read,
              [this](QByteArrayView) { return readAdditionalStatus(); });
    table.add(cmd::WriteSensorSerialNumber, 3, Access::Write, [this](QByteArrayView r) {
        m_model.changeSettings().sensorSerialNumber = HartCodec::toUInt24(r);
        return CommandTable::reply(r.first(3).toByteArray());
    });
    table.add(cmd::ReadDynamicVariableAssignments, 0, Access::Read,
              [](QByteArrayView) { return CommandTable::reply(QByteArray::fromHex("00010203")); });
    table.add(cmd::WriteDeviceVariableUnits, 2, Access::Write,
              [this](QByteArrayView r) { return writeVariableUnit(r); });
    table.add(cmd::WriteResponsePreambles, 1, Access::Write,
              [this](QByteArrayView r) { return writeResponsePreambles(r); });
}

hart::CommandReply CommonPracticeCommands::readTransmitterVariables(QByteArrayView request) const
{
    QByteArray data;
    for (qsizetype i = 0; i < qMin<qsizetype>(request.size(), 4); ++i) {
        const std::optional<QByteArray> slot = variable(quint8(request[i]));
        if (!slot)
            return CommandTable::fail(rc::InvalidSelection);
        data += *slot;
    }
    return CommandTable::reply(data);
}

hart::CommandReply CommonPracticeCommands::writeDamping(QByteArrayView request)
{
    const std::optional<double> seconds = CommandTable::finite(request, 0);
    if (!seconds)
        return CommandTable::fail(rc::InvalidSelection);
    if (*seconds > TransmitterModel::MaxDampingSeconds)
        return CommandTable::fail(rc::TooLarge);
    if (*seconds < 0.0)
        return CommandTable::fail(rc::TooSmall);
    m_model.setDamping(*seconds);
    return CommandTable::reply(request.first(4).toByteArray());
}

hart::CommandReply CommonPracticeCommands::writeRangeValues(QByteArrayView request)
{
    const quint8 unit = quint8(request[0]);
    const std::optional<double> upper = CommandTable::finite(request, 1);
    const std::optional<double> lower = CommandTable::finite(request, 5);
    if (!HartUnits::isPressureUnit(unit) || !upper || !lower)
        return CommandTable::fail(rc::InvalidSelection);
    const quint8 code = m_model.setRange(HartUnits::pressureToMbar(*lower, unit),
                                         HartUnits::pressureToMbar(*upper, unit));
    if (code != rc::Success && code != rc::SpanTooSmall)
        return CommandTable::fail(code);
    return CommandTable::reply(request.first(9).toByteArray(), code);
}

hart::CommandReply CommonPracticeCommands::setFixedCurrent(QByteArrayView request)
{
    const std::optional<double> current = CommandTable::finite(request, 0);
    if (!current)
        return CommandTable::fail(rc::InvalidSelection);
    if (m_model.settings().pollingAddress != 0)
        return CommandTable::fail(rc::UpperRangeTooHigh); // in multidrop mode
    if (*current != 0.0) {
        if (*current > TransmitterModel::FixedCurrentMax)
            return CommandTable::fail(rc::TooLarge);
        if (*current < TransmitterModel::FixedCurrentMin)
            return CommandTable::fail(rc::TooSmall);
    }
    m_model.setFixedCurrent(*current);
    return CommandTable::reply(HartCodec::fromReal(*current));
}

hart::CommandReply CommonPracticeCommands::writePressureUnit(QByteArrayView request)
{
    const quint8 unit = quint8(request[0]);
    if (!HartUnits::isPressureUnit(unit))
        return CommandTable::fail(rc::UpperRangeTooLow); // invalid units code
    m_model.changeSettings().pressureUnit = unit;
    return CommandTable::reply(CommandTable::byte(unit));
}

hart::CommandReply CommonPracticeCommands::trimOutput(QByteArrayView request, double nominal)
{
    const std::optional<double> measured = CommandTable::finite(request, 0);
    if (!measured)
        return CommandTable::fail(rc::InvalidSelection);
    const quint8 code = m_model.trimOutput(nominal, *measured);
    if (code != rc::Success)
        return CommandTable::fail(code);
    return CommandTable::reply(request.first(4).toByteArray());
}

hart::CommandReply CommonPracticeCommands::writeTransferFunction(QByteArrayView request)
{
    const quint8 function = quint8(request[0]);
    if (!TransferFunction::isKnown(function))
        return CommandTable::fail(rc::InvalidSelection);
    m_model.changeSettings().transferFunction = function;
    return CommandTable::reply(CommandTable::byte(function));
}

hart::CommandReply CommonPracticeCommands::readAdditionalStatus() const
{
    const TransmitterDiagnosis::Bytes report = m_model.diagnosisReport();
    QByteArray data;
    for (const quint8 category : report)
        data += char(category);
    data += char(m_model.diagnosis().selfTestResult());
    return CommandTable::reply(data);
}

hart::CommandReply CommonPracticeCommands::writeVariableUnit(QByteArrayView request)
{
    const quint8 code = quint8(request[0]);
    const quint8 unit = quint8(request[1]);
    if (code == PressureVariable || code == TrimmedPressureVariable) {
        if (!HartUnits::isPressureUnit(unit))
            return CommandTable::fail(rc::UpperRangeTooLow);
        m_model.changeSettings().pressureUnit = unit;
    } else if (code == TemperatureVariable) {
        if (!HartUnits::isTemperatureUnit(unit))
            return CommandTable::fail(rc::UpperRangeTooLow);
        m_model.changeSettings().temperatureUnit = unit;
    } else {
        return CommandTable::fail(rc::InvalidSelection);
    }
    return CommandTable::reply(request.first(2).toByteArray());
}

hart::CommandReply CommonPracticeCommands::writeResponsePreambles(QByteArrayView request)
{
    const quint8 count = quint8(request[0]);
    if (count > hart::MaxPreambles)
        return CommandTable::fail(rc::TooLarge);
    if (count < hart::DefaultPreambles)
        return CommandTable::fail(rc::TooSmall);
    m_model.changeSettings().responsePreambles = count;
    return CommandTable::reply(CommandTable::byte(count));
}

std::optional<QByteArray> CommonPracticeCommands::variable(quint8 code) const
{
    const TransmitterSettings &s = m_model.settings();
    const auto slot = [code](quint8 unit, double value) {
        return CommandTable::byte(code) + CommandTable::byte(unit) + HartCodec::fromReal(value);
    };
    switch (code) {
    case PressureVariable:
        return slot(s.pressureUnit,
                    HartUnits::pressureFromMbar(m_model.primaryValue(), s.pressureUnit));
    case TemperatureVariable:
        return slot(s.temperatureUnit, HartUnits::temperatureFromCelsius(
                                           m_model.sensorTemperature(), s.temperatureUnit));
    case TrimmedPressureVariable:
        return slot(s.pressureUnit,
                    HartUnits::pressureFromMbar(m_model.trimmedPressure(), s.pressureUnit));
    case ScaledOutputVariable:
        return slot(s.outputScaleUnit, m_model.scaledOutputValue());
    default:
        return std::nullopt;
    }
}
