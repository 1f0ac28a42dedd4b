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
//
// Who answers command 0 is checked before anything else: a device of another
// maker or type is connected for the universal and common-practice commands
// alone ("&&private&&ForeignDevice" 1, condition ForeignDevice), and never
// gets a sequence or periodic read of the description. After a lost link
// only the session's own device is taken back: another one that answers in
// its place is named (condition OtherDevice) while reconnecting goes on.
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
        DeviceSilent = 1,  // the link is there, the device does not answer
        LinkLost = 2,      // the port or server is gone
        Reconnecting = 3,  // gone, and being brought back
        ForeignDevice = 4, // connected to a device of another maker or type
        OtherDevice = 5,   // reconnecting: another device answers in the lost one's place
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
    // Connected to a device the description is not for.
    bool isForeignDevice() const { return m_foreign; }
    // Connected to a device of the description's kind: its records may go out.
    bool describedDeviceConnected() const { return status() == Connected && !m_foreign; }

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
    void foreignDeviceFound(const HartDeviceIdentity &device);
    void otherDeviceFound(const HartDeviceIdentity &device);
    void setForeign(bool foreign);
    // Asks the identified device for its tag (HART 7: its long tag, when set),
    // by universal commands only; empty when it does not say.
    void readTag(std::function<void(const QString &tag)> done);
    QString describe(const HartDeviceIdentity &device, const QString &tag) const;
    // The tag of the described device read since connecting, if any.
    QString tagReadFromDevice() const;
    // The condition when nothing is wrong with the link.
    void setSettledCondition();
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
    QString m_sessionTag;             // the session device's tag, for messages
    QString m_foreignMessage;         // who answers, while foreign
    QString m_otherDeviceMessage;     // who answers instead, while reconnecting
    QString m_lastFailure;            // why the last reconnect attempt failed
    bool m_reconnecting = false;      // status 1 stands for a reconnect
    bool m_identityUnchecked = false; // reconnected: who answers is asked before a write
    bool m_closing = false;           // our own close of the link
    bool m_foreign = false;           // connected to a device of another kind
};
