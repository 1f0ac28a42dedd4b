#pragma once

#include "hart/HartFrame.h"
#include "simulator/SimulatedDevice.h"

#include <QList>
#include <QPointer>

// The device at the far end of the rig's line: passes each request to the
// device plugged in now, so that a test can put another one in its place,
// and keeps the command number of every request that reached the line.
// (Header only, and no signals of its own: every test folder that uses the
// main window rig builds it without a change.)
class SwitchedDevice : public SimulatedDevice
{
public:
    explicit SwitchedDevice(SimulatedDevice *plugged) { plug(plugged); }

    void plug(SimulatedDevice *device)
    {
        if (m_plugged)
            m_plugged->disconnect(this);
        const bool was = isConnected();
        m_plugged = device;
        connect(device, &SimulatedDevice::connectionChanged, this,
                &SimulatedDevice::connectionChanged);
        if (was != isConnected())
            Q_EMIT connectionChanged(isConnected());
    }
    SimulatedDevice *plugged() const { return m_plugged; }
    QList<int> sent;

    std::optional<QByteArray> respond(QByteArrayView requestBytes) override
    {
        const HartFrame::Decoded decoded = HartFrame::decode(requestBytes);
        if (decoded.ok())
            sent.append(decoded.frame->command());
        return m_plugged ? m_plugged->respond(requestBytes) : std::nullopt;
    }
    bool isConnected() const override { return m_plugged && m_plugged->isConnected(); }
    bool isAddressedToMe(const HartFrame &request) const override
    {
        return m_plugged && m_plugged->isAddressedToMe(request);
    }
    quint8 pollingAddress() const override { return m_plugged->pollingAddress(); }
    quint32 deviceId() const override { return m_plugged->deviceId(); }
    void setLoopPosition(quint8 address, quint32 offset) override
    {
        m_plugged->setLoopPosition(address, offset);
    }
    QString profileName() const override { return m_plugged->profileName(); }
    void injectNoAnswer(int requests) override { m_plugged->injectNoAnswer(requests); }
    void injectCommunicationError(quint8 bits, int requests = 1) override
    {
        m_plugged->injectCommunicationError(bits, requests);
    }
    void injectBusy(int requests) override { m_plugged->injectBusy(requests); }
    void injectCorruptResponse(int requests) override
    {
        m_plugged->injectCorruptResponse(requests);
    }
    void clearFaults() override { m_plugged->clearFaults(); }
    void setWriteProtected(bool on) override { m_plugged->setWriteProtected(on); }
    void dropConnection() override { m_plugged->dropConnection(); }
    void restoreConnection() override { m_plugged->restoreConnection(); }

private:
    QPointer<SimulatedDevice> m_plugged;
};
