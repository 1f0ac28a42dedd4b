#pragma once

#include "device/HartFrame.h"
#include "device/HartLink.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>

class HartLink;

// The host's side of the HART conversation: finds the device at its polling
// address with command 0 and then talks to it in long frames with the unique
// address it returned. Every transaction ends in exactly one outcome.
class HartMaster : public QObject
{
    Q_OBJECT

public:
    struct Outcome
    {
        enum class Kind
        {
            Response,
            Timeout,
            CommunicationError,
            ConnectionLost
        };
        Kind kind = Kind::Timeout;
        quint8 responseCode = 0; // the error byte for a communication error
        quint8 deviceStatus = 0;
        QByteArray data;
    };
    using Callback = std::function<void(const Outcome &)>;

    explicit HartMaster(HartLink *link, QObject *parent = nullptr);

    HartLink *link() const { return m_link; }
    bool isIdentified() const { return m_identified; }
    // Forgets the unique address: the next transaction needs identify() first.
    void forget() { m_identified = false; }

    // Command 0 in a short frame; on a response the unique address is kept.
    void identify(quint8 pollingAddress, Callback callback);
    // A command to the identified device.
    void transact(quint8 command, const QByteArray &data, Callback callback);

private:
    void send(const HartFrame &frame, Callback callback);
    void finish(quint64 id, const Outcome &outcome);

    QPointer<HartLink> m_link;
    QHash<quint64, Callback> m_pending;
    bool m_identified = false;
    quint8 m_manufacturerId = 0;
    quint8 m_deviceType = 0;
    quint32 m_deviceId = 0;
};
