#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <functional>

class QTcpServer;
class QTcpSocket;
class QUdpSocket;

// A HART-IP server written for a test, on 127.0.0.1: it answers each message
// with the bytes the test scripts and keeps every byte it read and wrote, as
// the wire carried them. Over TCP it ends the connection after answering a
// session close, as a server does.
class FakeHartIpPeer : public QObject
{
    Q_OBJECT

public:
    // The raw message read in, the raw answer out (empty: no answer).
    using Script = std::function<QByteArray(const QByteArray &message)>;

    explicit FakeHartIpPeer(Script script);
    ~FakeHartIpPeer() override;

    bool listen(bool udp);
    quint16 port() const { return m_port; }
    // Messages read with this message id (the third header byte).
    int received(quint8 messageId) const;
    // Over TCP, the streams; over UDP, the datagrams one after the other.
    QByteArray read() const { return m_read.join(); }
    QByteArray written() const { return m_written.join(); }
    QList<QByteArray> readPieces() const { return m_read; }
    QList<QByteArray> writtenPieces() const { return m_written; }

    // A HART-IP header as the published layout has it.
    static QByteArray header(quint8 type, quint8 id, quint8 status, quint16 sequence, int bodySize);

private:
    void acceptTcp();
    void readTcp();
    void readUdp();
    QByteArray answer(const QByteArray &message);

    Script m_script;
    QTcpServer *m_server = nullptr;
    QTcpSocket *m_connection = nullptr;
    QUdpSocket *m_udp = nullptr;
    QByteArray m_stream;
    quint16 m_port = 0;
    QList<QByteArray> m_read;
    QList<QByteArray> m_written;
};
