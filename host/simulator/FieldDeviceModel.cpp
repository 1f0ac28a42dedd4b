#include "simulator/FieldDeviceModel.h"

#include "hart/HartCodec.h"
#include "hart/HartUnits.h"

#include <cmath>
#include <numbers>

using Access = CommandTable::Access;
using Quantity = FieldDeviceProfile::Quantity;
namespace rc = hart::response;

namespace {

constexpr quint8 FirstDynamicCode = 246; // PV; SV, TV and QV follow
constexpr quint8 VariableGood = 0xC0;    // process data good, not limited
constexpr quint8 VariableBad = 0x30;     // bad, constant: a variable the device lacks
constexpr quint8 ConfigurationCounterMismatch = 9;
constexpr double FixedCurrentMin = 3.5;
constexpr double FixedCurrentMax = 23.0;
constexpr double TrimLimitMa = 0.5;

// Volumes (a flow meter's totalizer), which the unit table leaves out:
// units of each code in one cubic metre.
struct VolumeUnit
{
    quint8 unit;
    double perCubicMetre;
};
constexpr VolumeUnit VolumeUnits[] = {{43, 1.0}, {41, 1000.0}, {40, 264.1720524}};

const VolumeUnit *volumeUnit(quint8 unit)
{
    for (const VolumeUnit &v : VolumeUnits) {
        if (v.unit == unit)
            return &v;
    }
    return nullptr;
}

HartUnits::Quantity tableQuantity(Quantity quantity)
{
    switch (quantity) {
    case Quantity::Pressure:
        return HartUnits::Quantity::Pressure;
    case Quantity::Temperature:
        return HartUnits::Quantity::Temperature;
    case Quantity::VolumeFlow:
    case Quantity::Volume:
        break;
    }
    return HartUnits::Quantity::VolumeFlow;
}

QByteArray nanFloat()
{
    return QByteArray::fromHex("7FA00000");
}

// Latin-1, padded with NUL to the field's width.
QByteArray latin1Field(const QString &text, int bytes)
{
    QByteArray field = text.toLatin1().left(bytes);
    field.append(QByteArray(bytes - field.size(), '\0'));
    return field;
}

} // namespace

FieldDeviceModel::FieldDeviceModel(const FieldDeviceProfile &profile)
    : m_profile(profile), m_deviceId(profile.deviceIdBase), m_tag(profile.tag),
      m_longTag(profile.longTag), m_descriptor(profile.descriptor), m_message(profile.message),
      m_date(profile.date), m_finalAssemblyNumber(profile.finalAssemblyNumber),
      m_lowerRange(profile.lowerRange), m_upperRange(profile.upperRange),
      m_damping(profile.dampingSeconds)
{
}

