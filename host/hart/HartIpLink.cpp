#include "hart/HartIpLink.h"

#include "hart/HartCodec.h"
#include "hart/HartLinkTexts.h"
#include "hart/HartProtocol.h"

#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QUdpSocket>

using Id = HartIpMessage::Id;
using Type = HartIpMessage::Type;

namespace {

HartTraffic traffic(HartTraffic::Direction direction, const QByteArray &bytes)
{
    HartTraffic t;
    t.direction = direction;
    t.medium = HartTraffic::Medium::HartIp;
    t.bytes = bytes;
    return t;
}

} // namespace

HartIpLink::HartIpLink(Settings settings, QObject *parent)
    : HartLink(parent), m_settings(std::move(settings))
{
    for (QTimer *timer : {&m_responseTimer, &m_keepAliveTimer, &m_idleTimer})
        timer->setSingleShot(true);
    connect(&m_responseTimer, &QTimer::timeout, this, &HartIpLink::responseTimedOut);
    connect(&m_keepAliveTimer, &QTimer::timeout, this, &HartIpLink::keepAliveTimedOut);
    connect(&m_idleTimer, &QTimer::timeout, this, &HartIpLink::sendKeepAlive);
}

HartIpLink::~HartIpLink()
{
    if (m_socket)
        m_socket->disconnect(this);
}

bool HartIpLink::open()
{
    if (isOpen())
        return true;
    // A close still waiting for its answer gives way to the new session.
    dropSocket();
    setErrorString({});
    m_buffer.clear();
    m_pduSequence.reset();
    m_sessionSequence.reset();
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
    m_sessionSequence =
        write(Id::SessionInitiate, HartIpMessage::sessionBody(m_settings.inactivityCloseMs));
    m_responseTimer.start(m_settings.responseTimeoutMs);
}

void HartIpLink::close()
{
    if (!isOpen())
        return;
    if (m_state != State::Ready) {
        shutDown();
        return;
    }
    // The session ends with a close; its answer is awaited, for a while,
    // before the socket goes, so that the server is not cut off mid-answer.
    m_idleTimer.stop();
    m_keepAliveTimer.stop();
    m_pduSequence.reset();
    m_sessionSequence = write(Id::SessionClose, {});
    m_state = State::Closing;
    m_responseTimer.start(qMin(m_settings.responseTimeoutMs, MaxCloseWaitMs));
    loseRequests();
    Q_EMIT openChanged(false);
}

void HartIpLink::transmit(const HartFrame &request)
{
    // The PDU carries the frame from its delimiter on: no preambles on a network.
    m_pduSequence =
        write(Id::TokenPassingPdu, request.encode(hart::MinPreambles).mid(hart::MinPreambles));
    m_responseTimer.start(m_settings.responseTimeoutMs);
}

quint16 HartIpLink::write(Id id, const QByteArray &body)
{
    const quint16 sequence = m_sequence++;
    writeMessage(HartIpMessage(Type::Request, id, sequence, body));
    restartIdleTimer();
    return sequence;
}

void HartIpLink::writeMessage(const HartIpMessage &message)
{
    const QByteArray bytes = message.encode();
    m_socket->write(bytes);
    record(traffic(HartTraffic::Direction::ToDevice, bytes));
    Q_EMIT messageSent(message);
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
    if (!m_socket)
        return;
    if (m_settings.transport == Transport::Udp)
        readDatagrams();
    else
        readStream();
}

void HartIpLink::readDatagrams()
{
    auto *udp = static_cast<QUdpSocket *>(m_socket.get());
    while (m_socket.get() == udp && udp->hasPendingDatagrams()) {
        const QByteArray datagram = udp->receiveDatagram().data();
        HartIpMessage::ReadError error;
        const auto message = HartIpMessage::decode(datagram, &error);
        if (message) {
            received(datagram, *message);
        } else {
            // A datagram that is no message is dropped on its own, but it travelled.
            record(traffic(HartTraffic::Direction::FromDevice, datagram));
        }
    }
}

void HartIpLink::readStream()
{
    m_buffer += m_socket->readAll();
    HartIpMessage::ReadError error = HartIpMessage::ReadError::None;
    while (m_socket && m_state != State::Closed) {
        // The message's bytes as they came, before the header is read into fields.
        const int length =
            m_buffer.size() >= HartIpMessage::HeaderSize ? HartCodec::toUInt16(m_buffer, 6) : 0;
        const QByteArray bytes = m_buffer.first(qMin(qsizetype(length), m_buffer.size()));
        const auto message = HartIpMessage::take(m_buffer, &error);
        if (!message)
            break;
        received(bytes, *message);
    }
    if (m_socket && error == HartIpMessage::ReadError::BadLength) {
        record(traffic(HartTraffic::Direction::FromDevice, m_buffer));
        m_buffer.clear();
        fail(HartLinkTexts::text(HartLinkTexts::IpUnreadable).arg(m_settings.host));
    }
}

