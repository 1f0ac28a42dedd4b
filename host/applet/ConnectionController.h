#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <memory>

class DeviceDescription;
class HartMaster;
class ItemStore;
class SequenceEngine;

// Drives "&&private&&Connect": 0 not connected, 1 connecting, 2 connected,
// 3 disconnecting. Connecting opens the link and finds the device with
// command 0 at the polling address in "&&private_PM&&Address"; a link that
// drops takes the status back to 0 and ends a running sequence.
class ConnectionController : public QObject
{
    Q_OBJECT

public:
    static constexpr int NotConnected = 0;
    static constexpr int Connecting = 1;
    static constexpr int Connected = 2;
    static constexpr int Disconnecting = 3;
    // A device restarting after a reset stays silent for a while: connecting
    // keeps asking for this long before it gives up.
    static constexpr int DefaultIdentifyWindowMs = 4000;

    ConnectionController(std::shared_ptr<const DeviceDescription> description, ItemStore &store,
                         HartMaster &master, SequenceEngine &engine, QObject *parent = nullptr);

    int status() const;
    void setIdentifyWindow(int ms) { m_identifyWindowMs = ms; }
    // Both answer 0 when the request was taken; the status item tells the rest.
    qint32 connectDevice();
    qint32 disconnectDevice();

Q_SIGNALS:
    void connectFailed(const QString &reason);

private:
    void setStatus(int status);
    void identify();
    void linkLost();

    std::shared_ptr<const DeviceDescription> m_description;
    ItemStore &m_store;
    HartMaster &m_master;
    SequenceEngine &m_engine;
    QElapsedTimer m_connecting;
    int m_identifyWindowMs = DefaultIdentifyWindowMs;
};