void FieldDeviceModel::registerInto(CommandTable &table)
{
    const auto ok = [](const QByteArray &data) { return CommandTable::reply(data); };
    const bool hart7 = m_profile.isHart7();
    table.add(0, 0, Access::Read, [this, ok](QByteArrayView) { return ok(identity()); });
    table.add(1, 0, Access::Read, [this](QByteArrayView) { return readPrimaryVariable(); });
    table.add(2, 0, Access::Read, [this, ok](QByteArrayView) {
        return ok(HartCodec::fromReal(loopCurrent()) + HartCodec::fromReal(percentOfRange()));
    });
    table.add(3, 0, Access::Read, [this](QByteArrayView) { return readDynamicVariables(); });
    table.add(6, 1, Access::Write, [this](QByteArrayView r) { return writePollingAddress(r); });
    table.add(11, 6, Access::Read, [this, ok](QByteArrayView) { return ok(identity()); });
    table.add(12, 0, Access::Read,
              [this, ok](QByteArrayView) { return ok(HartCodec::packAscii(m_message, 24)); });
    table.add(13, 0, Access::Read, [this](QByteArrayView) { return readTagDescriptorDate(); });
    table.add(14, 0, Access::Read, [this](QByteArrayView) { return readSensorInformation(); });
    table.add(15, 0, Access::Read, [this](QByteArrayView) { return readOutputInformation(); });
    table.add(16, 0, Access::Read, [this, ok](QByteArrayView) {
        return ok(HartCodec::fromUInt24(m_finalAssemblyNumber));
    });
    table.add(17, 24, Access::Write, [this, ok](QByteArrayView r) {
        m_message = HartCodec::unpackAscii(r.first(24)).trimmed();
        return ok(r.first(24).toByteArray());
    });
    table.add(18, 21, Access::Write,
              [this](QByteArrayView r) { return writeTagDescriptorDate(r); });
    table.add(19, 3, Access::Write, [this, ok](QByteArrayView r) {
        m_finalAssemblyNumber = HartCodec::toUInt24(r);
        return ok(r.first(3).toByteArray());
    });
    if (hart7)
        registerHart7Commands(table);
    table.add(33, 1, Access::Read, [this](QByteArrayView r) { return readDeviceVariables(r); });
    table.add(34, 4, Access::Write, [this](QByteArrayView r) { return writeDamping(r); });
    table.add(35, 9, Access::Write, [this](QByteArrayView r) { return writeRangeValues(r); });
    table.add(38, 0, Access::Read,
              [this](QByteArrayView r) { return resetConfigurationChanged(r); });
    table.add(40, 4, Access::Read, [this](QByteArrayView r) { return setFixedCurrent(r); });
    table.add(41, 0, Access::Read, [](QByteArrayView) { return CommandTable::fail(rc::Success); });
    table.add(42, 0, Access::Read, [this](QByteArrayView) {
        m_restartRemainingMs = RestartMs;
        m_fixedCurrent = 0;
        m_coldStart = true;
        return CommandTable::fail(rc::Success);
    });
    table.add(43, 0, Access::Write, [this](QByteArrayView) {
        // In the PV's starting unit, as the offset is kept.
        const FieldDeviceProfile::Variable &pv = primary();
        const double reading = convert(*value(pv.code), pv.quantity, *unit(pv.code), pv.unit);
        const double limit = 0.05 * (m_profile.upperSensorLimit - m_profile.lowerSensorLimit);
        if (reading - m_zeroOffset > limit)
            return CommandTable::fail(rc::LowerRangeTooHigh); // applied value too high
        if (reading - m_zeroOffset < -limit)
            return CommandTable::fail(rc::LowerRangeTooLow);
        m_zeroOffset -= reading;
        return CommandTable::fail(rc::Success);
    });
    table.add(44, 1, Access::Write, [this](QByteArrayView r) { return writePrimaryUnit(r); });
    table.add(45, 4, Access::Write, [this](QByteArrayView r) { return trimLoopCurrent(r, 4.0); });
    table.add(46, 4, Access::Write, [this](QByteArrayView r) { return trimLoopCurrent(r, 20.0); });
    table.add(48, 0, Access::Read, [this](QByteArrayView) { return readAdditionalStatus(); });
}

// The universal commands HART 7 added: loop configuration, classifications,
// device variables with status, the long tag.
void FieldDeviceModel::registerHart7Commands(CommandTable &table)
{
    const auto ok = [](const QByteArray &data) { return CommandTable::reply(data); };
    table.add(7, 0, Access::Read, [this, ok](QByteArrayView) {
        return ok(CommandTable::byte(m_pollingAddress) +
                  CommandTable::byte(m_loopCurrentEnabled ? 1 : 0));
    });
    table.add(8, 0, Access::Read, [this, ok](QByteArrayView) {
        QByteArray data;
        for (const quint8 code : m_profile.dynamic) {
            const FieldDeviceProfile::Variable *v = variable(code);
            data += CommandTable::byte(v ? v->classification : 0);
        }
        return ok(data);
    });
    table.add(9, 1, Access::Read,
              [this](QByteArrayView r) { return readDeviceVariablesWithStatus(r); });
    table.add(20, 0, Access::Read,
              [this, ok](QByteArrayView) { return ok(latin1Field(m_longTag, 32)); });
    table.add(22, 32, Access::Write, [this, ok](QByteArrayView r) {
        const QByteArray field = r.first(32).toByteArray();
        m_longTag = QString::fromLatin1(
            field.left(field.indexOf('\0') < 0 ? field.size() : field.indexOf('\0')));
        return ok(field);
    });
}

