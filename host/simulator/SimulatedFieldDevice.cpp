#include "simulator/SimulatedFieldDevice.h"

#include <QElapsedTimer>

namespace rc = hart::response;

SimulatedFieldDevice::SimulatedFieldDevice(const FieldDeviceProfile &profile, QObject *parent)
    : SimulatedDevice(parent), m_model(profile)
{
    m_model.registerInto(m_table);
    QElapsedTimer wall;
    wall.start();
    setClock([wall] { return wall.elapsed(); });
}

SimulatedFieldDevice::~SimulatedFieldDevice() = default;

std::optional<QByteArray> SimulatedFieldDevice::respond(QByteArrayView requestBytes)
{
    syncClock();
    if (!isConnected())
        return std::nullopt;
    const HartFrame::Decoded decoded = HartFrame::decode(requestBytes);
    if (!decoded.ok() || decoded.frame->kind() != HartFrame::Kind::Request)
        return std::nullopt;
    if (!isAddressedToMe(*decoded.frame) || m_model.isRestarting() || takeNoAnswer())
        return std::nullopt;
    QByteArray wire = answer(*decoded.frame).encode(hart::DefaultPreambles);
    if (takeCorruptResponse())
        corrupt(wire);
    return wire;
}

bool SimulatedFieldDevice::isAddressedToMe(const HartFrame &request) const
{
    if (request.command() == 11 && (request.isBroadcast() || request.isLongAddress()))
        return request.data().left(6) == m_model.packedTag();
    if (!request.isLongAddress()) {
        // HART 7 answers every command in a short frame; older revisions command 0 only.
        return request.pollingAddress() == pollingAddress() &&
               (request.command() == 0 || m_model.profile().isHart7());
    }
    const QByteArray id = m_model.identity();
    return request.manufacturerId() == (quint8(id[1]) & 0x3F) &&
           request.deviceType() == quint8(id[2]) && request.deviceId() == deviceId();
}

HartFrame SimulatedFieldDevice::answer(const HartFrame &request)
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
        reply.setStatus(rc::Busy, m_model.takeStatusByte());
        return reply;
    }
    const hart::CommandReply result = execute(request.command(), request.data());
    reply.setData(result.data);
    reply.setStatus(result.code, m_model.takeStatusByte());
    return reply;
}

hart::CommandReply SimulatedFieldDevice::execute(quint8 command, QByteArrayView data)
{
    const CommandTable::Entry *entry = m_table.find(command);
    if (!entry)
        return CommandTable::fail(rc::CommandNotImplemented);
    if (data.size() < entry->minRequestBytes)
        return CommandTable::fail(rc::TooFewDataBytes);
    const bool write = entry->access == CommandTable::Access::Write;
    if (write && m_model.isWriteProtected())
        return CommandTable::fail(rc::WriteProtected);
    const hart::CommandReply result = entry->handler(data);
    if (write && (result.code == rc::Success || result.code == rc::SetToNearest ||
                  result.code == rc::SpanTooSmall))
        m_model.configurationChanged();
    return result;
}

void SimulatedFieldDevice::setClock(Clock nowMs)
{
    syncClock();
    m_clock = std::move(nowMs);
    m_syncedMs = m_clock ? m_clock() : 0;
}

void SimulatedFieldDevice::syncClock()
{
    if (!m_clock)
        return;
    const qint64 now = m_clock();
    if (now > m_syncedMs)
        m_model.advanceTime(now - m_syncedMs);
    m_syncedMs = now;
}
