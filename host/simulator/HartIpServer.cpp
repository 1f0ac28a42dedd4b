#include "simulator/HartIpServer.h"

#include "hart/HartProtocol.h"

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>
#include <algorithm>

using Id = HartIpMessage::Id;
using Type = HartIpMessage::Type;

struct HartIpServer::Session
{
    Reply reply;
    // Ends the connection; graceful lets what was written go out first.
    std::function<void(bool graceful)> close;
    std::unique_ptr<QTimer> inactivity;
    bool initiated = false;
    QByteArray buffer;
};

HartIpServer::HartIpServer(Responder responder, QObject *parent)
    : QObject(parent), m_responder(std::move(responder))
{
}

HartIpServer::~HartIpServer()
{
    stop();
}

bool HartIpServer::listenTcp(const QHostAddress &address, quint16 port, QString *error)
{
    m_tcp = std::make_unique<QTcpServer>();
    connect(m_tcp.get(), &QTcpServer::newConnection, this, &HartIpServer::acceptTcp);
    if (m_tcp->listen(address, port))
        return true;
    *error = m_tcp->errorString();
    m_tcp.reset();
    return false;
}

bool HartIpServer::listenUdp(const QHostAddress &address, quint16 port, QString *error)
{
    m_udp = std::make_unique<QUdpSocket>();
    connect(m_udp.get(), &QUdpSocket::readyRead, this, &HartIpServer::readUdp);
    if (m_udp->bind(address, port))
        return true;
    *error = m_udp->errorString();
    m_udp.reset();
    return false;
}

quint16 HartIpServer::tcpPort() const
{
    return m_tcp ? m_tcp->serverPort() : 0;
}

quint16 HartIpServer::udpPort() const
{
    return m_udp ? m_udp->localPort() : 0;
}

int HartIpServer::sessionCount() const
{
    return int(std::count_if(m_sessions.cbegin(), m_sessions.cend(),
                             [](const std::shared_ptr<Session> &s) { return s->initiated; }));
}

void HartIpServer::stop()
{
    for (const QString &key : m_sessions.keys()) {
        if (const std::shared_ptr<Session> s = m_sessions.take(key)) {
            s->inactivity->stop();
            s->close(false);
        }
    }
    m_tcp.reset();
    m_udp.reset();
    Q_EMIT sessionsChanged(0);
}

QByteArray HartIpServer::absentDeviceAnswer(const HartFrame &request)
{
    HartFrame reply = request;
    reply.setKind(HartFrame::Kind::Response);
    reply.setBurstMode(false);
    reply.setData({});
    reply.setStatus(hart::response::DelayedResponseDead, 0);
    // The network carries the frame from its delimiter on.
    return reply.encode(hart::MinPreambles).mid(hart::MinPreambles);
}

void HartIpServer::acceptTcp()
{
    while (QTcpSocket *socket = m_tcp->nextPendingConnection()) {
        const QString key = QStringLiteral("tcp:%1:%2")
                                .arg(socket->peerAddress().toString())
                                .arg(socket->peerPort());
        session(
            key, [socket](const QByteArray &bytes) { socket->write(bytes); },
            [socket](bool graceful) {
                socket->disconnect();
                if (!graceful) {
                    socket->abort();
                    socket->deleteLater();
                    return;
                }
                // The answer written last (a session close's) leaves before the FIN.
                connect(socket, &QAbstractSocket::disconnected, socket, &QObject::deleteLater);
                socket->disconnectFromHost();
                if (socket->state() == QAbstractSocket::UnconnectedState)
                    socket->deleteLater();
            });
        connect(socket, &QTcpSocket::readyRead, this,
                [this, socket, key] { readTcp(socket, key); });
        connect(socket, &QTcpSocket::disconnected, this, [this, key] { endSession(key); });
    }
}

void HartIpServer::readTcp(QTcpSocket *socket, const QString &key)
{
    auto it = m_sessions.find(key);
    if (it == m_sessions.end())
        return;
    std::shared_ptr<Session> s = *it;
    s->buffer += socket->readAll();
    HartIpMessage::ReadError error = HartIpMessage::ReadError::None;
    while (const auto message = HartIpMessage::take(s->buffer, &error)) {
        serve(key, *message);
        if (!m_sessions.contains(key))
            return;
    }
    // A stream that cannot be read any more cannot be found in again.
    if (error == HartIpMessage::ReadError::BadLength)
        endSession(key);
}

void HartIpServer::readUdp()
{
    while (m_udp && m_udp->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_udp->receiveDatagram();
        HartIpMessage::ReadError error;
        const auto message = HartIpMessage::decode(datagram.data(), &error);
        if (!message)
            continue;
        const QHostAddress peer = datagram.senderAddress();
        const quint16 port = quint16(datagram.senderPort());
        const QString key = QStringLiteral("udp:%1:%2").arg(peer.toString()).arg(port);
        if (!m_sessions.contains(key)) {
            if (message->id() != Id::SessionInitiate) {
                // No session to speak in: say so, unless it was a close.
                if (message->id() != Id::SessionClose && message->type() == Type::Request)
                    m_udp->writeDatagram(HartIpMessage(Type::Nak, message->id(),
                                                       message->sequence(), {},
                                                       HartIpMessage::InvalidSelection)
                                             .encode(),
                                         peer, port);
                continue;
            }
            QUdpSocket *udp = m_udp.get();
            session(
                key,
                [udp, peer, port](const QByteArray &bytes) {
                    udp->writeDatagram(bytes, peer, port);
                },
                [](bool) {});
        }
        serve(key, *message);
        // An initiate refused leaves no session behind.
        if (const auto s = m_sessions.value(key); s && !s->initiated)
            endSession(key);
    }
}

