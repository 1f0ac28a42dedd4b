#include "simulator/DeviceSpecificCommands.h"

#include "hart/HartCodec.h"
#include "hart/HartUnits.h"
#include "simulator/TransmitterModel.h"

#include <array>

using Access = CommandTable::Access;
using D = TransmitterDiagnosis;
namespace rc = hart::response;

namespace {
// Bounds of the output settings, in mA, in the order of their request bytes.
struct CurrentBounds
{
    double minimum;
    double maximum;
};
constexpr std::array<CurrentBounds, 4> OutputBounds{
    {{3.5, 3.7}, {21.0, 23.0}, {3.8, 4.0}, {20.0, 20.8}}};
constexpr quint8 AlarmHold = 239;
constexpr int LocalSettingsBytes = 5;
constexpr std::array<quint8, LocalSettingsBytes> LocalSettingsMax{1, 4, 1, 1, 4};

QByteArray f(double value)
{
    return HartCodec::fromReal(value);
}
} // namespace

DeviceSpecificCommands::DeviceSpecificCommands(TransmitterModel &model) : m_model(model) {}

void DeviceSpecificCommands::registerInto(CommandTable &table)
{
    registerCalibration(table);
    registerSettings(table);
    registerDiagnosis(table);
    registerHistory(table);
}

void DeviceSpecificCommands::registerCalibration(CommandTable &table)
{
    table.add(128, 0, Access::Read, [this](QByteArrayView) { return readSensorInformation(); });
    table.add(129, 0, Access::Read, [this](QByteArrayView) { return readConstruction(); });
    table.add(130, 0, Access::Read, [this](QByteArrayView) { return readCalibration(); });
    table.add(131, 5, Access::Write,
              [this](QByteArrayView r) { return setBalancePoint(r, false); });
    table.add(132, 5, Access::Write, [this](QByteArrayView r) { return setBalancePoint(r, true); });
    table.add(133, 5, Access::Write, [this](QByteArrayView r) { return calibrateTemperature(r); });
    table.add(148, 4, Access::Write, [this](QByteArrayView r) { return shiftRange(r); });
}

void DeviceSpecificCommands::registerSettings(CommandTable &table)
{
    table.add(134, 0, Access::Read, [this](QByteArrayView) { return readOutputSettings(); });
    table.add(135, 17, Access::Write, [this](QByteArrayView r) { return writeOutputSettings(r); });
    table.add(136, 0, Access::Read, [this](QByteArrayView) { return readLocalSettings(); });
    table.add(137, LocalSettingsBytes, Access::Write,
              [this](QByteArrayView r) { return writeLocalSettings(r); });
    // The lock must stay writable while it is on; only the switch guards it.
    table.add(138, 1, Access::Read, [this](QByteArrayView r) { return writeWriteProtection(r); });
    table.add(147, 0, Access::Read, [this](QByteArrayView) { return readIdentification(); });
    table.add(149, 0, Access::Write, [this](QByteArrayView) { return resetToFactoryData(); });
    table.add(150, 0, Access::Read, [this](QByteArrayView) { return readOutputScaling(); });
    table.add(151, 17, Access::Write, [this](QByteArrayView r) { return writeOutputScaling(r); });
}

void DeviceSpecificCommands::registerDiagnosis(CommandTable &table)
{
    table.add(139, 0, Access::Read,
              [this](QByteArrayView) { return readDiagnosisConfiguration(); });
    table.add(140, 4, Access::Write,
              [this](QByteArrayView r) { return writeDiagnosisConfiguration(r); });
    table.add(141, 0, Access::Read, [this](QByteArrayView) { return readDiagnosisSimulation(); });
    table.add(142, 6, Access::Write,
              [this](QByteArrayView r) { return writeDiagnosisSimulation(r); });
}

void DeviceSpecificCommands::registerHistory(CommandTable &table)
{
    table.add(143, 0, Access::Read, [this](QByteArrayView) { return readEventCounters(); });
    table.add(144, 1, Access::Write, [this](QByteArrayView r) { return resetEventCounter(r); });
    table.add(145, 0, Access::Read, [this](QByteArrayView) { return readPeakValues(); });
    table.add(146, 1, Access::Write, [this](QByteArrayView r) { return resetPeakValues(r); });
}

