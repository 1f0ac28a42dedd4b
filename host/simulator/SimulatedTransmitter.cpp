#include "simulator/SimulatedTransmitter.h"

#include "simulator/CommonPracticeCommands.h"
#include "simulator/DeviceSpecificCommands.h"
#include "simulator/TransferFunctionCommands.h"
#include "simulator/UniversalCommands.h"

#include <QElapsedTimer>

namespace rc = hart::response;

SimulatedTransmitter::SimulatedTransmitter(SensorType type, int rangeIndex, QObject *parent)
    : SimulatedDevice(parent), m_model(type, rangeIndex),
      m_universal(std::make_unique<UniversalCommands>(m_model)),
      m_commonPractice(std::make_unique<CommonPracticeCommands>(m_model)),
      m_deviceSpecific(std::make_unique<DeviceSpecificCommands>(m_model)),
      m_transferFunction(std::make_unique<TransferFunctionCommands>(m_model))
{
    m_universal->registerInto(m_table);
    m_commonPractice->registerInto(m_table);
    m_deviceSpecific->registerInto(m_table);
    m_transferFunction->registerInto(m_table);
    setRealTimeClock(true);
}

SimulatedTransmitter::~SimulatedTransmitter() = default;

std::optional<QByteArray> SimulatedTransmitter::respond(QByteArrayView requestBytes)
{
    syncClock();
    if (!isConnected())
        return std::nullopt;
    // A frame the device cannot read is one it cannot know to be meant for it.
    const HartFrame::Decoded decoded = HartFrame::decode(requestBytes);
    if (!decoded.ok() || decoded.frame->kind() != HartFrame::Kind::Request)
        return std::nullopt;
    if (!isAddressedToMe(*decoded.frame) || m_model.isRestarting() || takeNoAnswer())
        return std::nullopt;
    const std::optional<HartFrame> reply = answer(*decoded.frame);
    if (!reply)
        return std::nullopt;
    QByteArray wire = reply->encode(m_model.settings().responsePreambles);
    if (takeCorruptResponse())
        corrupt(wire);
    return wire;
}

std::optional<int> SimulatedTransmitter::minimumRequestBytes(quint8 command) const
{
    const CommandTable::Entry *entry = m_table.find(command);
    if (!entry)
        return std::nullopt;
    return entry->minRequestBytes;
}

bool SimulatedTransmitter::isAddressedToMe(const HartFrame &request) const
{
    // Command 11 finds a device by its tag, whatever address it was sent to.
    if (request.command() == hart::command::ReadUniqueIdentifierByTag &&
        (request.isBroadcast() || request.isLongAddress()))
        return request.data().left(6) == m_model.settings().tag;
    if (!request.isLongAddress()) {
        // HART 5 answers short frames for command 0 only.
        return request.command() == hart::command::ReadUniqueIdentifier &&
               request.pollingAddress() == pollingAddress();
    }
    return request.manufacturerId() == (manufacturerId() & 0x3F) &&
           request.deviceType() == deviceType() && request.deviceId() == deviceId();
}

std::optional<HartFrame> SimulatedTransmitter::answer(const HartFrame &request)
{
    HartFrame reply = request;
    reply.setKind(HartFrame::Kind::Response);
    reply.setBurstMode(false);
    reply.setData({});
    if (takeCommunicationError()) {
        reply.setStatus(hart::commerror::Flag | communicationErrorBits(), 0);
        return reply;
    }
    if (takeBusy()) {
        reply.setStatus(rc::Busy, statusByte());
        return reply;
    }
    const hart::CommandReply result = execute(request.command(), request.data());
    reply.setData(result.data);
    reply.setStatus(result.code, statusByte());
    return reply;
}

hart::CommandReply SimulatedTransmitter::execute(quint8 command, QByteArrayView data)
{
    m_model.sample();
    const CommandTable::Entry *entry = m_table.find(command);
    if (!entry)
        return CommandTable::fail(rc::CommandNotImplemented);
    if (data.size() < entry->minRequestBytes)
        return CommandTable::fail(rc::TooFewDataBytes);
    if (entry->access == CommandTable::Access::Write) {
        if (m_model.isWriteProtected())
            return CommandTable::fail(rc::WriteProtected);
        if (m_model.isLocalOperationActive())
            return CommandTable::fail(rc::AccessRestricted);
    }
    return entry->handler(data);
}

quint8 SimulatedTransmitter::statusByte()
{
    const quint8 coldStart = m_model.takeColdStart() ? hart::status::ColdStart : 0;
    return m_model.deviceStatus() | coldStart;
}

void SimulatedTransmitter::setAppliedPressure(double mbar)
{
    m_model.setAppliedPressure(mbar);
}

void SimulatedTransmitter::setSensorTemperature(double celsius)
{
    m_model.setAppliedTemperature(celsius);
}

void SimulatedTransmitter::setStaticPressure(double mbar)
{
    m_model.setStaticPressure(mbar);
}

void SimulatedTransmitter::setWriteProtected(bool on)
{
    m_model.setWriteProtectSwitch(on);
}

void SimulatedTransmitter::setLocalOperationActive(bool active)
{
    m_model.setLocalOperationActive(active);
}

void SimulatedTransmitter::setDiagnosisFaults(TransmitterDiagnosis::Category category, quint8 bits)
{
    m_model.diagnosis().setFaults(category, bits);
}

void SimulatedTransmitter::seedNoise(quint32 seed)
{
    m_model.seedNoise(seed);
}

void SimulatedTransmitter::setProcessDrift(double pressureMbar, double temperatureCelsius,
                                           double periodSeconds)
{
    m_model.setProcessDrift(pressureMbar, temperatureCelsius, periodSeconds);
}

void SimulatedTransmitter::setLivelyProcess()
{
    const TransmitterSettings &range = m_model.settings();
    setProcessDrift(0.04 * (range.upperRangeMbar - range.lowerRangeMbar), 1.5, 240);
}

double SimulatedTransmitter::measureLoopCurrent()
{
    syncClock();
    return analogOutputCurrent();
}

void SimulatedTransmitter::setNoiseLevel(double level)
{
    m_model.setNoiseLevel(level);
}

void SimulatedTransmitter::advanceTime(qint64 ms)
{
    m_model.advanceTime(ms);
}

void SimulatedTransmitter::setClock(Clock nowNs)
{
    syncClock();
    m_clock = std::move(nowNs);
    m_syncedNs = m_clock ? m_clock() : 0;
}

void SimulatedTransmitter::setRealTimeClock(bool running)
{
    if (!running) {
        setClock(nullptr);
        return;
    }
    QElapsedTimer wall;
    wall.start();
    setClock([wall] { return wall.nsecsElapsed(); });
}

// Whole milliseconds go to the model; the rest waits for the next call, so a
// master that asks many times a millisecond does not stop the device's clock.
void SimulatedTransmitter::syncClock()
{
    if (!m_clock)
        return;
    const qint64 ms = (m_clock() - m_syncedNs) / 1000000;
    if (ms <= 0)
        return;
    m_syncedNs += ms * 1000000;
    m_model.advanceTime(ms);
}