HartIpServer::Session &HartIpServer::session(const QString &key, Reply reply,
                                             std::function<void(bool)> close)
{
    auto s = std::make_shared<Session>();
    s->reply = std::move(reply);
    s->close = std::move(close);
    s->inactivity = std::make_unique<QTimer>();
    s->inactivity->setSingleShot(true);
    // Until the session is initiated, a connection that says nothing goes soon.
    s->inactivity->start(int(MaxInactivityMs / 60));
    connect(s->inactivity.get(), &QTimer::timeout, this, [this, key] { endSession(key); });
    m_sessions.insert(key, s);
    return *s;
}

void HartIpServer::serve(const QString &key, const HartIpMessage &message)
{
    std::shared_ptr<Session> s = m_sessions.value(key);
    if (!s || message.type() != Type::Request)
        return;
    bool closeAfter = false;
    const std::optional<HartIpMessage> reply = answer(*s, message, &closeAfter);
    if (reply)
        s->reply(reply->encode());
    if (closeAfter)
        endSession(key);
}

std::optional<HartIpMessage> HartIpServer::answer(Session &s, const HartIpMessage &message,
                                                  bool *closeAfter)
{
    if (message.version() != HartIpMessage::Version) {
        // Answered in our own version, so that the client learns which one we speak.
        if (message.id() == Id::SessionInitiate)
            return HartIpMessage(Type::Response, Id::SessionInitiate, message.sequence(),
                                 message.body(), HartIpMessage::VersionNotSupported);
        return HartIpMessage(Type::Nak, message.id(), message.sequence(), {},
                             HartIpMessage::VersionNotSupported);
    }
    if (message.id() == Id::SessionInitiate)
        return initiate(s, message, closeAfter);
    if (!s.initiated)
        return HartIpMessage(Type::Nak, message.id(), message.sequence(), {},
                             HartIpMessage::InvalidSelection);
    s.inactivity->start();
    switch (message.id()) {
    case Id::KeepAlive:
        return HartIpMessage(Type::Response, Id::KeepAlive, message.sequence());
    case Id::SessionClose:
        *closeAfter = true;
        return HartIpMessage(Type::Response, Id::SessionClose, message.sequence());
    case Id::TokenPassingPdu:
        return passToken(message);
    default:
        return HartIpMessage(Type::Nak, message.id(), message.sequence(), {},
                             HartIpMessage::InvalidSelection);
    }
}

HartIpMessage HartIpServer::initiate(Session &s, const HartIpMessage &message, bool *closeAfter)
{
    const auto refuse = [&message](quint8 status) {
        return HartIpMessage(Type::Response, Id::SessionInitiate, message.sequence(),
                             message.body(), status);
    };
    if (s.initiated)
        return refuse(HartIpMessage::SessionAlreadyOpen);
    const std::optional<quint32> requested = HartIpMessage::inactivityCloseTime(message.body());
    if (!requested)
        return refuse(HartIpMessage::TooFewDataBytes);
    if (quint8(message.body()[0]) != 1)
        return refuse(HartIpMessage::InvalidSelection);
    if (sessionCount() >= m_maxSessions) {
        *closeAfter = true;
        return refuse(HartIpMessage::AllSessionsInUse);
    }
    const quint32 granted = qBound(MinInactivityMs, *requested, MaxInactivityMs);
    s.initiated = true;
    s.inactivity->start(int(granted));
    Q_EMIT sessionsChanged(sessionCount());
    return HartIpMessage(Type::Response, Id::SessionInitiate, message.sequence(),
                         HartIpMessage::sessionBody(granted),
                         granted == *requested ? HartIpMessage::Success
                                               : HartIpMessage::SetToNearest);
}

std::optional<HartIpMessage> HartIpServer::passToken(const HartIpMessage &message)
{
    const HartFrame::Decoded decoded = HartFrame::decodeBody(message.body());
    if (decoded.ok())
        Q_EMIT requestServed(decoded.frame->command());
    if (decoded.ok() && decoded.frame->kind() == HartFrame::Kind::Request && m_presence &&
        !m_presence(*decoded.frame))
        return HartIpMessage(Type::Response, Id::TokenPassingPdu, message.sequence(),
                             absentDeviceAnswer(*decoded.frame));
    // The loop needs the preambles the network leaves out.
    const QByteArray wire =
        QByteArray(hart::DefaultPreambles, char(hart::Preamble)) + message.body();
    const std::optional<QByteArray> response = m_responder(wire);
    if (!response)
        return std::nullopt;
    qsizetype start = 0;
    while (start < response->size() && quint8(response->at(start)) == hart::Preamble)
        ++start;
    return HartIpMessage(Type::Response, Id::TokenPassingPdu, message.sequence(),
                         response->mid(start));
}

void HartIpServer::endSession(const QString &key)
{
    const std::shared_ptr<Session> s = m_sessions.take(key);
    if (!s)
        return;
    s->inactivity->stop();
    s->close(true);
    if (s->initiated)
        Q_EMIT sessionsChanged(sessionCount());
}