hart::CommandReply DeviceSpecificCommands::readSensorInformation() const
{
    QByteArray data = CommandTable::byte(int(m_model.sensorType()));
    data += CommandTable::byte(m_model.rangeIndex());
    data += f(TransmitterModel::RangeSparePercent);
    data += pressure(m_model.staticPressureLimitMbar());
    data += temperature(TransmitterModel::TemperatureUpperLimit);
    data += f(HartUnits::temperatureFromCelsius(TransmitterModel::TemperatureLowerLimit,
                                                m_model.settings().temperatureUnit));
    return CommandTable::reply(data);
}

hart::CommandReply DeviceSpecificCommands::readConstruction() const
{
    // Isolator 316L, silicone oil, 1/2-14 NPT female, 316L, FKM; no remote seal.
    return CommandTable::reply(QByteArray::fromHex("010101010100000000"));
}

hart::CommandReply DeviceSpecificCommands::readCalibration() const
{
    const TransmitterSettings &s = m_model.settings();
    QByteArray data = pressure(s.lowerBalanceReference);
    data += f(HartUnits::pressureFromMbar(s.upperBalanceReference, s.pressureUnit));
    data += temperature(s.temperatureCalibration);
    return CommandTable::reply(data);
}

hart::CommandReply DeviceSpecificCommands::setBalancePoint(QByteArrayView request, bool upper)
{
    const quint8 unit = quint8(request[0]);
    const std::optional<double> reference = CommandTable::finite(request, 1);
    if (!HartUnits::isPressureUnit(unit) || !reference)
        return CommandTable::fail(rc::InvalidSelection);
    const quint8 code = m_model.setBalancePoint(upper, HartUnits::pressureToMbar(*reference, unit));
    if (code != rc::Success)
        return CommandTable::fail(code);
    return CommandTable::reply(request.first(5).toByteArray());
}

hart::CommandReply DeviceSpecificCommands::calibrateTemperature(QByteArrayView request)
{
    const quint8 unit = quint8(request[0]);
    const std::optional<double> reference = CommandTable::finite(request, 1);
    if (!HartUnits::isTemperatureUnit(unit) || !reference)
        return CommandTable::fail(rc::InvalidSelection);
    const quint8 code =
        m_model.calibrateTemperature(HartUnits::temperatureToCelsius(*reference, unit));
    if (code != rc::Success)
        return CommandTable::fail(code);
    return CommandTable::reply(request.first(5).toByteArray());
}

hart::CommandReply DeviceSpecificCommands::readOutputSettings() const
{
    const TransmitterSettings &s = m_model.settings();
    QByteArray data = CommandTable::byte(s.alarmSelection);
    data += f(s.alarmLowCurrent) + f(s.alarmHighCurrent);
    data += f(s.outputLowerLimit) + f(s.outputUpperLimit);
    return CommandTable::reply(data);
}

hart::CommandReply DeviceSpecificCommands::writeOutputSettings(QByteArrayView request)
{
    const quint8 selection = quint8(request[0]);
    if (selection != 0 && selection != 1 && selection != AlarmHold)
        return CommandTable::fail(rc::InvalidSelection);
    std::array<double, 4> currents{};
    for (int i = 0; i < 4; ++i) {
        const std::optional<double> value = CommandTable::finite(request, 1 + 4 * i);
        if (!value)
            return CommandTable::fail(rc::InvalidSelection);
        if (*value > OutputBounds[i].maximum + 1e-6)
            return CommandTable::fail(rc::TooLarge);
        if (*value < OutputBounds[i].minimum - 1e-6)
            return CommandTable::fail(rc::TooSmall);
        currents[i] = *value;
    }
    TransmitterSettings &s = m_model.changeSettings();
    s.alarmSelection = selection;
    s.alarmLowCurrent = currents[0];
    s.alarmHighCurrent = currents[1];
    s.outputLowerLimit = currents[2];
    s.outputUpperLimit = currents[3];
    return CommandTable::reply(request.first(17).toByteArray());
}

hart::CommandReply DeviceSpecificCommands::readLocalSettings() const
{
    const TransmitterSettings &s = m_model.settings();
    QByteArray data;
    for (const quint8 value :
         {s.keyFunction, s.displayView, s.displayLanguage, s.displayBargraph, s.installationAngle})
        data += char(value);
    data += char(s.softwareWriteLock ? 1 : 0);
    return CommandTable::reply(data);
}

