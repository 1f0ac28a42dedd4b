#include "hart/HartIpLink.h"

#include "hart/HartLinkTexts.h"
#include "hart/HartProtocol.h"

#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QUdpSocket>

using Id = HartIpMessage::Id;
using Type = HartIpMessage::Type;

HartIpLink::HartIpLink(Settings settings, QObject *parent)
    : HartLink(parent), m_settings(std::move(settings))
{
    for (QTimer *timer : {&m_responseTimer, &m_keepAliveTimer})
        timer->setSingleShot(true);
    connect(&m_responseTimer, &QTimer::timeout, this, &HartIpLink::responseTimedOut);
    connect(&m_keepAliveTimer, &QTimer::timeout, this, &HartIpLink::keepAliveTimedOut);
    m_idleTimer.setSingleShot(true);
    connect(&m_idleTimer, &QTimer::timeout, this, &HartIpLink::sendKeepAlive);
}

HartIpLink::~HartIpLink()
{
    if (m_socket)
        m_socket->disconnect(this);
}

bool HartIpLink::open()
{
    if (m_state != State::Closed)
        return true;
    setErrorString({});
    m_buffer.clear();
    m_keepAliveSequence.reset();
    if (m_settings.transport == Transport::Tcp)
        m_socket = std::make_unique<QTcpSocket>();
    else
        m_socket = std::make_unique<QUdpSocket>();
    connect(m_socket.get(), &QAbstractSocket::connected, this, &HartIpLink::socketConnected);
    connect(m_socket.get(), &QIODevice::readyRead, this, &HartIpLink::readMessages);
    connect(m_socket.get(), &QAbstractSocket::errorOccurred, this, [this] {
        // A UDP peer without a listener answers with "connection refused" on
        // the next datagram: the gateway is gone, as for TCP.
        fail(HartLinkTexts::text(HartLinkTexts::IpConnectFailed)
                 .arg(m_settings.host)
                 .arg(m_settings.port)
                 .arg(m_socket->errorString()));
    });
    connect(m_socket.get(), &QAbstractSocket::disconnected, this, [this] {
        fail(HartLinkTexts::text(HartLinkTexts::IpServerClosed).arg(m_settings.host));
    });
    m_state = State::Connecting;
    m_responseTimer.start(m_settings.responseTimeoutMs);
    m_socket->connectToHost(m_settings.host, m_settings.port);
    Q_EMIT openChanged(true);
    return true;
}

void HartIpLink::socketConnected()
{
    m_state = State::Initiating;
    m_keepAliveSequence =
        write(Id::SessionInitiate, HartIpMessage::sessionBody(m_settings.inactivityCloseMs));
    m_responseTimer.start(m_settings.responseTimeoutMs);
}

void HartIpLink::close()
{
    if (m_state == State::Closed)
        return;
    shutDown(m_state == State::Ready);
}

HartLink::RequestId HartIpLink::send(const HartFrame &request)
{
    const RequestId id = m_nextId++;
    m_queue.enqueue({id, request, 0});
    if (m_state == State::Closed) {
        // Nothing to send it on: it ends as a line that went dead, later.
        QMetaObject::invokeMethod(
            this,
            [this] {
                while (!m_queue.isEmpty() && m_state == State::Closed)
                    Q_EMIT connectionLost(m_queue.dequeue().id);
            },
            Qt::QueuedConnection);
        return id;
    }
    QMetaObject::invokeMethod(this, &HartIpLink::startNext, Qt::QueuedConnection);
    return id;
}

void HartIpLink::startNext()
{
    if (m_state != State::Ready || m_inFlight || m_queue.isEmpty())
        return;
    Pending next = m_queue.dequeue();
    const QByteArray wire = next.request.encode(hart::MinPreambles);
    if (wire.isEmpty()) {
        Q_EMIT communicationError(next.id, hart::commerror::Flag | hart::commerror::Undefined);
        QMetaObject::invokeMethod(this, &HartIpLink::startNext, Qt::QueuedConnection);
        return;
    }
    // The PDU carries the frame from its delimiter on: no preambles on a network.
    next.sequence = write(Id::TokenPassingPdu, wire.mid(hart::MinPreambles));
    m_inFlight = next;
    m_responseTimer.start(m_settings.responseTimeoutMs);
}

quint16 HartIpLink::write(Id id, const QByteArray &body)
{
    const quint16 sequence = m_sequence++;
    const HartIpMessage message(Type::Request, id, sequence, body);
    m_socket->write(message.encode());
    Q_EMIT messageSent(message);
    restartIdleTimer();
    return sequence;
}

void HartIpLink::restartIdleTimer()
{
    const quint32 granted =
        m_grantedInactivityMs ? m_grantedInactivityMs : m_settings.inactivityCloseMs;
    const int interval = m_settings.keepAliveMs > 0 ? m_settings.keepAliveMs : int(granted / 3);
    if (m_state == State::Ready && interval > 0)
        m_idleTimer.start(interval);
}

void HartIpLink::readMessages()
{
    while (m_socket && m_state != State::Closed) {
        if (auto *udp = qobject_cast<QUdpSocket *>(m_socket.get())) {
            if (!udp->hasPendingDatagrams())
                return;
            const QByteArray datagram = udp->receiveDatagram().data();
            HartIpMessage::ReadError error;
            if (const auto message = HartIpMessage::decode(datagram, &error))
                handle(*message);
            continue; // a datagram that is no message is dropped on its own
        }
        m_buffer += m_socket->readAll();
        HartIpMessage::ReadError error = HartIpMessage::ReadError::None;
        while (m_state != State::Closed) {
            const auto message = HartIpMessage::take(m_buffer, &error);
            if (!message)
                break;
            handle(*message);
        }
        if (error == HartIpMessage::ReadError::BadLength)
            fail(HartLinkTexts::text(HartLinkTexts::IpUnreadable).arg(m_settings.host));
        return;
    }
}

