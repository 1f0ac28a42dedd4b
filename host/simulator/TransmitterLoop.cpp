#include "simulator/TransmitterLoop.h"

#include "simulator/FieldDeviceProfile.h"
#include "simulator/SimulatedFieldDevice.h"
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
    return qobject_cast<SimulatedTransmitter *>(
        add(pollingAddress, QLatin1String(TransmitterProfile)));
}

SimulatedDevice *TransmitterLoop::add(quint8 pollingAddress, const QString &profile)
{
    if (pollingAddress > MaxPollingAddress || deviceAt(pollingAddress))
        return nullptr;
    if (profile.compare(QLatin1String(TransmitterProfile), Qt::CaseInsensitive) == 0)
        return place(new SimulatedTransmitter, pollingAddress);
    if (const FieldDeviceProfile *other = FieldDeviceProfile::find(profile))
        return place(new SimulatedFieldDevice(*other), pollingAddress);
    return nullptr;
}

SimulatedDevice *TransmitterLoop::place(SimulatedDevice *device, quint8 pollingAddress)
{
    // Each loop position its own unique id; position 0 keeps the id of a lone device.
    device->setLoopPosition(pollingAddress, quint32(pollingAddress) << 8);
    m_devices.append(device);
    return device;
}

QStringList TransmitterLoop::profiles()
{
    QStringList names{QLatin1String(TransmitterProfile)};
    for (const FieldDeviceProfile &p : FieldDeviceProfile::all())
        names << p.name;
    return names;
}

QList<SimulatedTransmitter *> TransmitterLoop::devices() const
{
    QList<SimulatedTransmitter *> transmitters;
    for (SimulatedDevice *d : m_devices) {
        if (auto *t = qobject_cast<SimulatedTransmitter *>(d))
            transmitters.append(t);
    }
    return transmitters;
}

SimulatedTransmitter *TransmitterLoop::device(quint8 pollingAddress) const
{
    return qobject_cast<SimulatedTransmitter *>(deviceAt(pollingAddress));
}

SimulatedDevice *TransmitterLoop::deviceAt(quint8 pollingAddress) const
{
    for (SimulatedDevice *d : m_devices) {
        if (d->pollingAddress() == pollingAddress)
            return d;
    }
    return nullptr;
}

std::optional<QByteArray> TransmitterLoop::respond(QByteArrayView request)
{
    ++m_requests;
    std::optional<QByteArray> answer;
    for (SimulatedDevice *d : m_devices) {
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
    return std::any_of(m_devices.cbegin(), m_devices.cend(), [&request](const SimulatedDevice *d) {
        return d->isAddressedToMe(request);
    });
}

void TransmitterLoop::clearFaults()
{
    m_drop = 0;
    m_garble = 0;
}
