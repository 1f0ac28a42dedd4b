#include "simulator/SimulatedDevice.h"

#include "hart/HartProtocol.h"

void SimulatedDevice::injectCommunicationError(quint8 errorBits, int requests)
{
    m_communicationErrorBits = errorBits & hart::commerror::AllBits;
    m_communicationErrors = qMax(0, requests);
}

void SimulatedDevice::dropConnection()
{
    if (!m_connected)
        return;
    m_connected = false;
    Q_EMIT connectionChanged(false);
}

void SimulatedDevice::restoreConnection()
{
    if (m_connected)
        return;
    m_connected = true;
    Q_EMIT connectionChanged(true);
}

void SimulatedDevice::corrupt(QByteArray &wire)
{
    wire[wire.size() - 1] = char(wire.back() ^ 0x5A);
}

bool SimulatedDevice::consume(int &count)
{
    if (count == 0)
        return false;
    if (count > 0)
        --count;
    return true;
}
