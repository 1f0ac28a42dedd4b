#include "HartsimProcess.h"
#include "TestRegistry.h"

#include "hart/HartCodec.h"
#include "hart/HartDeviceScan.h"
#include "hart/HartIpLink.h"
#include "simulator/HartIpServer.h"
#include "simulator/SimulatedTransmitter.h"
#include "simulator/TransmitterLoop.h"

#include <QSet>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

Q_DECLARE_METATYPE(HartIpLink::Transport)

namespace {

HartIpLink::Settings quickLink(quint16 port, HartIpLink::Transport transport)
{
    HartIpLink::Settings s;
    s.port = port;
    s.transport = transport;
    // Thirteen silent addresses: the scan waits this long at each.
    s.responseTimeoutMs = 250;
    return s;
}

QList<int> addresses(const QList<HartDeviceScan::Device> &devices)
{
    QList<int> found;
    for (const HartDeviceScan::Device &d : devices)
        found << d.pollingAddress;
    return found;
}

QSet<QString> uniqueIds(const QList<HartDeviceScan::Device> &devices)
{
    QSet<QString> ids;
    for (const HartDeviceScan::Device &d : devices)
        ids.insert(d.uniqueId());
    return ids;
}

// As a handheld would: command 18 with the tag, descriptor and date.
void writeTag(SimulatedTransmitter &device, const QString &tag)
{
    const QByteArray data = HartCodec::packAscii(tag, 6) + HartCodec::packAscii(QString(), 12) +
                            HartCodec::fromDate(QDate(2024, 5, 1));
    const HartFrame request =
        HartFrame::longFrame(HartFrame::Kind::Request, device.manufacturerId(), device.deviceType(),
                             device.deviceId(), 18, data);
    QVERIFY(device.respond(request.encode()).has_value());
}

} // namespace

