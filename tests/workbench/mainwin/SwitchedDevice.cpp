#include "SwitchedDevice.h"

#include "hart/HartFrame.h"

SwitchedDevice::SwitchedDevice(SimulatedDevice *plugged)
{
    plug(plugged);
}

void SwitchedDevice::plug(SimulatedDevice *device)
{
    if (m_plugged)
        m_plugged->disconnect(this);
    const bool was = isConnected();
    m_plugged = device;
    connect(device, &SimulatedDevice::connectionChanged, this, &SimulatedDevice::connectionChanged);
    if (was != isConnected())
        Q_EMIT connectionChanged(isConnected());
}

std::optional<QByteArray> SwitchedDevice::respond(QByteArrayView requestBytes)
{
    const HartFrame::Decoded decoded = HartFrame::decode(requestBytes);
    if (decoded.ok())
        sent.append(decoded.frame->command());
    return m_plugged ? m_plugged->respond(requestBytes) : std::nullopt;
}
