#include "simulator/HartIpServer.h"

#include "hart/HartProtocol.h"

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUdpSocket>

using Id = HartIpMessage::Id;
using Type = HartIpMessage::Type;

struct HartIpServer::Session
{
    Reply reply;
    std::function<void()> close;
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

void HartIpServer::stop()
{
    for (const QString &key : m_sessions.keys())
        endSession(key);
    m_tcp.reset();
    m_udp.reset();
}

void HartIpServer::acceptTcp()
{
    while (QTcpSocket *socket = m_tcp->nextPendingConnection()) {
        const QString key = QStringLiteral("tcp:%1:%2")
                                .arg(socket->peerAddress().toString())
                                .arg(socket->peerPort());
        if (m_sessions.size() >= m_maxSessions) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        session(
            key, [socket](const QByteArray &bytes) { socket->write(bytes); },
            [socket] {
                socket->disconnect();
                socket->disconnectFromHost();
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
    if (error == HartIpMessage::ReadError::BadVersion ||
        error == HartIpMessage::ReadError::BadLength)
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
            if (message->id() != Id::SessionInitiate || m_sessions.size() >= m_maxSessions) {
                // No session to speak in: say so, unless it was a close.
                if (message->id() != Id::SessionClose) {
                    const quint8 status = m_sessions.size() >= m_maxSessions
                                              ? HartIpMessage::AllSessionsInUse
                                              : HartIpMessage::InvalidSelection;
                    m_udp->writeDatagram(
                        HartIpMessage(Type::Nak, message->id(), message->sequence(), {}, status)
                            .encode(),
                        peer, port);
                }
                continue;
            }
            QUdpSocket *udp = m_udp.get();
            session(
                key,
                [udp, peer, port](const QByteArray &bytes) {
                    udp->writeDatagram(bytes, peer, port);
                },
                [] {});
        }
        serve(key, *message);
    }
}

HartIpServer::Session &HartIpServer::session(const QString &key, Reply reply,
                                             std::function<void()> close)
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
    Q_EMIT sessionsChanged(int(m_sessions.size()));
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
    if (message.id() == Id::SessionInitiate)
        return initiate(s, message);
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
    case Id::TokenPassingPdu: {
        bool silent = false;
        HartIpMessage reply = passToken(message, &silent);
        if (silent)
            return std::nullopt;
        return reply;
    }
    default:
        return HartIpMessage(Type::Nak, message.id(), message.sequence(), {},
                             HartIpMessage::InvalidSelection);
    }
}

HartIpMessage HartIpServer::initiate(Session &s, const HartIpMessage &message)
{
    if (s.initiated)
        return HartIpMessage(Type::Error, Id::SessionInitiate, message.sequence(), {},
                             HartIpMessage::SessionAlreadyOpen);
    const std::optional<quint32> requested = HartIpMessage::inactivityCloseTime(message.body());
    if (!requested)
        return HartIpMessage(Type::Error, Id::SessionInitiate, message.sequence(), {},
                             HartIpMessage::TooFewDataBytes);
    if (quint8(message.body()[0]) != 1)
        return HartIpMessage(Type::Error, Id::SessionInitiate, message.sequence(), {},
                             HartIpMessage::InvalidSelection);
    const quint32 granted = qBound(MinInactivityMs, *requested, MaxInactivityMs);
    s.initiated = true;
    s.inactivity->start(int(granted));
    return HartIpMessage(Type::Response, Id::SessionInitiate, message.sequence(),
                         HartIpMessage::sessionBody(granted),
                         granted == *requested ? HartIpMessage::Success
                                               : HartIpMessage::SetToNearest);
}

HartIpMessage HartIpServer::passToken(const HartIpMessage &message, bool *silent)
{
    // The loop needs the preambles the network leaves out.
    const QByteArray wire =
        QByteArray(hart::DefaultPreambles, char(hart::Preamble)) + message.body();
    const std::optional<QByteArray> response = m_responder(wire);
    if (message.body().size() > 3)
        Q_EMIT requestServed(quint8(message.body()[message.body()[0] & 0x80 ? 6 : 2]));
    if (!response) {
        *silent = true;
        return {};
    }
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
    s->close();
    Q_EMIT sessionsChanged(int(m_sessions.size()));
}
