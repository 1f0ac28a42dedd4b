#include "HartsimProcess.h"
#include "HostOnLink.h"
#include "PtyPair.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "SequenceEngine.h"
#include "hart/SerialHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

// The host over a serial HART link to hartsim as a serial slave, through a
// pseudo-terminal pair that socat makes.
class TstSerialHartLink : public QObject
{
    Q_OBJECT

    struct Bench
    {
        QTemporaryDir dir;
        PtyPair pty;
        HartsimProcess sim;
        std::unique_ptr<SerialHartLink> link;
        std::unique_ptr<HostOnLink> host;

        bool start(const QStringList &simArguments = {})
        {
            if (!pty.start(dir.filePath(QStringLiteral("modem")),
                           dir.filePath(QStringLiteral("device"))) ||
                !sim.startSerial(pty.deviceEnd(), simArguments))
                return false;
            SerialHartLink::Settings s;
            s.portName = pty.hostEnd();
            link = std::make_unique<SerialHartLink>(s);
            host = std::make_unique<HostOnLink>(link.get());
            return true;
        }
    };

private Q_SLOTS:
    void initTestCase()
    {
        if (!PtyPair::available())
            QFAIL(PtyPair::missing());
    }

    void aSessionOverThePty()
    {
        Bench bench;
        QVERIFY2(bench.start(), qPrintable(bench.sim.output()));
        HostOnLink &host = *bench.host;
        QVERIFY(host.connect());
        QVERIFY(host.run(QStringLiteral("UPLOAD")));
        QCOMPARE(host.shadow("_deviceIdNumberHART"),
                 QString::number(SimulatedTransmitter().deviceId()));
        host.setDataset("filterTime", QStringLiteral("2.5"));
        QVERIFY(host.run(QStringLiteral("DOWNLOAD")));
        QVERIFY(host.run(QStringLiteral("UPLOAD")));
        QCOMPARE(host.shadow("filterTime"), QStringLiteral("2.5"));
        host.instance().connection().disconnectDevice();
        QVERIFY(!bench.link->isOpen());
    }

    // A fault for a while is tried again; a lasting one ends as the host's outcome.
    void faults_data()
    {
        QTest::addColumn<QString>("fault");
        QTest::addColumn<bool>("completes");
        QTest::addColumn<QString>("outcome");
        QTest::newRow("one lost answer, retried") << "noanswer 1" << true << "";
        QTest::newRow("one garbled byte, retried") << "garble 1" << true << "";
        QTest::newRow("no answer") << "noanswer -1" << false << "timeout";
        QTest::newRow("garbled byte") << "garble -1" << false << "comm";
        QTest::newRow("wrong checksum") << "checksum 100" << false << "comm";
        QTest::newRow("busy") << "busy 100" << false << "busy";
    }
    void faults()
    {
        QFETCH(QString, fault);
        QFETCH(bool, completes);
        QFETCH(QString, outcome);
        Bench bench;
        QVERIFY(bench.start());
        QVERIFY(bench.host->connect());
        QSignalSpy timeouts(bench.link.get(), &HartLink::requestTimedOut);
        QSignalSpy errors(bench.link.get(), &HartLink::communicationError);
        QSignalSpy responses(bench.link.get(), &HartLink::responseReceived);
        QCOMPARE(bench.sim.command(fault), QStringLiteral("ok"));
        QCOMPARE(bench.host->run(QStringLiteral("UPLOAD")), completes);
        QCOMPARE(bench.host->status(), ConnectionController::Connected);
        if (outcome == QLatin1String("timeout"))
            QCOMPARE(timeouts.size(), 1);
        else if (outcome == QLatin1String("comm"))
            QCOMPARE(errors.size(), 1);
        else if (outcome == QLatin1String("busy"))
            QCOMPARE(responses.last().at(1).value<HartFrame>().responseCode(), quint8(32));
        else
            QVERIFY(timeouts.isEmpty() && errors.isEmpty());
    }

    // The modem pulled out in the middle of an upload: the link ends at once.
    void portRemovedMidUpload()
    {
        Bench bench;
        QVERIFY(bench.start());
        QVERIFY(bench.host->connect());
        int answered = 0;
        QObject::connect(bench.link.get(), &HartLink::responseReceived, bench.link.get(), [&] {
            if (++answered == 2)
                bench.pty.remove();
        });
        QSignalSpy ended(&bench.host->instance().engine(), &SequenceEngine::sequenceEnded);
        QCOMPARE(bench.host->instance().engine().start(QStringLiteral("UPLOAD")), 0);
        QTRY_COMPARE_WITH_TIMEOUT(bench.host->status(), ConnectionController::NotConnected, 5000);
        QTRY_COMPARE(ended.size(), 1);
        QCOMPARE(ended.first().at(1).toBool(), false);
        QVERIFY(!bench.link->isOpen());
        QVERIFY2(bench.link->errorString().contains(QLatin1String("modem")),
                 qPrintable(bench.link->errorString()));
    }

    void aPortThatIsNotThere()
    {
        QTemporaryDir dir;
        SerialHartLink link({dir.filePath(QStringLiteral("ttyNone"))});
        HostOnLink host(&link);
        QSignalSpy failed(&host.instance().connection(), &ConnectionController::connectFailed);
        host.instance().connection().connectDevice();
        QTRY_COMPARE(failed.size(), 1);
        QVERIFY2(failed.first().first().toString().contains(QLatin1String("ttyNone")),
                 qPrintable(failed.first().first().toString()));
    }
};

VEX_TEST(TstSerialHartLink)
#include "tst_SerialHartLink.moc"
