#include "DeviceBench.h"
#include "TestRegistry.h"
#include "hart/HartProtocol.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

using Kind = LinkProbe::Kind;

class tst_InProcessHartLink : public QObject
{
    Q_OBJECT

private slots:
    void wireTime_data()
    {
        QTest::addColumn<int>("bytes");
        QTest::addColumn<int>("bitRate");
        QTest::addColumn<int>("ms");
        QTest::newRow("command 0 request") << 10 << 1200 << 92; // 110 bits
        QTest::newRow("longest frame") << 284 << 1200 << 2604;
        QTest::newRow("no bytes") << 0 << 1200 << 0;
        QTest::newRow("speed zero") << 284 << 0 << 0;
    }
    void wireTime()
    {
        QFETCH(int, bytes);
        QFETCH(int, bitRate);
        QFETCH(int, ms);
        QCOMPARE(InProcessHartLink::wireTimeMs(bytes, bitRate), ms);
    }

    void deliversOnALaterTurnOfTheEventLoop()
    {
        DeviceBench bench;
        QSignalSpy responses(&bench.link, &HartLink::responseReceived);
        const auto id = bench.link.send(HartFrame::shortFrame(HartFrame::Kind::Request, 0, 0));
        QCOMPARE(responses.size(), 0);
        QVERIFY(responses.wait());
        QCOMPARE(responses.first().at(0).toULongLong(), id);
    }

    void takesTheWireTimeOfBothFrames()
    {
        DeviceBench bench;
        bench.link.setBitRate(1200);
        QElapsedTimer clock;
        clock.start();
        const LinkProbe::Outcome outcome =
            bench.send(HartFrame::shortFrame(HartFrame::Kind::Request, 0, 0));
        QCOMPARE(outcome.kind, Kind::Response);
        // 10 request bytes, the turnaround, 5 + 1 + 1 + 1 + 1 + 14 + 1 response bytes.
        const int expected = InProcessHartLink::wireTimeMs(10, 1200) +
                             InProcessHartLink::TurnaroundMs +
                             InProcessHartLink::wireTimeMs(24, 1200);
        QVERIFY2(clock.elapsed() >= expected, qPrintable(QString::number(clock.elapsed())));
    }

    void answersInTheOrderSent()
    {
        DeviceBench bench;
        QList<quint64> order;
        connect(&bench.link, &HartLink::responseReceived, this,
                [&order](quint64 id, const HartFrame &) { order << id; });
        const auto first = bench.link.send(bench.longRequest(1));
        const auto second = bench.link.send(bench.longRequest(2));
        const auto third = bench.link.send(bench.longRequest(3));
        QCOMPARE(bench.probe.waitFor(third).kind, Kind::Response);
        QCOMPARE(order, (QList<quint64>{first, second, third}));
        QCOMPARE(bench.probe.outcome(second).response.command(), quint8(2));
    }

    void outcomes_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("errorByte"); // of the link, or the device's first status byte
        QTest::newRow("answer") << "" << int(Kind::Response) << 0;
        QTest::newRow("no answer") << "silent" << int(Kind::Timeout) << 0;
        // The device's report that it could not read the request is a response.
        QTest::newRow("parity error at the device") << "parity" << int(Kind::Response) << 0xC0;
        QTest::newRow("overrun and framing") << "overrun+framing" << int(Kind::Response) << 0xB0;
        QTest::newRow("garbled response") << "garbled" << int(Kind::CommunicationError) << 0x88;
        QTest::newRow("line dropped") << "dropped" << int(Kind::ConnectionLost) << 0;
        QTest::newRow("link closed") << "closed" << int(Kind::ConnectionLost) << 0;
        QTest::newRow("other device's address") << "elsewhere" << int(Kind::Timeout) << 0;
        QTest::newRow("request that cannot be encoded")
            << "unencodable" << int(Kind::CommunicationError) << 0x81;
    }
    void outcomes()
    {
        QFETCH(QString, fault);
        QFETCH(int, kind);
        QFETCH(int, errorByte);
        DeviceBench bench;
        HartFrame request = bench.longRequest(1);
        if (fault == "silent")
            bench.device.injectNoAnswer(1);
        else if (fault == "parity")
            bench.device.injectCommunicationError(hart::commerror::Parity);
        else if (fault == "overrun+framing")
            bench.device.injectCommunicationError(hart::commerror::Overrun |
                                                  hart::commerror::Framing);
        else if (fault == "garbled")
            bench.device.injectCorruptResponse(1);
        else if (fault == "dropped")
            bench.device.dropConnection();
        else if (fault == "closed")
            bench.link.close();
        else if (fault == "elsewhere")
            request.setLongAddress(bench.device.manufacturerId(), bench.device.deviceType(),
                                   bench.device.deviceId() + 1);
        else if (fault == "unencodable")
            request = HartFrame::shortFrame(HartFrame::Kind::Request, 16, 0);

        const auto id = bench.link.send(request);
        const LinkProbe::Outcome outcome = bench.probe.waitFor(id);
        QCOMPARE(int(outcome.kind), kind);
        QCOMPARE(
            int(kind == int(Kind::Response) ? outcome.response.responseCode() : outcome.errorByte),
            errorByte);
        // Exactly one outcome, and the next request is served normally again.
        bench.device.restoreConnection();
        bench.link.open();
        QCOMPARE(bench.command(1).kind, Kind::Response);
        QCOMPARE(bench.probe.outcome(id).count, 1);
    }

    void lineDroppedWhileTheAnswerTravels()
    {
        DeviceBench bench;
        bench.link.setBitRate(1200);
        QSignalSpy open(&bench.link, &HartLink::openChanged);
        const auto inFlight = bench.link.send(bench.longRequest(1));
        const auto queued = bench.link.send(bench.longRequest(2));
        bench.device.dropConnection();
        QCOMPARE(bench.probe.waitFor(inFlight).kind, Kind::ConnectionLost);
        QCOMPARE(bench.probe.waitFor(queued).kind, Kind::ConnectionLost);
        QVERIFY(!bench.link.isOpen());
        QCOMPARE(open.size(), 1);
        QVERIFY(!bench.link.open());
        bench.device.restoreConnection();
        QVERIFY(bench.link.open());
        bench.link.setBitRate(0);
        QCOMPARE(bench.command(1).kind, Kind::Response);
        QCOMPARE(bench.probe.total(), 3);
    }

    void closeEndsEveryWaitingRequestOnce()
    {
        DeviceBench bench;
        QList<quint64> ids;
        for (int i = 0; i < 4; ++i)
            ids << bench.link.send(bench.longRequest(1));
        bench.link.close();
        for (const quint64 id : ids)
            QCOMPARE(bench.probe.waitFor(id).kind, Kind::ConnectionLost);
        QCOMPARE(bench.probe.total(), 4);
    }
};

VEX_TEST(tst_InProcessHartLink)
#include "tst_InProcessHartLink.moc"
