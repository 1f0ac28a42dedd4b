#pragma once

#include "hart/HartDeviceIdentity.h"
#include "hart/HartFrame.h"
#include "hart/HartLink.h"

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QPointer>
#include <functional>
#include <optional>

class HartLink;

// The host's side of the HART conversation: finds the device at its polling
// address with command 0 and then talks to it in long frames with the unique
// address it returned. Every transaction ends in exactly one outcome. It is
// the one place that sends requests on a link and matches what the link
// reports to them; the device scan and the reconnect probe go through it too.
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
        quint64 session = 0;  // the connection the request was sent on
        HartFrame response{}; // the whole response frame, for a response
    };
    using Callback = std::function<void(const Outcome &)>;

    explicit HartMaster(HartLink *link, QObject *parent = nullptr);

    HartLink *link() const { return m_link; }
    bool isIdentified() const { return m_identified; }
    // Whom command 0 found last; kept after forget() so that a reconnect can
    // tell whether the same transmitter answers again.
    const std::optional<HartDeviceIdentity> &identity() const { return m_identity; }
    // Forgets the unique address: the next transaction needs identify() first.
    // What was sent before belongs to an old connection from then on.
    void forget()
    {
        m_identified = false;
        ++m_session;
    }
    // Outcomes of an earlier session answer requests of a connection that is gone.
    quint64 session() const { return m_session; }
    bool isCurrent(const Outcome &outcome) const { return outcome.session == m_session; }

    // Command 0 in a short frame; on a response the unique address is kept.
    void identify(quint8 pollingAddress, Callback callback);
    // Command 0 in a short frame, asking who answers at the polling address
    // now; the device talked to stays as it was.
    void poll(quint8 pollingAddress, Callback callback);
    // A command to the identified device.
    void transact(quint8 command, const QByteArray &data, Callback callback);
    // Any request frame, addressed as it stands (a scan asks every address).
    void request(const HartFrame &frame, Callback callback);

Q_SIGNALS:
    // After each callback: every outcome of this master's requests.
    void transactionEnded(const HartMaster::Outcome &outcome);

private:
    struct Pending
    {
        Callback callback;
        quint64 session = 0;
    };

    void finish(quint64 id, Outcome outcome);
    void lostLater(Callback callback);

    QPointer<HartLink> m_link;
    QHash<quint64, Pending> m_pending;
    quint64 m_session = 1;
    bool m_identified = false;
    std::optional<HartDeviceIdentity> m_identity;
};