void HartIpLink::received(const QByteArray &bytes, const HartIpMessage &message)
{
    record(traffic(HartTraffic::Direction::FromDevice, bytes));
    Q_EMIT messageReceived(message);
    if (message.version() != HartIpMessage::Version && m_state != State::Closing) {
        fail(HartLinkTexts::text(HartLinkTexts::IpUnreadable).arg(m_settings.host));
        return;
    }
    if (message.type() == Type::Request) {
        // A server asking whether we are still there hears that we are.
        if (message.id() == Id::KeepAlive && m_state == State::Ready)
            writeMessage(HartIpMessage(Type::Response, Id::KeepAlive, message.sequence()));
        return;
    }
    if (message.type() == Type::Notification)
        return; // nothing a master answers
    if (m_sessionSequence && message.sequence() == *m_sessionSequence) {
        handleSession(message);
        return;
    }
    if (m_pduSequence && message.sequence() == *m_pduSequence &&
        message.id() == Id::TokenPassingPdu)
        handlePdu(message);
}

void HartIpLink::handleSession(const HartIpMessage &message)
{
    m_sessionSequence.reset();
    if (m_state == State::Closing) {
        m_responseTimer.stop();
        dropSocket();
        return;
    }
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
        // The server says which inactivity time holds: the keep-alives follow it.
        m_grantedInactivityMs = HartIpMessage::inactivityCloseTime(message.body())
                                    .value_or(m_settings.inactivityCloseMs);
        m_state = State::Ready;
        restartIdleTimer();
        Q_EMIT sessionOpened();
        resume();
    }
}

void HartIpLink::handlePdu(const HartIpMessage &message)
{
    if (message.type() == Type::Error || message.type() == Type::Nak ||
        message.status() != HartIpMessage::Success) {
        // The server could not pass the request on: the link failed to carry it.
        setErrorString(HartLinkTexts::text(HartLinkTexts::IpRequestError)
                           .arg(HartIpMessage::statusText(message.status())));
        m_pduSequence.reset();
        m_responseTimer.stop();
        finishWithCommunicationError(hart::commerror::Flag | hart::commerror::Undefined);
        return;
    }
    const HartFrame::Decoded decoded = HartFrame::decodeBody(message.body());
    if (decoded.ok()) {
        const HartFrame &frame = *decoded.frame;
        const HartFrame &request = requestInFlight();
        // A frame that answers another request is not ours: wait on.
        if (frame.kind() != HartFrame::Kind::Response || frame.command() != request.command() ||
            !frame.hasSameAddress(request))
            return;
    }
    m_pduSequence.reset();
    m_responseTimer.stop();
    if (!decoded.ok()) {
        const quint8 bit = decoded.error == HartFrame::DecodeError::ChecksumMismatch
                               ? hart::commerror::Checksum
                               : hart::commerror::Framing;
        finishWithCommunicationError(hart::commerror::Flag | bit);
        return;
    }
    // A gateway that cannot reach anyone at the address says so at once: the
    // same as a silent address, without the wait.
    if (decoded.frame->responseCode() == hart::response::DelayedResponseDead &&
        decoded.frame->data().isEmpty()) {
        finishWithTimeout();
        return;
    }
    finishWithResponse(*decoded.frame);
}

void HartIpLink::responseTimedOut()
{
    switch (m_state) {
    case State::Connecting:
    case State::Initiating:
        fail(HartLinkTexts::text(HartLinkTexts::IpNoAnswer)
                 .arg(m_settings.host)
                 .arg(m_settings.port));
        return;
    case State::Closing:
        // No answer to the close: the session ends all the same.
        dropSocket();
        return;
    case State::Closed:
        return;
    case State::Ready:
        break;
    }
    if (!m_pduSequence)
        return;
    m_pduSequence.reset();
    finishWithTimeout();
    // A UDP peer that went away says nothing: ask whether the server is still there.
    if (m_settings.transport == Transport::Udp)
        sendKeepAlive();
}

void HartIpLink::sendKeepAlive()
{
    if (m_state != State::Ready || m_sessionSequence)
        return;
    m_sessionSequence = write(Id::KeepAlive, {});
    m_keepAliveTimer.start(m_settings.responseTimeoutMs);
}

void HartIpLink::keepAliveTimedOut()
{
    if (m_state == State::Ready && m_sessionSequence)
        fail(HartLinkTexts::text(HartLinkTexts::IpStoppedAnswering).arg(m_settings.host));
}

void HartIpLink::fail(const QString &reason)
{
    if (m_state == State::Closing) {
        // Gone after (or instead of) the close's answer: nothing was lost.
        dropSocket();
        return;
    }
    if (m_state == State::Closed)
        return;
    setErrorString(reason);
    shutDown();
}

void HartIpLink::shutDown()
{
    m_responseTimer.stop();
    m_idleTimer.stop();
    m_keepAliveTimer.stop();
    m_pduSequence.reset();
    dropSocket();
    loseRequests();
    Q_EMIT openChanged(false);
}

void HartIpLink::dropSocket()
{
    m_state = State::Closed;
    m_sessionSequence.reset();
    if (!m_socket)
        return;
    m_socket->disconnect(this);
    m_socket->abort();
    // The socket may be the sender of the signal being handled.
    m_socket.release()->deleteLater();
}
