#include "FakeHartIpPeer.h"

#include <QNetworkDatagram>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUdpSocket>
#include <QtEndian>

namespace {
constexpr int HeaderSize = 8;
constexpr quint8 SessionClose = 1;
} // namespace

FakeHartIpPeer::FakeHartIpPeer(Script script) : m_script(std::move(script)) {}

FakeHartIpPeer::~FakeHartIpPeer() = default;

QByteArray FakeHartIpPeer::header(quint8 type, quint8 id, quint8 status, quint16 sequence,
                                  int bodySize)
{
    QByteArray h(HeaderSize, '\0');
    h[0] = 1; // version
    h[1] = char(type);
    h[2] = char(id);
    h[3] = char(status);
    qToBigEndian<quint16>(sequence, h.data() + 4);
    qToBigEndian<quint16>(quint16(HeaderSize + bodySize), h.data() + 6);
    return h;
}

bool FakeHartIpPeer::listen(bool udp)
{
    if (udp) {
        m_udp = new QUdpSocket(this);
        connect(m_udp, &QUdpSocket::readyRead, this, &FakeHartIpPeer::readUdp);
        if (!m_udp->bind(QHostAddress::LocalHost, 0))
            return false;
        m_port = m_udp->localPort();
        return true;
    }
    m_server = new QTcpServer(this);
    connect(m_server, &QTcpServer::newConnection, this, &FakeHartIpPeer::acceptTcp);
    if (!m_server->listen(QHostAddress::LocalHost, 0))
        return false;
    m_port = m_server->serverPort();
    return true;
}

int FakeHartIpPeer::received(quint8 messageId) const
{
    int count = 0;
    for (const QByteArray &message : m_read)
        count += message.size() >= HeaderSize && quint8(message[2]) == messageId;
    return count;
}

void FakeHartIpPeer::acceptTcp()
{
    m_connection = m_server->nextPendingConnection();
    connect(m_connection, &QTcpSocket::readyRead, this, &FakeHartIpPeer::readTcp);
}

void FakeHartIpPeer::readTcp()
{
    m_stream += m_connection->readAll();
    while (m_stream.size() >= HeaderSize) {
        const int length = qFromBigEndian<quint16>(m_stream.constData() + 6);
        if (length < HeaderSize || m_stream.size() < length)
            return;
        const QByteArray message = m_stream.first(length);
        m_stream.remove(0, length);
        m_read << message;
        const QByteArray reply = answer(message);
        if (!reply.isEmpty()) {
            m_connection->write(reply);
            m_written << reply;
        }
        if (quint8(message[2]) == SessionClose) {
            m_connection->disconnectFromHost();
            return;
        }
    }
}

void FakeHartIpPeer::readUdp()
{
    while (m_udp->hasPendingDatagrams()) {
        const QNetworkDatagram datagram = m_udp->receiveDatagram();
        m_read << datagram.data();
        const QByteArray reply = answer(datagram.data());
        if (!reply.isEmpty()) {
            m_udp->writeDatagram(reply, datagram.senderAddress(), quint16(datagram.senderPort()));
            m_written << reply;
        }
    }
}

QByteArray FakeHartIpPeer::answer(const QByteArray &message)
{
    return m_script ? m_script(message) : QByteArray();
}
