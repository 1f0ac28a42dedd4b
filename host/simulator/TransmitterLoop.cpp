#include "simulator/TransmitterLoop.h"

#include "simulator/SimulatedTransmitter.h"

#include <algorithm>

namespace {

bool consume(int &count)
{
    if (count == 0)
        return false;
    if (count > 0)
        --count;
    return true;
}

} // namespace

TransmitterLoop::TransmitterLoop(QObject *parent) : QObject(parent) {}

TransmitterLoop::~TransmitterLoop()
{
    qDeleteAll(m_devices);
}

SimulatedTransmitter *TransmitterLoop::add(quint8 pollingAddress)
{
    if (pollingAddress > MaxPollingAddress || device(pollingAddress))
        return nullptr;
    auto *transmitter = new SimulatedTransmitter;
    // Each loop position its own unique id; position 0 keeps the id of a lone device.
    transmitter->setLoopPosition(pollingAddress, quint32(pollingAddress) << 8);
    m_devices.append(transmitter);
    return transmitter;
}

SimulatedTransmitter *TransmitterLoop::device(quint8 pollingAddress) const
{
    for (SimulatedTransmitter *d : m_devices) {
        if (d->pollingAddress() == pollingAddress)
            return d;
    }
    return nullptr;
}

std::optional<QByteArray> TransmitterLoop::respond(QByteArrayView request)
{
    ++m_requests;
    std::optional<QByteArray> answer;
    for (SimulatedTransmitter *d : m_devices) {
        // Every device hears the request and keeps its own clock, even when it stays silent.
        std::optional<QByteArray> reply = d->respond(request);
        if (reply && !answer)
            answer = std::move(reply);
    }
    if (!answer || consume(m_drop))
        return std::nullopt;
    if (consume(m_garble) && answer->size() > 2) {
        // A byte in the middle of the frame: the checksum no longer holds.
        const qsizetype at = answer->size() / 2 + 1;
        (*answer)[at] = char((*answer)[at] ^ 0x10);
    }
    return answer;
}

bool TransmitterLoop::takes(const HartFrame &request) const
{
    return std::any_of(
        m_devices.cbegin(), m_devices.cend(),
        [&request](const SimulatedTransmitter *d) { return d->isAddressedToMe(request); });
}

void TransmitterLoop::clearFaults()
{
    m_drop = 0;
    m_garble = 0;
}