void FieldDeviceModel::setLoopPosition(quint8 pollingAddress, quint32 serialOffset)
{
    m_pollingAddress = pollingAddress;
    m_loopCurrentEnabled = pollingAddress == 0;
    m_deviceId = (m_profile.deviceIdBase + serialOffset) & 0xFFFFFF;
}

QByteArray FieldDeviceModel::packedTag() const
{
    return HartCodec::packAscii(m_tag, 6);
}

QByteArray FieldDeviceModel::identity() const
{
    const bool hart7 = m_profile.isHart7();
    QByteArray data = CommandTable::byte(254);
    if (hart7) {
        data += HartCodec::fromUInt16(m_profile.deviceType);
    } else {
        data += CommandTable::byte(m_profile.manufacturerCode & 0xFF);
        data += CommandTable::byte(m_profile.deviceType & 0xFF);
    }
    data += CommandTable::byte(hart::DefaultPreambles);
    data += CommandTable::byte(m_profile.hartRevision);
    data += CommandTable::byte(m_profile.deviceRevision);
    data += CommandTable::byte(m_profile.softwareRevision);
    data += CommandTable::byte(m_profile.hardwareRevision << 3); // signalling: 4-20 mA
    data += CommandTable::byte(m_profile.flags);
    data += HartCodec::fromUInt24(m_deviceId);
    if (!hart7)
        return data;
    data += CommandTable::byte(hart::DefaultPreambles);
    data += CommandTable::byte(int(m_profile.variables.size()));
    data += HartCodec::fromUInt16(m_configurationChanges);
    data += CommandTable::byte(0); // extended field device status
    data += HartCodec::fromUInt16(m_profile.manufacturerCode);
    data += HartCodec::fromUInt16(m_profile.manufacturerCode); // no private label
    data += CommandTable::byte(m_profile.deviceProfile);
    return data;
}

void FieldDeviceModel::advanceTime(qint64 ms)
{
    m_timeMs += ms;
    m_restartRemainingMs = qMax<qint64>(0, m_restartRemainingMs - ms);
}

quint8 FieldDeviceModel::takeStatusByte()
{
    quint8 status = 0;
    if (m_configurationChanged)
        status |= hart::status::ConfigurationChanged;
    if (m_coldStart)
        status |= hart::status::ColdStart;
    if (m_fixedCurrent != 0 || loopCurrentFixedAt4())
        status |= hart::status::OutputFixed;
    m_coldStart = false;
    return status;
}

void FieldDeviceModel::configurationChanged()
{
    m_configurationChanged = true;
    ++m_configurationChanges;
}

const FieldDeviceProfile::Variable *FieldDeviceModel::variable(quint8 code) const
{
    if (code >= FirstDynamicCode && code < FirstDynamicCode + 4)
        code = m_profile.dynamic[code - FirstDynamicCode];
    for (const FieldDeviceProfile::Variable &v : m_profile.variables) {
        if (v.code == code)
            return &v;
    }
    return nullptr;
}

const FieldDeviceProfile::Variable &FieldDeviceModel::primary() const
{
    return *variable(m_profile.dynamic[0]);
}

std::optional<quint8> FieldDeviceModel::unit(quint8 code) const
{
    const FieldDeviceProfile::Variable *v = variable(code);
    if (!v)
        return std::nullopt;
    return m_units.value(v->code, v->unit);
}

std::optional<double> FieldDeviceModel::value(quint8 code) const
{
    const FieldDeviceProfile::Variable *v = variable(code);
    if (!v)
        return std::nullopt;
    const double phase = 2 * std::numbers::pi * double(m_timeMs) / 1000.0 / v->periodSeconds;
    double raw = v->base + v->swing * std::sin(phase);
    if (v == &primary()) {
        raw = m_heldPrimary.value_or(raw);
        raw += m_zeroOffset;
    }
    return convert(raw, v->quantity, v->unit, *unit(v->code));
}

void FieldDeviceModel::holdPrimary(std::optional<double> value)
{
    const FieldDeviceProfile::Variable &pv = primary();
    m_heldPrimary.reset();
    if (value)
        m_heldPrimary = convert(*value, pv.quantity, *unit(pv.code), pv.unit);
}

