#include "simulator/UniversalCommands.h"

#include "hart/HartCodec.h"
#include "hart/HartUnits.h"
#include "simulator/TransmitterModel.h"

using Access = CommandTable::Access;
namespace cmd = hart::command;
namespace rc = hart::response;

UniversalCommands::UniversalCommands(TransmitterModel &model) : m_model(model) {}

void UniversalCommands::registerInto(CommandTable &table)
{
    table.add(cmd::ReadUniqueIdentifier, 0, Access::Read,
              [this](QByteArrayView) { return CommandTable::reply(identity()); });
    table.add(cmd::ReadPrimaryVariable, 0, Access::Read,
              [this](QByteArrayView) { return readPrimaryVariable(); });
    table.add(cmd::ReadLoopCurrentAndPercent, 0, Access::Read,
              [this](QByteArrayView) { return readCurrentAndPercent(); });
    table.add(cmd::ReadDynamicVariables, 0, Access::Read,
              [this](QByteArrayView) { return readDynamicVariables(); });
    table.add(cmd::WritePollingAddress, 1, Access::Write,
              [this](QByteArrayView r) { return writePollingAddress(r); });
    table.add(cmd::ReadUniqueIdentifierByTag, 6, Access::Read,
              [this](QByteArrayView) { return CommandTable::reply(identity()); });
    table.add(cmd::ReadMessage, 0, Access::Read,
              [this](QByteArrayView) { return CommandTable::reply(m_model.settings().message); });
    table.add(cmd::ReadTagDescriptorDate, 0, Access::Read,
              [this](QByteArrayView) { return readTagDescriptorDate(); });
    table.add(cmd::ReadSensorInformation, 0, Access::Read,
              [this](QByteArrayView) { return readSensorInformation(); });
    table.add(cmd::ReadOutputInformation, 0, Access::Read,
              [this](QByteArrayView) { return readOutputInformation(); });
    table.add(cmd::ReadFinalAssemblyNumber, 0, Access::Read, [this](QByteArrayView) {
        return CommandTable::reply(HartCodec::fromUInt24(m_model.settings().finalAssemblyNumber));
    });
    table.add(cmd::WriteMessage, 24, Access::Write, [this](QByteArrayView r) {
        m_model.changeSettings().message = r.first(24).toByteArray();
        return CommandTable::reply(m_model.settings().message);
    });
    table.add(cmd::WriteTagDescriptorDate, 21, Access::Write,
              [this](QByteArrayView r) { return writeTagDescriptorDate(r); });
    table.add(cmd::WriteFinalAssemblyNumber, 3, Access::Write, [this](QByteArrayView r) {
        m_model.changeSettings().finalAssemblyNumber = HartCodec::toUInt24(r);
        return CommandTable::reply(HartCodec::fromUInt24(m_model.settings().finalAssemblyNumber));
    });
}

QByteArray UniversalCommands::identity() const
{
    QByteArray data;
    data += CommandTable::byte(254);
    data += CommandTable::byte(TransmitterModel::ManufacturerId);
    data += CommandTable::byte(TransmitterModel::DeviceType);
    data += CommandTable::byte(hart::DefaultPreambles);
    data += CommandTable::byte(TransmitterModel::UniversalRevision);
    data += CommandTable::byte(TransmitterModel::DeviceRevision);
    data += CommandTable::byte(TransmitterModel::HartSoftwareRevision);
    data += CommandTable::byte(TransmitterModel::HardwareRevision << 3); // signalling code 0
    data += CommandTable::byte(0);                                       // no function flags
    data += HartCodec::fromUInt24(m_model.deviceId());
    return data;
}

hart::CommandReply UniversalCommands::readPrimaryVariable() const
{
    return CommandTable::reply(pressureVariable(m_model.primaryValue()));
}

hart::CommandReply UniversalCommands::readCurrentAndPercent() const
{
    return CommandTable::reply(HartCodec::fromReal(m_model.loopCurrent()) +
                               HartCodec::fromReal(m_model.percentOfRange()));
}

hart::CommandReply UniversalCommands::readDynamicVariables() const
{
    const TransmitterSettings &s = m_model.settings();
    QByteArray data = HartCodec::fromReal(m_model.loopCurrent());
    data += pressureVariable(m_model.primaryValue());
    data += CommandTable::byte(s.temperatureUnit);
    data += HartCodec::fromFloat(
        float(HartUnits::temperatureFromCelsius(m_model.sensorTemperature(), s.temperatureUnit)));
    data += pressureVariable(m_model.trimmedPressure());
    data += CommandTable::byte(s.outputScaleUnit);
    data += HartCodec::fromReal(m_model.scaledOutputValue());
    return CommandTable::reply(data);
}

hart::CommandReply UniversalCommands::writePollingAddress(QByteArrayView request)
{
    const quint8 address = quint8(request[0]);
    if (address > 15)
        return CommandTable::fail(rc::InvalidSelection);
    m_model.changeSettings().pollingAddress = address;
    return CommandTable::reply(CommandTable::byte(address));
}

hart::CommandReply UniversalCommands::readTagDescriptorDate() const
{
    const TransmitterSettings &s = m_model.settings();
    return CommandTable::reply(s.tag + s.descriptor + s.date);
}

hart::CommandReply UniversalCommands::readSensorInformation() const
{
    const TransmitterSettings &s = m_model.settings();
    const TransmitterModel::MeasuringRange &range = m_model.range();
    QByteArray data = HartCodec::fromUInt24(s.sensorSerialNumber);
    data += CommandTable::byte(s.pressureUnit);
    data += HartCodec::fromReal(HartUnits::pressureFromMbar(range.upperMbar, s.pressureUnit));
    data += HartCodec::fromReal(HartUnits::pressureFromMbar(range.lowerMbar, s.pressureUnit));
    data += HartCodec::fromReal(HartUnits::pressureFromMbar(range.minSpanMbar, s.pressureUnit));
    return CommandTable::reply(data);
}

hart::CommandReply UniversalCommands::readOutputInformation() const
{
    const TransmitterSettings &s = m_model.settings();
    QByteArray data = CommandTable::byte(s.alarmSelection);
    data += CommandTable::byte(s.transferFunction);
    data += CommandTable::byte(s.pressureUnit);
    data += HartCodec::fromReal(HartUnits::pressureFromMbar(s.upperRangeMbar, s.pressureUnit));
    data += HartCodec::fromReal(HartUnits::pressureFromMbar(s.lowerRangeMbar, s.pressureUnit));
    data += HartCodec::fromReal(s.dampingSeconds);
    data += CommandTable::byte(m_model.isWriteProtected() ? 1 : 0);
    data += CommandTable::byte(TransmitterModel::ManufacturerId);
    return CommandTable::reply(data);
}

hart::CommandReply UniversalCommands::writeTagDescriptorDate(QByteArrayView request)
{
    TransmitterSettings &s = m_model.changeSettings();
    s.tag = request.sliced(0, 6).toByteArray();
    s.descriptor = request.sliced(6, 12).toByteArray();
    s.date = request.sliced(18, 3).toByteArray();
    return CommandTable::reply(s.tag + s.descriptor + s.date);
}

QByteArray UniversalCommands::pressureVariable(double mbar) const
{
    const quint8 unit = m_model.settings().pressureUnit;
    return CommandTable::byte(unit) + HartCodec::fromReal(HartUnits::pressureFromMbar(mbar, unit));
}
