#include "HartsimProcess.h"
#include "TestRegistry.h"

#include <QElapsedTimer>
#include <QNetworkDatagram>
#include <QTcpSocket>
#include <QTest>
#include <QUdpSocket>

namespace {

QByteArray hex(const char *bytes)
{
    return QByteArray::fromHex(bytes);
}

// The published layouts, written out: version, message type, message id,
// status, sequence number, byte count; then the body.
const char *const InitiateV1 = "01 00 00 00 0001 000d 01 0000ea60";
const char *const InitiateV1Granted = "01 01 00 00 0001 000d 01 0000ea60";
const char *const InitiateV2 = "02 00 00 00 0007 000d 01 0000ea60";
// Version 1 answers: protocol version not supported (14), the body as sent.
const char *const InitiateV2Refused = "01 01 00 0e 0007 000d 01 0000ea60";

// hartsim over TCP as a HART-IP client library sees it: a socket, bytes in,
// bytes out, and when the connection ends.
class RawClient : public QObject
{
public:
    explicit RawClient(quint16 port)
    {
        connect(&m_socket, &QTcpSocket::readyRead, this, [this] { m_read += m_socket.readAll(); });
        connect(&m_socket, &QTcpSocket::disconnected, this, [this] {
            m_readAtEnd = m_read;
            m_ended = true;
        });
        m_socket.connectToHost(QHostAddress::LocalHost, port);
    }
    ~RawClient() override { m_socket.disconnect(this); }
    bool connected() { return m_socket.waitForConnected(5000); }
    // The answer of `size` bytes to the request, or what came before giving up.
    QByteArray exchange(const QByteArray &request, qsizetype size)
    {
        m_read.clear();
        m_socket.write(request);
        (void)QTest::qWaitFor([this, size] { return m_read.size() >= size; }, 5000);
        return m_read;
    }
    bool ended() const { return m_ended; }
    // What had arrived when the server's FIN did.
    QByteArray readAtEnd() const { return m_readAtEnd; }

private:
    QTcpSocket m_socket;
    QByteArray m_read;
    QByteArray m_readAtEnd;
    bool m_ended = false;
};

} // namespace

// hartsim's HART-IP server against byte strings from the published layouts.
class TstHartsimServer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aSessionOverTcp()
    {
        HartsimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        RawClient client(sim.tcpPort());
        QVERIFY(client.connected());
        QCOMPARE(client.exchange(hex(InitiateV1), 13), hex(InitiateV1Granted));

        // Command 0 at polling address 0: the transmitter's identity.
        const QByteArray identity = client.exchange(hex("01 00 03 00 0002 000d 0280000082"), 27);
        QCOMPARE(identity.first(12), hex("01 01 03 00 0002 001b 0680000e"));

        // Polling address 5, where nobody is: the gateway's answer, at once.
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(client.exchange(hex("01 00 03 00 0003 000d 0285000087"), 15),
                 hex("01 01 03 00 0003 000f 06 85 00 02 23 00 a2"));
        QVERIFY2(clock.elapsed() < 50, qPrintable(QString::number(clock.elapsed())));
        // A unique id nobody has.
        QCOMPARE(client.exchange(hex("01 00 03 00 0004 0011 82 bf00000001 01 00 3d"), 19),
                 hex("01 01 03 00 0004 0013 86 bf00000001 01 02 2300 18"));

        QCOMPARE(client.exchange(hex("01 00 02 00 0005 0008"), 8), hex("01 01 02 00 0005 0008"));
        // The close's answer comes before the connection ends.
        client.exchange(hex("01 00 01 00 0006 0008"), 8);
        QTRY_VERIFY(client.ended());
        QCOMPARE(client.readAtEnd(), hex("01 01 01 00 0006 0008"));
    }

    void anInitiateOfAnotherVersion_data()
    {
        QTest::addColumn<bool>("udp");
        QTest::newRow("tcp") << false;
        QTest::newRow("udp") << true;
    }
    void anInitiateOfAnotherVersion()
    {
        QFETCH(bool, udp);
        HartsimProcess sim;
        QVERIFY2(sim.start(), qPrintable(sim.output()));
        if (!udp) {
            RawClient client(sim.tcpPort());
            QVERIFY(client.connected());
            QCOMPARE(client.exchange(hex(InitiateV2), 13), hex(InitiateV2Refused));
            // The connection stays for an initiate of our version.
            QCOMPARE(client.exchange(hex(InitiateV1), 13), hex(InitiateV1Granted));
            return;
        }
        QUdpSocket socket;
        QVERIFY(socket.bind(QHostAddress::LocalHost, 0));
        socket.writeDatagram(hex(InitiateV2), QHostAddress::LocalHost, sim.udpPort());
        QTRY_VERIFY(socket.hasPendingDatagrams());
        QCOMPARE(socket.receiveDatagram().data(), hex(InitiateV2Refused));
    }
};

VEX_TEST(TstHartsimServer)
#include "tst_HartsimServer.moc"