double FieldDeviceModel::percentOfRange() const
{
    const FieldDeviceProfile::Variable &pv = primary();
    const double raw = convert(*value(pv.code), pv.quantity, *unit(pv.code), pv.unit);
    const double span = m_upperRange - m_lowerRange;
    return span == 0 ? 0 : (raw - m_lowerRange) / span * 100.0;
}

bool FieldDeviceModel::loopCurrentFixedAt4() const
{
    return m_profile.isHart7() ? !m_loopCurrentEnabled : m_pollingAddress != 0;
}

double FieldDeviceModel::loopCurrent() const
{
    if (m_fixedCurrent != 0)
        return m_fixedCurrent;
    if (loopCurrentFixedAt4())
        return 4.0;
    const double ideal = std::clamp(4.0 + 0.16 * percentOfRange(), 3.8, 20.5);
    return ideal * m_trimGain + m_trimZero;
}

bool FieldDeviceModel::isUnitOf(quint8 unit, Quantity quantity)
{
    if (quantity == Quantity::Volume)
        return volumeUnit(unit) != nullptr;
    return HartUnits::quantity(unit) == tableQuantity(quantity);
}

double FieldDeviceModel::convert(double value, Quantity quantity, quint8 from, quint8 to)
{
    if (from == to || !isUnitOf(from, quantity) || !isUnitOf(to, quantity))
        return value;
    if (quantity == Quantity::Volume)
        return value / volumeUnit(from)->perCubicMetre * volumeUnit(to)->perCubicMetre;
    return HartUnits::fromBase(to, *HartUnits::toBase(from, value)).value_or(value);
}

QByteArray FieldDeviceModel::pvRangeUnitAndValues(quint8 unit) const
{
    const FieldDeviceProfile::Variable &pv = primary();
    return CommandTable::byte(unit) +
           HartCodec::fromReal(convert(m_upperRange, pv.quantity, pv.unit, unit)) +
           HartCodec::fromReal(convert(m_lowerRange, pv.quantity, pv.unit, unit));
}

hart::CommandReply FieldDeviceModel::readPrimaryVariable() const
{
    const quint8 code = primary().code;
    return CommandTable::reply(CommandTable::byte(*unit(code)) + HartCodec::fromReal(*value(code)));
}

hart::CommandReply FieldDeviceModel::readDynamicVariables() const
{
    QByteArray data = HartCodec::fromReal(loopCurrent());
    // Up to the last dynamic variable the device has.
    for (const quint8 code : m_profile.dynamic) {
        if (!variable(code))
            break;
        data += CommandTable::byte(*unit(code)) + HartCodec::fromReal(*value(code));
    }
    return CommandTable::reply(data);
}

hart::CommandReply FieldDeviceModel::writePollingAddress(QByteArrayView request)
{
    const quint8 address = quint8(request[0]);
    if (!m_profile.isHart7()) {
        if (address > 15)
            return CommandTable::fail(rc::InvalidSelection);
        m_pollingAddress = address;
        return CommandTable::reply(CommandTable::byte(address));
    }
    if (address > 63)
        return CommandTable::fail(rc::InvalidSelection);
    // A HART 5 master sends the address alone: the current then follows it.
    const bool enabled = request.size() >= 2 ? request[1] != 0 : address == 0;
    m_pollingAddress = address;
    m_loopCurrentEnabled = enabled;
    return CommandTable::reply(CommandTable::byte(address) + CommandTable::byte(enabled ? 1 : 0));
}

hart::CommandReply FieldDeviceModel::readDeviceVariablesWithStatus(QByteArrayView request) const
{
    QByteArray data = CommandTable::byte(0); // extended field device status
    for (qsizetype i = 0; i < qMin<qsizetype>(request.size(), 8); ++i) {
        const quint8 code = quint8(request[i]);
        data += CommandTable::byte(code);
        if (const FieldDeviceProfile::Variable *v = variable(code)) {
            data += CommandTable::byte(v->classification) + CommandTable::byte(*unit(code)) +
                    HartCodec::fromReal(*value(code)) + CommandTable::byte(VariableGood);
        } else {
            data += CommandTable::byte(0) + CommandTable::byte(FieldDeviceModel::NoVariable) +
                    nanFloat() + CommandTable::byte(VariableBad);
        }
    }
    // Time of the first slot: 1/32 ms since midnight.
    data += HartCodec::fromUInt32(quint32((m_timeMs % 86'400'000) * 32));
    return CommandTable::reply(data);
}

