#include "HartsimProcess.h"
#include "HostOnLink.h"
#include "TestHost.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"
#include "hart/HartIpLink.h"
#include "simulator/HartIpServer.h"
#include "simulator/SimulatedTransmitter.h"
#include "simulator/TransmitterLoop.h"

#include <QSignalSpy>
#include <QTest>

Q_DECLARE_METATYPE(HartIpLink::Transport)

namespace {

HartIpLink::Settings settingsFor(const HartsimProcess &sim, HartIpLink::Transport transport)
{
    HartIpLink::Settings s;
    s.transport = transport;
    s.port = transport == HartIpLink::Transport::Tcp ? sim.tcpPort() : sim.udpPort();
    s.responseTimeoutMs = 400;
    return s;
}

void addTransports()
{
    QTest::addColumn<HartIpLink::Transport>("transport");
    QTest::newRow("tcp") << HartIpLink::Transport::Tcp;
    QTest::newRow("udp") << HartIpLink::Transport::Udp;
}

} // namespace

class TstHartIpLink : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void aSessionWithHartsim_data() { addTransports(); }
    void aSessionWithHartsim()
    {
        QFETCH(HartIpLink::Transport, transport);
        HartsimProcess sim;
        QVERIFY2(sim.start({QStringLiteral("--control"), QStringLiteral("pressure 250")}),
                 qPrintable(sim.output()));
        HartIpLink link(settingsFor(sim, transport));
        QSignalSpy sent(&link, &HartIpLink::messageSent);
        HostOnLink host(&link);

        QVERIFY(host.connect());
        QVERIFY(host.run(QStringLiteral("UPLOAD")));
        QCOMPARE(host.shadow("_deviceIdNumberHART"),
                 QString::number(SimulatedTransmitter().deviceId()));

        // A value written by a download is what the device answers afterwards.
        host.setDataset("filterTime", QStringLiteral("4.5"));
        QVERIFY(host.run(QStringLiteral("DOWNLOAD")));
        host.setDataset("filterTime", QStringLiteral("1"));
        QVERIFY(host.run(QStringLiteral("UPLOAD")));
        QCOMPARE(host.shadow("filterTime"), QStringLiteral("4.5"));

        // A warm start takes the device away for a while; connecting again finds it.
        QVERIFY(host.run(QStringLiteral("PerformMasterReset")));
        QTRY_COMPARE(host.status(), ConnectionController::NotConnected);
        host.instance().connection().setIdentifyWindow(5000);
        QVERIFY(host.connect());
        QVERIFY(host.run(QStringLiteral("UPLOAD")));

        // Disconnecting ends the session with a close.
        host.instance().connection().disconnectDevice();
        QVERIFY(!link.isOpen());
        const auto ids = [&sent] {
            QList<HartIpMessage::Id> out;
            for (const QList<QVariant> &args : sent)
                out << args.first().value<HartIpMessage>().id();
            return out;
        }();
        QCOMPARE(ids.first(), HartIpMessage::Id::SessionInitiate);
        QCOMPARE(ids.last(), HartIpMessage::Id::SessionClose);
    }

    // Each fault of the device or the line ends the upload as the host's
    // outcome for it; cleared, the next upload completes on the same session.
    void faultsEndTheTransfer_data()
    {
        QTest::addColumn<HartIpLink::Transport>("transport");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("outcome");
        for (auto transport : {HartIpLink::Transport::Tcp, HartIpLink::Transport::Udp}) {
            const char *t = transport == HartIpLink::Transport::Tcp ? "tcp" : "udp";
            QTest::addRow("%s no answer", t) << transport << "noanswer -1"
                                             << "timeout";
            QTest::addRow("%s garbled byte", t) << transport << "garble -1"
                                                << "comm";
            QTest::addRow("%s wrong checksum", t) << transport << "checksum 100"
                                                  << "comm";
            QTest::addRow("%s busy", t) << transport << "busy 100"
                                        << "busy";
        }
    }
    void faultsEndTheTransfer()
    {
        QFETCH(HartIpLink::Transport, transport);
        QFETCH(QString, fault);
        QFETCH(QString, outcome);
        HartsimProcess sim;
        QVERIFY(sim.start());
        HartIpLink link(settingsFor(sim, transport));
        HostOnLink host(&link);
        QVERIFY(host.connect());
        QSignalSpy timeouts(&link, &HartLink::requestTimedOut);
        QSignalSpy errors(&link, &HartLink::communicationError);
        QSignalSpy responses(&link, &HartLink::responseReceived);

        QCOMPARE(sim.command(fault), QStringLiteral("ok"));
        QVERIFY(!host.run(QStringLiteral("UPLOAD")));
        QCOMPARE(host.status(), ConnectionController::Connected);
        if (outcome == QLatin1String("timeout"))
            QVERIFY(!timeouts.isEmpty());
        else if (outcome == QLatin1String("comm"))
            QVERIFY(!errors.isEmpty());
        else
            QCOMPARE(responses.last().at(1).value<HartFrame>().responseCode(), quint8(32));
        // Nothing of the failed transfer reached the dataset.
        QCOMPARE(host.dataset("&&private&&CurrentSource") == QLatin1String("2"), false);

        QCOMPARE(sim.command(QStringLiteral("clear")), QStringLiteral("ok"));
        QVERIFY(host.run(QStringLiteral("UPLOAD")));
    }

    void serverStoppedMidUpload_data() { addTransports(); }
    void serverStoppedMidUpload()
    {
        QFETCH(HartIpLink::Transport, transport);
        HartsimProcess sim;
        QVERIFY(sim.start());
        HartIpLink link(settingsFor(sim, transport));
        HostOnLink host(&link);
        QVERIFY(host.connect());
        host.setDataset("filterTime", QStringLiteral("7"));
        int answered = 0;
        QObject::connect(&link, &HartLink::responseReceived, &link, [&] {
            if (++answered == 3)
                sim.kill();
        });
        QSignalSpy ended(&host.instance().engine(), &SequenceEngine::sequenceEnded);
        QCOMPARE(host.instance().engine().start(QStringLiteral("UPLOAD")), 0);
        QTRY_COMPARE_WITH_TIMEOUT(host.status(), ConnectionController::NotConnected, 5000);
        QTRY_COMPARE(ended.size(), 1);
        QCOMPARE(ended.first().at(1).toBool(), false);
        QVERIFY(!link.isOpen());
        QVERIFY(!link.errorString().isEmpty());
        QCOMPARE(host.dataset("filterTime"), QStringLiteral("7"));
    }

    void aServerThatIsNotThereFailsTheConnect_data() { addTransports(); }
    void aServerThatIsNotThereFailsTheConnect()
    {
        QFETCH(HartIpLink::Transport, transport);
        // A port nobody listens on: taken from a server that is gone again.
        TransmitterLoop loop;
        loop.add(0);
        auto server =
            std::make_unique<HartIpServer>([&loop](QByteArrayView r) { return loop.respond(r); });
        QString error;
        QVERIFY(server->listenTcp(QHostAddress::LocalHost, 0, &error));
        QVERIFY(server->listenUdp(QHostAddress::LocalHost, server->tcpPort(), &error));
        HartIpLink::Settings s;
        s.transport = transport;
        s.port = server->tcpPort();
        s.responseTimeoutMs = 300;
        server.reset();

        HartIpLink link(s);
        HostOnLink host(&link);
        QSignalSpy failed(&host.instance().connection(), &ConnectionController::connectFailed);
        host.instance().connection().connectDevice();
        QVERIFY(failed.wait(5000));
        QCOMPARE(host.status(), ConnectionController::NotConnected);
        QVERIFY2(failed.first().first().toString().contains(QLatin1String("HART-IP")),
                 qPrintable(failed.first().first().toString()));
    }

    // Idle, the link keeps its session alive; a server without free sessions refuses.
    void keepAliveAndRefusedSession_data() { addTransports(); }
    void keepAliveAndRefusedSession()
    {
        QFETCH(HartIpLink::Transport, transport);
        TransmitterLoop loop;
        loop.add(0);
        HartIpServer server([&loop](QByteArrayView r) { return loop.respond(r); });
        server.setMaxSessions(1);
        QString error;
        QVERIFY(server.listenTcp(QHostAddress::LocalHost, 0, &error));
        QVERIFY(server.listenUdp(QHostAddress::LocalHost, 0, &error));
        HartIpLink::Settings s;
        s.transport = transport;
        s.port = transport == HartIpLink::Transport::Tcp ? server.tcpPort() : server.udpPort();
        s.inactivityCloseMs = 300;
        s.keepAliveMs = 60;

        HartIpLink first(s);
        QSignalSpy opened(&first, &HartIpLink::sessionOpened);
        QVERIFY(first.open());
        QVERIFY(opened.wait(2000));
        QCOMPARE(first.grantedInactivityCloseMs(), 300u);
        int keepAlives = 0;
        QObject::connect(&first, &HartIpLink::messageReceived, &first,
                         [&keepAlives](const HartIpMessage &m) {
                             keepAlives += m.id() == HartIpMessage::Id::KeepAlive;
                         });
        // Well past the inactivity time, the session is still there.
        QTRY_VERIFY_WITH_TIMEOUT(keepAlives >= 8, 3000);
        QVERIFY(first.isOpen());
        QCOMPARE(server.sessionCount(), 1);

        HartIpLink second(s);
        QSignalSpy closed(&second, &HartLink::openChanged);
        QVERIFY(second.open());
        QTRY_VERIFY(!second.isOpen());
        QVERIFY(!second.errorString().isEmpty());
        first.close();
        QTRY_COMPARE(server.sessionCount(), 0);
    }
};

VEX_TEST(TstHartIpLink)
#include "tst_HartIpLink.moc"