class TstDeviceScan : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void findsExactlyTheDevicesOnTheLoop_data()
    {
        QTest::addColumn<HartIpLink::Transport>("transport");
        QTest::newRow("tcp") << HartIpLink::Transport::Tcp;
        QTest::newRow("udp") << HartIpLink::Transport::Udp;
    }
    void findsExactlyTheDevicesOnTheLoop()
    {
        QFETCH(HartIpLink::Transport, transport);
        HartsimProcess sim;
        QVERIFY2(sim.start({QStringLiteral("--devices"), QStringLiteral("0,3,7")}),
                 qPrintable(sim.output()));
        const bool tcp = transport == HartIpLink::Transport::Tcp;
        HartIpLink link(quickLink(tcp ? sim.tcpPort() : sim.udpPort(), transport));
        HartDeviceScan scan(&link);
        QSignalSpy progress(&scan, &HartDeviceScan::progress);
        QSignalSpy finished(&scan, &HartDeviceScan::finished);

        QVERIFY2(scan.start(), qPrintable(scan.errorString()));
        QVERIFY(finished.wait(15000));
        QCOMPARE(finished.first().first().toBool(), true);
        const QList<HartDeviceScan::Device> devices = scan.devices();
        QCOMPARE(addresses(devices), (QList<int>{0, 3, 7}));
        // Each its own unique id, its tag read, the codes of this transmitter.
        const SimulatedTransmitter lone;
        QCOMPARE(devices[0].identity.deviceId, lone.deviceId());
        QCOMPARE(devices[1].identity.deviceId, lone.deviceId() + (3u << 8));
        QCOMPARE(devices[2].identity.deviceId, lone.deviceId() + (7u << 8));
        for (const HartDeviceScan::Device &d : devices) {
            QCOMPARE(d.identity.manufacturer, lone.manufacturerId());
            QCOMPARE(d.identity.deviceType, lone.deviceType());
            QCOMPARE(d.tag, HartCodec::unpackAscii(lone.model().settings().tag).trimmed());
        }
        QCOMPARE(uniqueIds(devices).size(), 3);
        // Counted up to all sixteen, and the link left as it was found.
        QCOMPARE(progress.last().at(0).toInt(), 16);
        QCOMPARE(progress.last().at(1).toInt(), 16);
        QVERIFY(!link.isOpen());
    }

    // A HART-IP gateway says at once that nobody is at an address: no
    // address of an empty loop waits for the time-out.
    void anEmptyHartIpLoopIsScannedAtOnce()
    {
        HartsimProcess sim;
        QVERIFY2(sim.start({QStringLiteral("--devices"), QString()}), qPrintable(sim.output()));
        HartIpLink::Settings s;
        s.port = sim.tcpPort();
        s.responseTimeoutMs = 10000;
        HartIpLink link(s);
        HartDeviceScan scan(&link);
        QSignalSpy finished(&scan, &HartDeviceScan::finished);
        QVERIFY(scan.start());
        QVERIFY(finished.wait(5000));
        QCOMPARE(finished.first().first().toBool(), true);
        QVERIFY(scan.devices().isEmpty());
    }

    void cancelStopsAtOnce()
    {
        HartsimProcess sim;
        QVERIFY2(sim.start({QStringLiteral("--devices"), QStringLiteral("0,3,7")}),
                 qPrintable(sim.output()));
        HartIpLink link(quickLink(sim.tcpPort(), HartIpLink::Transport::Tcp));
        QVERIFY(link.open());
        HartDeviceScan scan(&link);
        QSignalSpy finished(&scan, &HartDeviceScan::finished);
        int requests = 0;
        QObject::connect(&link, &HartIpLink::messageSent, &link,
                         [&requests](const HartIpMessage &m) {
                             requests += m.id() == HartIpMessage::Id::TokenPassingPdu;
                         });
        QObject::connect(&scan, &HartDeviceScan::deviceFound, &scan,
                         [&scan](const HartDeviceScan::Device &d) {
                             if (d.pollingAddress == 3)
                                 scan.cancel();
                         });
        QVERIFY(scan.start());
        QVERIFY(finished.wait(10000));
        QCOMPARE(finished.first().first().toBool(), false);
        QVERIFY(!scan.isRunning());
        QCOMPARE(addresses(scan.devices()), (QList<int>{0, 3}));
        // Nothing more goes out: the request out at the cancel ends, and
        // after it the link has nothing waiting. A link the scan found open
        // stays open.
        const int sent = requests;
        QTRY_VERIFY(link.isIdle());
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QVERIFY(link.isIdle());
        QCOMPARE(requests, sent);
        QCOMPARE(finished.size(), 1);
        QVERIFY(link.isOpen());
        // And it can run again.
        QVERIFY(scan.start());
        scan.cancel();
        QCOMPARE(finished.size(), 2);
    }

    // With a tag, command 11 finds the device, then its polling address.
    void findsByTag()
    {
        TransmitterLoop loop;
        for (quint8 address : {0, 3, 7})
            loop.add(address);
        writeTag(*loop.device(3), QStringLiteral("PT-3"));
        writeTag(*loop.device(7), QStringLiteral("FT-7"));
        HartIpServer server([&loop](QByteArrayView r) { return loop.respond(r); });
        QString error;
        QVERIFY(server.listenTcp(QHostAddress::LocalHost, 0, &error));
        HartIpLink link(quickLink(server.tcpPort(), HartIpLink::Transport::Tcp));
        HartDeviceScan scan(&link);
        QSignalSpy finished(&scan, &HartDeviceScan::finished);

        QVERIFY(scan.start(QStringLiteral("pt-3")));
        QVERIFY(finished.wait(10000));
        QCOMPARE(scan.devices().size(), 1);
        QCOMPARE(scan.devices().first().pollingAddress, 3);
        QCOMPARE(scan.devices().first().tag, QStringLiteral("PT-3"));
        QCOMPARE(scan.devices().first().identity.deviceId, loop.device(3)->deviceId());

        // A tag nobody has: one question, no device, and done.
        const qint64 before = loop.requestCount();
        QVERIFY(scan.start(QStringLiteral("XX-9")));
        QVERIFY(finished.wait(5000));
        QVERIFY(finished.last().first().toBool());
        QVERIFY(scan.devices().isEmpty());
        QCOMPARE(loop.requestCount() - before, 1);

        // What cannot travel as a tag is refused before anything is sent.
        QVERIFY(!scan.start(QStringLiteral("TOO-LONG-9")));
        QVERIFY(!scan.start(QStringLiteral("pt~3")));
        QVERIFY(!scan.errorString().isEmpty());
        QCOMPARE(loop.requestCount() - before, 1);
    }

    void aLinkThatCannotOpenIsReported()
    {
        // A port on this machine that nothing listens on.
        quint16 port = 0;
        {
            QTcpServer closed;
            QVERIFY(closed.listen(QHostAddress::LocalHost, 0));
            port = closed.serverPort();
        }
        HartIpLink link(quickLink(port, HartIpLink::Transport::Tcp));
        HartDeviceScan scan(&link);
        QSignalSpy finished(&scan, &HartDeviceScan::finished);
        // Either refused at once or ended as a lost link: never a silent success.
        if (scan.start()) {
            QVERIFY(finished.wait(5000));
            QCOMPARE(finished.first().first().toBool(), false);
        }
        QVERIFY(!scan.errorString().isEmpty());
        QVERIFY(scan.devices().isEmpty());
    }
};

VEX_TEST(TstDeviceScan)

#include "tst_DeviceScan.moc"