hart::CommandReply FieldDeviceModel::readTagDescriptorDate() const
{
    return CommandTable::reply(HartCodec::packAscii(m_tag, 6) +
                               HartCodec::packAscii(m_descriptor, 12) +
                               HartCodec::fromDate(m_date));
}

hart::CommandReply FieldDeviceModel::writeTagDescriptorDate(QByteArrayView request)
{
    m_tag = HartCodec::unpackAscii(request.sliced(0, 6)).trimmed();
    m_descriptor = HartCodec::unpackAscii(request.sliced(6, 12)).trimmed();
    m_date = HartCodec::toDate(request, 18);
    return CommandTable::reply(request.first(21).toByteArray());
}

hart::CommandReply FieldDeviceModel::readSensorInformation() const
{
    const FieldDeviceProfile::Variable &pv = primary();
    const quint8 u = *unit(pv.code);
    const auto in = [&](double v) {
        return HartCodec::fromReal(convert(v, pv.quantity, pv.unit, u));
    };
    return CommandTable::reply(HartCodec::fromUInt24(m_profile.sensorSerialNumber) +
                               CommandTable::byte(u) + in(m_profile.upperSensorLimit) +
                               in(m_profile.lowerSensorLimit) + in(m_profile.minimumSpan));
}

hart::CommandReply FieldDeviceModel::readOutputInformation() const
{
    QByteArray data = CommandTable::byte(m_profile.alarmSelection);
    data += CommandTable::byte(m_profile.transferFunction);
    data += pvRangeUnitAndValues(*unit(primary().code));
    data += HartCodec::fromReal(m_damping);
    data += CommandTable::byte(m_writeProtected ? 1 : 0);
    if (m_profile.isHart7()) {
        data += CommandTable::byte(NoVariable); // reserved
        data += CommandTable::byte(0);          // analog channel flags
    } else {
        data += CommandTable::byte(m_profile.manufacturerCode & 0xFF); // private label
    }
    return CommandTable::reply(data);
}

hart::CommandReply FieldDeviceModel::readDeviceVariables(QByteArrayView request) const
{
    QByteArray data;
    for (qsizetype i = 0; i < qMin<qsizetype>(request.size(), 4); ++i) {
        const quint8 code = quint8(request[i]);
        if (variable(code)) {
            data += CommandTable::byte(code) + CommandTable::byte(*unit(code)) +
                    HartCodec::fromReal(*value(code));
        } else if (m_profile.isHart7()) {
            data += CommandTable::byte(code) + CommandTable::byte(NoVariable) + nanFloat();
        } else {
            return CommandTable::fail(rc::InvalidSelection);
        }
    }
    return CommandTable::reply(data);
}

hart::CommandReply FieldDeviceModel::writeDamping(QByteArrayView request)
{
    const std::optional<double> seconds = CommandTable::finite(request, 0);
    if (!seconds)
        return CommandTable::fail(rc::InvalidSelection);
    if (*seconds > 100)
        return CommandTable::fail(rc::TooLarge);
    if (*seconds < 0)
        return CommandTable::fail(rc::TooSmall);
    m_damping = *seconds;
    return CommandTable::reply(request.first(4).toByteArray());
}