hart::CommandReply DeviceSpecificCommands::writeLocalSettings(QByteArrayView request)
{
    for (int i = 0; i < LocalSettingsBytes; ++i) {
        if (quint8(request[i]) > LocalSettingsMax[i])
            return CommandTable::fail(rc::InvalidSelection);
    }
    TransmitterSettings &s = m_model.changeSettings();
    s.keyFunction = quint8(request[0]);
    s.displayView = quint8(request[1]);
    s.displayLanguage = quint8(request[2]);
    s.displayBargraph = quint8(request[3]);
    s.installationAngle = quint8(request[4]);
    return CommandTable::reply(request.first(LocalSettingsBytes).toByteArray());
}

hart::CommandReply DeviceSpecificCommands::writeWriteProtection(QByteArrayView request)
{
    const quint8 lock = quint8(request[0]);
    if (lock > 1)
        return CommandTable::fail(rc::InvalidSelection);
    if (m_model.writeProtectSwitch())
        return CommandTable::fail(rc::WriteProtected);
    m_model.changeSettings().softwareWriteLock = lock == 1;
    return CommandTable::reply(CommandTable::byte(lock));
}

hart::CommandReply DeviceSpecificCommands::readDiagnosisConfiguration() const
{
    QByteArray data;
    quint32 mask = 0;
    for (int c = 0; c < 4; ++c) {
        data += char(m_model.settings().failureConfiguration[c]);
        mask |= quint32(D::ConfigurableBits[c]) << (8 * c);
    }
    return CommandTable::reply(data + HartCodec::fromUInt32(mask));
}

hart::CommandReply DeviceSpecificCommands::writeDiagnosisConfiguration(QByteArrayView request)
{
    std::array<quint8, 4> configuration{};
    bool adjusted = false;
    for (int c = 0; c < 4; ++c) {
        configuration[c] = quint8(request[c]) & D::ConfigurableBits[c];
        adjusted |= configuration[c] != quint8(request[c]);
    }
    m_model.changeSettings().failureConfiguration = configuration;
    const QByteArray data(reinterpret_cast<const char *>(configuration.data()), 4);
    return CommandTable::reply(data, adjusted ? rc::SetToNearest : rc::Success);
}

hart::CommandReply DeviceSpecificCommands::readDiagnosisSimulation() const
{
    QByteArray data = CommandTable::byte(m_model.diagnosis().isSimulationActive() ? 1 : 0);
    for (const quint8 bits : m_model.diagnosis().simulatedBits())
        data += char(bits);
    return CommandTable::reply(data);
}

hart::CommandReply DeviceSpecificCommands::writeDiagnosisSimulation(QByteArrayView request)
{
    const quint8 mode = quint8(request[0]);
    if (mode > 1)
        return CommandTable::fail(rc::InvalidSelection);
    D::Bytes bits{};
    for (int c = 0; c < D::Categories; ++c)
        bits[c] = quint8(request[1 + c]);
    m_model.diagnosis().setSimulation(mode == 1, bits);
    const hart::CommandReply stored = readDiagnosisSimulation();
    const bool adjusted = stored.data != request.first(6).toByteArray();
    return CommandTable::reply(stored.data, adjusted ? rc::SetToNearest : rc::Success);
}

hart::CommandReply DeviceSpecificCommands::readEventCounters() const
{
    using E = TransmitterHistory::Event;
    const TransmitterHistory &history = m_model.history();
    QByteArray data = HartCodec::fromUInt16(history.powerOnCount());
    data += HartCodec::fromUInt32(history.lastPowerOnSeconds());
    for (const E event : {E::OverRange, E::OverStaticPressure, E::OverTemperature}) {
        data += HartCodec::fromUInt16(history.counter(event).count);
        data += HartCodec::fromUInt32(history.counter(event).lastSeconds);
    }
    data += HartCodec::fromUInt32(history.totalSeconds());
    data += HartCodec::fromUInt32(history.partialSeconds());
    return CommandTable::reply(data);
}

hart::CommandReply DeviceSpecificCommands::resetEventCounter(QByteArrayView request)
{
    if (!m_model.history().resetCounter(quint8(request[0])))
        return CommandTable::fail(rc::InvalidSelection);
    return CommandTable::reply(request.first(1).toByteArray());
}

