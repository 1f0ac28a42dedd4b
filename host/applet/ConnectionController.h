#pragma once

#include "hart/HartDeviceIdentity.h"

#include <QElapsedTimer>
#include <QObject>
#include <functional>
#include <memory>
#include <optional>

class DeviceDescription;
class HartMaster;
class ItemStore;
class LinkReconnector;
class SequenceEngine;

// Drives "&&private&&Connect": 0 not connected, 1 connecting, 2 connected,
// 3 disconnecting. Connecting opens the link and finds the device with
// command 0 at the polling address in "&&private_PM&&Address"; a link that
// drops takes the status back to 0 and ends a running sequence, or, with a
// reconnector, keeps it at 1 while the reconnector brings the link back.
//
// "&&private&&LinkCondition" tells why the connection is not as it should be
// (LinkCondition), "&&private&&LinkMessage" says it in words: a link that is
// gone (modem unplugged, server stopped) is not a device that does not answer.
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

    enum class LinkCondition
    {
        Normal = 0,
        DeviceSilent = 1, // the link is there, the device does not answer
        LinkLost = 2,     // the port or server is gone
        Reconnecting = 3, // gone, and being brought back
    };

    ConnectionController(std::shared_ptr<const DeviceDescription> description, ItemStore &store,
                         HartMaster &master, SequenceEngine &engine, QObject *parent = nullptr);
    ~ConnectionController() override;

    int status() const;
    void setIdentifyWindow(int ms) { m_identifyWindowMs = ms; }
    // Brings a lost link back by itself; not owned, null for none.
    void setReconnector(LinkReconnector *reconnector);
    LinkReconnector *reconnector() const { return m_reconnector; }
    // Both answer 0 when the request was taken; the status item tells the rest.
    qint32 connectDevice();
    qint32 disconnectDevice();

    LinkCondition linkCondition() const { return m_condition; }
    QString linkMessage() const { return m_message; }
    // The device this session's connect found; the one a reconnect looks for.
    const std::optional<HartDeviceIdentity> &sessionDevice() const { return m_sessionDevice; }

Q_SIGNALS:
    void connectFailed(const QString &reason);
    void linkConditionChanged(ConnectionController::LinkCondition condition,
                              const QString &message);

private:
    void setStatus(int status);
    void setCondition(LinkCondition condition, const QString &message);
    quint8 pollingAddress() const;
    void identify();
    void identified(const QByteArray &commandZero);
    void identifyFailed(bool linkGone);
    void linkLost();
    void deviceRestarting();
    void closeLink();
    QString lostReason() const;
    void attemptReconnect();
    void reconnectFailed(const QString &reason);
    void showWaiting(int attempt, int pauseMs);
    void checkBeforeWrite(std::function<void(const QString &refusal)> done);

    std::shared_ptr<const DeviceDescription> m_description;
    ItemStore &m_store;
    HartMaster &m_master;
    SequenceEngine &m_engine;
    LinkReconnector *m_reconnector = nullptr;
    QElapsedTimer m_connecting;
    int m_identifyWindowMs = DefaultIdentifyWindowMs;
    LinkCondition m_condition = LinkCondition::Normal;
    QString m_message;
    std::optional<HartDeviceIdentity> m_sessionDevice;
    QString m_lastFailure;            // why the last reconnect attempt failed
    bool m_reconnecting = false;      // status 1 stands for a reconnect
    bool m_identityUnchecked = false; // reconnected: who answers is asked before a write
    bool m_closing = false;           // our own close of the link
};
