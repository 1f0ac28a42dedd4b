#include "hart/HartMaster.h"

#include "hart/HartLink.h"
#include "hart/HartProtocol.h"

#include <QPointer>

HartMaster::HartMaster(HartLink *link, QObject *parent) : QObject(parent), m_link(link)
{
    using Kind = Outcome::Kind;
    connect(link, &HartLink::responseReceived, this, [this](quint64 id, const HartFrame &response) {
        // A device that found our request garbled still answers: its
        // communication error bits arrive as a response for the program
        // to evaluate. Only what the link itself cannot read is an error.
        Outcome o;
        o.kind = Kind::Response;
        o.responseCode = response.responseCode();
        o.deviceStatus = response.deviceStatus();
        o.data = response.data();
        o.response = response;
        finish(id, o);
    });
    connect(link, &HartLink::requestTimedOut, this, [this](quint64 id) {
        finish(id, Outcome{Kind::Timeout, 0, 0, {}});
    });
    connect(link, &HartLink::communicationError, this, [this](quint64 id, quint8 errorByte) {
        finish(id, Outcome{Kind::CommunicationError, errorByte, 0, {}});
    });
    connect(link, &HartLink::connectionLost, this, [this](quint64 id) {
        finish(id, Outcome{Kind::ConnectionLost, 0, 0, {}});
    });
}

void HartMaster::identify(quint8 pollingAddress, Callback callback)
{
    m_identified = false;
    const HartFrame frame = HartFrame::shortFrame(HartFrame::Kind::Request, pollingAddress,
                                                  hart::command::ReadUniqueIdentifier);
    request(frame, [this, callback = std::move(callback)](const Outcome &outcome) {
        if (!isCurrent(outcome)) {
            callback(outcome); // the address of a connection that is gone
            return;
        }
        if (outcome.kind == Outcome::Kind::Response &&
            outcome.responseCode == hart::response::Success) {
            if (const auto identity = HartDeviceIdentity::parse(outcome.data)) {
                m_identity = identity;
                m_identified = true;
            }
        }
        callback(outcome);
    });
}

void HartMaster::poll(quint8 pollingAddress, Callback callback)
{
    request(HartFrame::shortFrame(HartFrame::Kind::Request, pollingAddress,
                                  hart::command::ReadUniqueIdentifier),
            std::move(callback));
}

void HartMaster::transact(quint8 command, const QByteArray &data, Callback callback)
{
    if (!m_identified) {
        // Nobody to talk to: the same outcome as a line that went dead.
        lostLater(std::move(callback));
        return;
    }
    request(HartFrame::longFrame(HartFrame::Kind::Request, m_identity->manufacturer,
                                 m_identity->deviceType, m_identity->deviceId, command, data),
            std::move(callback));
}

void HartMaster::request(const HartFrame &frame, Callback callback)
{
    if (!m_link) {
        lostLater(std::move(callback));
        return;
    }
    const quint64 id = m_link->send(frame);
    m_pending.insert(id, {std::move(callback), m_session});
}

void HartMaster::lostLater(Callback callback)
{
    Outcome outcome{Outcome::Kind::ConnectionLost, 0, 0, {}, m_session};
    QMetaObject::invokeMethod(
        this, [callback = std::move(callback), outcome] { callback(outcome); },
        Qt::QueuedConnection);
}

void HartMaster::finish(quint64 id, Outcome outcome)
{
    const Pending pending = m_pending.take(id);
    if (!pending.callback)
        return;
    outcome.session = pending.session;
    // The callback may end this master's owner: nothing of it is used after.
    QPointer<HartMaster> self(this);
    pending.callback(outcome);
    if (self)
        Q_EMIT transactionEnded(outcome);
}