hart::CommandReply DeviceSpecificCommands::readPeakValues() const
{
    const TransmitterHistory &history = m_model.history();
    QByteArray data = pressure(history.minPressure());
    data += f(HartUnits::pressureFromMbar(history.maxPressure(), m_model.settings().pressureUnit));
    data += temperature(history.minTemperature());
    data += f(HartUnits::temperatureFromCelsius(history.maxTemperature(),
                                                m_model.settings().temperatureUnit));
    return CommandTable::reply(data);
}

hart::CommandReply DeviceSpecificCommands::resetPeakValues(QByteArrayView request)
{
    if (!m_model.resetPeaks(quint8(request[0])))
        return CommandTable::fail(rc::InvalidSelection);
    return CommandTable::reply(request.first(1).toByteArray());
}

hart::CommandReply DeviceSpecificCommands::readIdentification() const
{
    QByteArray data;
    for (const quint8 part : TransmitterModel::SoftwareVersion)
        data += char(part);
    data += CommandTable::byte(TransmitterModel::HardwareRevision);
    data += CommandTable::byte(TransmitterModel::UniversalRevision);
    data += CommandTable::byte(TransmitterModel::DeviceRevision);
    data += HartCodec::fromUInt24(m_model.electronicsSerialNumber());
    data += HartCodec::fromUInt24(m_model.settings().sensorSerialNumber);
    const bool absolute = m_model.sensorType() == TransmitterModel::SensorType::Absolute;
    data += HartCodec::packAscii(
        absolute ? QStringLiteral("ABS PRESSURE") : QStringLiteral("DIFF PRESSURE"), 12);
    return CommandTable::reply(data);
}

hart::CommandReply DeviceSpecificCommands::shiftRange(QByteArrayView request)
{
    const std::optional<double> percent = CommandTable::finite(request, 0);
    if (!percent)
        return CommandTable::fail(rc::InvalidSelection);
    const quint8 code = m_model.shiftRange(*percent);
    if (code != rc::Success && code != rc::SpanTooSmall)
        return CommandTable::fail(code);
    const TransmitterSettings &s = m_model.settings();
    return CommandTable::reply(pressure(s.upperRangeMbar) +
                                   f(HartUnits::pressureFromMbar(s.lowerRangeMbar, s.pressureUnit)),
                               code);
}

hart::CommandReply DeviceSpecificCommands::resetToFactoryData()
{
    m_model.restoreFactorySettings();
    m_model.beginRestart();
    return CommandTable::fail(rc::Success);
}

hart::CommandReply DeviceSpecificCommands::readOutputScaling() const
{
    const TransmitterSettings &s = m_model.settings();
    QByteArray data = CommandTable::byte(s.outputScaleUnit);
    data += f(s.outputScaleUpper) + f(s.outputScaleLower) + s.freeUnitText;
    return CommandTable::reply(data);
}

hart::CommandReply DeviceSpecificCommands::writeOutputScaling(QByteArrayView request)
{
    const quint8 unit = quint8(request[0]);
    const std::optional<double> upper = CommandTable::finite(request, 1);
    const std::optional<double> lower = CommandTable::finite(request, 5);
    const QByteArray text = request.sliced(9, 8).toByteArray();
    const bool printable =
        std::all_of(text.begin(), text.end(), [](char c) { return c >= 0x20 && c <= 0x7E; });
    if (unit == 0 || unit > hart::unit::Special || !upper || !lower || !printable)
        return CommandTable::fail(rc::InvalidSelection);
    TransmitterSettings &s = m_model.changeSettings();
    s.outputScaleUnit = unit;
    s.outputScaleUpper = *upper;
    s.outputScaleLower = *lower;
    s.freeUnitText = text;
    return CommandTable::reply(request.first(17).toByteArray());
}

QByteArray DeviceSpecificCommands::pressure(double mbar) const
{
    const quint8 unit = m_model.settings().pressureUnit;
    return CommandTable::byte(unit) + f(HartUnits::pressureFromMbar(mbar, unit));
}

QByteArray DeviceSpecificCommands::temperature(double celsius) const
{
    const quint8 unit = m_model.settings().temperatureUnit;
    return CommandTable::byte(unit) + f(HartUnits::temperatureFromCelsius(celsius, unit));
}