void HartIpLink::handle(const HartIpMessage &message)
{
    Q_EMIT messageReceived(message);
    if (message.type() == Type::Request || message.type() == Type::Notification)
        return; // nothing a master answers
    if (m_keepAliveSequence && message.sequence() == *m_keepAliveSequence) {
        handleSession(message);
        return;
    }
    if (m_inFlight && message.sequence() == m_inFlight->sequence &&
        message.id() == Id::TokenPassingPdu)
        handlePdu(message);
}

void HartIpLink::handleSession(const HartIpMessage &message)
{
    m_keepAliveSequence.reset();
    const bool refused =
        message.type() != Type::Response || (message.status() != HartIpMessage::Success &&
                                             message.status() != HartIpMessage::SetToNearest);
    if (refused) {
        fail(HartLinkTexts::text(HartLinkTexts::IpSessionRefused)
                 .arg(m_settings.host, HartIpMessage::statusText(message.status())));
        return;
    }
    m_keepAliveTimer.stop();
    if (m_state == State::Initiating) {
        m_responseTimer.stop();
        m_grantedInactivityMs = HartIpMessage::inactivityCloseTime(message.body())
                                    .value_or(m_settings.inactivityCloseMs);
        m_state = State::Ready;
        restartIdleTimer();
        Q_EMIT sessionOpened();
        startNext();
    }
}

void HartIpLink::handlePdu(const HartIpMessage &message)
{
    const Pending pending = *m_inFlight;
    if (message.type() == Type::Error || message.type() == Type::Nak ||
        message.status() != HartIpMessage::Success) {
        // The server could not pass the request on: the link failed to carry it.
        setErrorString(HartLinkTexts::text(HartLinkTexts::IpRequestError)
                           .arg(HartIpMessage::statusText(message.status())));
        m_inFlight.reset();
        m_responseTimer.stop();
        Q_EMIT communicationError(pending.id, hart::commerror::Flag | hart::commerror::Undefined);
        startNext();
        return;
    }
    const HartFrame::Decoded decoded = HartFrame::decodeBody(message.body());
    if (decoded.ok()) {
        const HartFrame &frame = *decoded.frame;
        // A frame that answers another request is not ours: wait on.
        if (frame.kind() != HartFrame::Kind::Response ||
            frame.command() != pending.request.command() || !frame.hasSameAddress(pending.request))
            return;
    }
    m_inFlight.reset();
    m_responseTimer.stop();
    if (decoded.ok()) {
        Q_EMIT responseReceived(pending.id, *decoded.frame);
    } else {
        const quint8 bit = decoded.error == HartFrame::DecodeError::ChecksumMismatch
                               ? hart::commerror::Checksum
                               : hart::commerror::Framing;
        Q_EMIT communicationError(pending.id, hart::commerror::Flag | bit);
    }
    startNext();
}

void HartIpLink::responseTimedOut()
{
    if (m_state == State::Connecting || m_state == State::Initiating) {
        fail(HartLinkTexts::text(HartLinkTexts::IpNoAnswer)
                 .arg(m_settings.host)
                 .arg(m_settings.port));
        return;
    }
    if (!m_inFlight)
        return;
    const RequestId id = m_inFlight->id;
    m_inFlight.reset();
    Q_EMIT requestTimedOut(id);
    // A UDP peer that went away says nothing: ask whether the server is still there.
    if (m_settings.transport == Transport::Udp && !m_keepAliveSequence)
        sendKeepAlive();
    startNext();
}

void HartIpLink::sendKeepAlive()
{
    if (m_state != State::Ready || m_keepAliveSequence)
        return;
    m_keepAliveSequence = write(Id::KeepAlive, {});
    m_keepAliveTimer.start(m_settings.responseTimeoutMs);
}

void HartIpLink::keepAliveTimedOut()
{
    if (m_keepAliveSequence)
        fail(HartLinkTexts::text(HartLinkTexts::IpStoppedAnswering).arg(m_settings.host));
}

void HartIpLink::fail(const QString &reason)
{
    if (m_state == State::Closed)
        return;
    setErrorString(reason);
    shutDown(false);
}

void HartIpLink::shutDown(bool sendClose)
{
    if (sendClose && m_socket) {
        write(Id::SessionClose, {});
        m_socket->flush();
    }
    m_state = State::Closed;
    m_responseTimer.stop();
    m_idleTimer.stop();
    m_keepAliveTimer.stop();
    m_keepAliveSequence.reset();
    if (m_socket) {
        m_socket->disconnect(this);
        m_socket->abort();
        // The socket may be the sender of the signal being handled.
        m_socket.release()->deleteLater();
    }
    QList<RequestId> lost;
    if (m_inFlight)
        lost.append(m_inFlight->id);
    m_inFlight.reset();
    while (!m_queue.isEmpty())
        lost.append(m_queue.dequeue().id);
    for (RequestId id : lost)
        Q_EMIT connectionLost(id);
    Q_EMIT openChanged(false);
}