hart::CommandReply FieldDeviceModel::writeRangeValues(QByteArrayView request)
{
    const FieldDeviceProfile::Variable &pv = primary();
    const quint8 u = quint8(request[0]);
    const std::optional<double> upper = CommandTable::finite(request, 1);
    const std::optional<double> lower = CommandTable::finite(request, 5);
    if (!isUnitOf(u, pv.quantity) || !upper || !lower)
        return CommandTable::fail(rc::InvalidSelection);
    const double up = convert(*upper, pv.quantity, u, pv.unit);
    const double low = convert(*lower, pv.quantity, u, pv.unit);
    const bool lowTooHigh = low > m_profile.upperSensorLimit;
    const bool lowTooLow = low < m_profile.lowerSensorLimit;
    const bool upTooHigh = up > m_profile.upperSensorLimit;
    const bool upTooLow = up < m_profile.lowerSensorLimit;
    if ((lowTooHigh || lowTooLow) && (upTooHigh || upTooLow))
        return CommandTable::fail(rc::BothRangeValuesOutside);
    if (lowTooHigh)
        return CommandTable::fail(rc::LowerRangeTooHigh);
    if (lowTooLow)
        return CommandTable::fail(rc::LowerRangeTooLow);
    if (upTooHigh)
        return CommandTable::fail(rc::UpperRangeTooHigh);
    if (upTooLow)
        return CommandTable::fail(rc::UpperRangeTooLow);
    if (up == low)
        return CommandTable::fail(rc::InvalidSpan);
    m_lowerRange = low;
    m_upperRange = up;
    const quint8 code = std::abs(up - low) < m_profile.minimumSpan ? rc::SpanTooSmall : rc::Success;
    return CommandTable::reply(request.first(9).toByteArray(), code);
}

hart::CommandReply FieldDeviceModel::resetConfigurationChanged(QByteArrayView request)
{
    if (!m_profile.isHart7()) {
        m_configurationChanged = false;
        return CommandTable::fail(rc::Success);
    }
    // HART 7: the master proves it saw the latest change.
    if (request.size() >= 2 && HartCodec::toUInt16(request) != m_configurationChanges)
        return CommandTable::fail(ConfigurationCounterMismatch);
    m_configurationChanged = false;
    return CommandTable::reply(HartCodec::fromUInt16(m_configurationChanges));
}

hart::CommandReply FieldDeviceModel::setFixedCurrent(QByteArrayView request)
{
    const std::optional<double> current = CommandTable::finite(request, 0);
    if (!current)
        return CommandTable::fail(rc::InvalidSelection);
    if (loopCurrentFixedAt4())
        return CommandTable::fail(rc::UpperRangeTooHigh); // in multidrop mode
    if (*current != 0.0 && *current > FixedCurrentMax)
        return CommandTable::fail(rc::TooLarge);
    if (*current != 0.0 && *current < FixedCurrentMin)
        return CommandTable::fail(rc::TooSmall);
    m_fixedCurrent = *current;
    return CommandTable::reply(HartCodec::fromReal(*current));
}

hart::CommandReply FieldDeviceModel::writePrimaryUnit(QByteArrayView request)
{
    const quint8 u = quint8(request[0]);
    if (!isUnitOf(u, primary().quantity))
        return CommandTable::fail(rc::UpperRangeTooLow); // invalid units code
    m_units.insert(primary().code, u);
    return CommandTable::reply(CommandTable::byte(u));
}

hart::CommandReply FieldDeviceModel::trimLoopCurrent(QByteArrayView request, double nominal)
{
    const std::optional<double> measured = CommandTable::finite(request, 0);
    if (!measured)
        return CommandTable::fail(rc::InvalidSelection);
    if (loopCurrentFixedAt4())
        return CommandTable::fail(rc::UpperRangeTooHigh); // in multidrop mode
    if (m_fixedCurrent != nominal)
        return CommandTable::fail(rc::LowerRangeTooHigh); // not fixed at the trim point
    if (*measured > nominal + TrimLimitMa)
        return CommandTable::fail(rc::TooLarge);
    if (*measured < nominal - TrimLimitMa)
        return CommandTable::fail(rc::TooSmall);
    if (nominal == 4.0)
        m_trimZero += nominal - *measured;
    else
        m_trimGain *= nominal / *measured;
    return CommandTable::reply(request.first(4).toByteArray());
}

hart::CommandReply FieldDeviceModel::readAdditionalStatus() const
{
    QByteArray data(6, '\0'); // device-specific status: nothing to report
    if (m_profile.isHart7()) {
        data += CommandTable::byte(0); // extended field device status
        data += CommandTable::byte(0); // device operating mode
        data += CommandTable::byte(0); // standardized status 0
    }
    return CommandTable::reply(data);
}
