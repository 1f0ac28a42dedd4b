#include "HartsimProcess.h"
#include "HostOnLink.h"
#include "ManualPauseTimer.h"
#include "PtyPair.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "HostTexts.h"
#include "ProgramTranslations.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "hart/LinkReconnector.h"
#include "hart/ProfiledHartLink.h"
#include "hart/SerialHartLink.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

using Condition = ConnectionController::LinkCondition;

// Bringing a lost link back: the pauses, the user's Disconnect, a modem that
// returns under another name, another transmitter in the lost one's place,
// and a lost link told apart from a silent device.
class TstLinkReconnect : public QObject
{
    Q_OBJECT

    // The host on the simulated transmitter in this process, its pauses
    // fired by the test.
    struct SimBench
    {
        SimulatedTransmitter device;
        ProfiledHartLink link{[this](const HartLinkProfile &, QString *) {
            auto l = std::make_unique<InProcessHartLink>(&device);
            l->setBitRate(0);
            l->setResponseTimeout(30);
            return l;
        }};
        LinkReconnector reconnector{link};
        ManualPauseTimer *timer = nullptr; // the reconnector's
        HostOnLink host{&link};

        SimBench()
        {
            auto t = std::make_unique<ManualPauseTimer>();
            timer = t.get();
            reconnector.setTimer(std::move(t));
            connection().setReconnector(&reconnector);
            connection().setIdentifyWindow(100);
        }
        ConnectionController &connection() { return host.instance().connection(); }
        // A request meets the line that went dead.
        void loseLink()
        {
            device.dropConnection();
            host.run(QStringLiteral("UPLOAD"));
        }
    };

    // hartsim as a serial slave behind a socat pair whose names a test picks.
    struct SerialBench
    {
        QTemporaryDir dir;
        std::unique_ptr<PtyPair> pty;
        std::unique_ptr<HartsimProcess> sim;
        ProfiledHartLink link{&ProfiledHartLink::standardLink};
        LinkReconnector reconnector{link};
        std::unique_ptr<HostOnLink> host;

        bool plugIn(const QString &name, const QStringList &simArguments = {})
        {
            pty = std::make_unique<PtyPair>();
            sim = std::make_unique<HartsimProcess>();
            return pty->start(dir.filePath(name), dir.filePath(QStringLiteral("device-") + name)) &&
                   sim->startSerial(pty->deviceEnd(), simArguments);
        }
        void unplug()
        {
            sim.reset();
            pty.reset();
        }
        bool start()
        {
            if (!plugIn(QStringLiteral("modem-a")))
                return false;
            HartLinkProfile profile;
            profile.kind = HartLinkProfile::Kind::Serial;
            profile.serialPort = pty->hostEnd();
            // Where the test's modems appear, as a user names the folder of
            // stable links to a modem.
            profile.searchPorts = {dir.filePath(QStringLiteral("modem-*"))};
            link.setProfile(profile);
            // Short pauses: the pty comes back at once.
            reconnector.setPolicy({50, 400});
            // Only what this test made: no port of the machine is asked.
            reconnector.setPortCandidates(
                [this] { return LinkReconnector::matchingPorts(link.profile().searchPorts); });
            host = std::make_unique<HostOnLink>(&link);
            host->instance().connection().setReconnector(&reconnector);
            return host->connect();
        }
        ConnectionController &connection() { return host->instance().connection(); }
    };

private Q_SLOTS:
    void pausesGrowToTheirCapUntilTheDeviceIsBack()
    {
        SimBench bench;
        QVERIFY(bench.host.connect());
        const auto device = bench.connection().sessionDevice();
        QVERIFY(device);
        bench.loseLink();
        QTRY_COMPARE(bench.host.status(), ConnectionController::Connecting);
        QCOMPARE(bench.connection().linkCondition(), Condition::Reconnecting);
        // Each attempt meets the device still gone.
        for (int i = 0; i < 6; ++i)
            QVERIFY(bench.timer->fire());
        QCOMPARE(bench.timer->pauses(), (QList<int>{1000, 2000, 4000, 8000, 16000, 30000, 30000}));
        QVERIFY2(bench.connection().linkMessage().contains(QLatin1String("attempt 7")),
                 qPrintable(bench.connection().linkMessage()));
        QCOMPARE(bench.host.status(), ConnectionController::Connecting);

        bench.device.restoreConnection();
        QVERIFY(bench.timer->fire());
        QTRY_COMPARE(bench.host.status(), ConnectionController::Connected);
        QCOMPARE(bench.connection().linkCondition(), Condition::Normal);
        QVERIFY(!bench.reconnector.isActive());
        QVERIFY(bench.connection().sessionDevice()->sameDevice(*device));
        QVERIFY(bench.host.run(QStringLiteral("UPLOAD")));
    }

    void disconnectCancelsTheReconnecting()
    {
        SimBench bench;
        QVERIFY(bench.host.connect());
        bench.loseLink();
        QTRY_COMPARE(bench.host.status(), ConnectionController::Connecting);
        QVERIFY(bench.timer->isRunning());
        // The user's Disconnect, as the menu sends it.
        QCOMPARE(bench.host.instance().connection().disconnectDevice(), 0);
        QCOMPARE(bench.host.status(), ConnectionController::NotConnected);
        QCOMPARE(bench.connection().linkCondition(), Condition::Normal);
        QVERIFY(!bench.reconnector.isActive());
        QVERIFY(!bench.timer->isRunning());
        // The device back does not bring the connection back by itself.
        bench.device.restoreConnection();
        QVERIFY(!bench.timer->fire());
        // Whatever the device's return queued has run.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::processEvents();
        QCOMPARE(bench.host.status(), ConnectionController::NotConnected);
    }

    // Disconnect while a read is on the line, Connect at once: the read is
    // lost with the old connection, and its loss must not end the new one's
    // command 0 (it once did: the connection fell back to "not connected").
    void aQuickReconnectOutlivesTheLostRead()
    {
        SimBench bench;
        QVERIFY(bench.host.connect());
        bench.link.send(HartFrame::shortFrame(HartFrame::Kind::Request, 0, 0));
        // The read goes out on the live link; its answer is not back yet.
        QCoreApplication::sendPostedEvents();
        QCoreApplication::sendPostedEvents();
        QVERIFY(!bench.link.live()->isIdle());
        QCOMPARE(bench.connection().disconnectDevice(), 0);
        QCOMPARE(bench.connection().connectDevice(), 0);
        // Command 0 goes out before the old read's loss comes back.
        QCoreApplication::sendPostedEvents();
        QTRY_COMPARE(bench.host.status(), ConnectionController::Connected);
        QCOMPARE(bench.connection().linkCondition(), Condition::Normal);
        QVERIFY(bench.host.run(QStringLiteral("UPLOAD")));
    }

    // The status bar and the message tell a link that is gone from a
    // device that does not answer.
    void lostAndSilentAreToldApart()
    {
        SimBench bench;
        QSignalSpy failed(&bench.connection(), &ConnectionController::connectFailed);
        // Nobody answers at connect.
        bench.device.injectNoAnswer(-1);
        bench.connection().connectDevice();
        QTRY_COMPARE(failed.size(), 1);
        QCOMPARE(bench.connection().linkCondition(), Condition::DeviceSilent);
        QCOMPARE(failed.first().first().toString(), HostTexts::text(HostTexts::NoDeviceAnswers));

        // Silent while connected: the connection stays, the condition says why
        // nothing comes, until the device answers again.
        bench.device.clearFaults();
        QVERIFY(bench.host.connect());
        QCOMPARE(bench.connection().linkCondition(), Condition::Normal);
        bench.device.injectNoAnswer(-1);
        QVERIFY(!bench.host.run(QStringLiteral("UPLOAD")));
        QCOMPARE(bench.host.status(), ConnectionController::Connected);
        QCOMPARE(bench.connection().linkCondition(), Condition::DeviceSilent);
        QCOMPARE(bench.connection().linkMessage(), HostTexts::text(HostTexts::DeviceSilent));
        QCOMPARE(bench.host.shadow("&&private&&LinkCondition"), QStringLiteral("1"));
        bench.device.clearFaults();
        QVERIFY(bench.host.run(QStringLiteral("UPLOAD")));
        QCOMPARE(bench.connection().linkCondition(), Condition::Normal);

        // Lost, with nobody to bring it back.
        bench.connection().setReconnector(nullptr);
        bench.loseLink();
        QTRY_COMPARE(bench.host.status(), ConnectionController::NotConnected);
        QCOMPARE(bench.connection().linkCondition(), Condition::LinkLost);
        QCOMPARE(bench.host.shadow("&&private&&LinkCondition"), QStringLiteral("2"));
        QVERIFY(!bench.connection().linkMessage().isEmpty());
        QVERIFY(bench.connection().linkMessage() != HostTexts::text(HostTexts::DeviceSilent));
        QCOMPARE(bench.host.shadow("&&private&&LinkMessage"), bench.connection().linkMessage());
    }

    // The modem unplugged and plugged in again comes back under another name.
    void aModemBackUnderAnotherNameIsFoundAgain()
    {
        if (!PtyPair::available())
            QFAIL(PtyPair::missing());
        SerialBench bench;
        QVERIFY(bench.start());
        const HartDeviceIdentity device = *bench.connection().sessionDevice();
        bench.unplug();
        QTRY_COMPARE_WITH_TIMEOUT(bench.connection().linkCondition(), Condition::Reconnecting,
                                  5000);
        QCOMPARE(bench.host->status(), ConnectionController::Connecting);
        QVERIFY(bench.connection().linkMessage().contains(QLatin1String("modem-a")));

        QVERIFY(bench.plugIn(QStringLiteral("modem-b")));
        QTRY_COMPARE_WITH_TIMEOUT(bench.host->status(), ConnectionController::Connected, 10000);
        QCOMPARE(bench.link.profile().serialPort, bench.dir.filePath(QStringLiteral("modem-b")));
        QVERIFY(bench.host->instance().connection().sessionDevice()->sameDevice(device));
        // Writing goes on: the same transmitter answers the check.
        ScriptedMessageBox box;
        bench.host->setDataset("filterTime", QStringLiteral("2.5"));
        QVERIFY(bench.host->run(QStringLiteral("DOWNLOAD")));
        QVERIFY(bench.host->run(QStringLiteral("UPLOAD")));
        QCOMPARE(bench.host->shadow("filterTime"), QStringLiteral("2.5"));
        QVERIFY(box.asked().isEmpty());
    }

    // Someone put another transmitter on the modem while the link was down:
    // it is named against the one expected and not taken; the user either
    // connects to it afresh or waits for the expected one.
    void anotherTransmitterIsNamedNotTaken_data()
    {
        QTest::addColumn<bool>("connectToIt");
        QTest::newRow("keep waiting") << false;
        QTest::newRow("connect to it") << true;
    }
    void anotherTransmitterIsNamedNotTaken()
    {
        QFETCH(bool, connectToIt);
        if (!PtyPair::available())
            QFAIL(PtyPair::missing());
        SerialBench bench;
        QVERIFY(bench.start());
        const HartDeviceIdentity device = *bench.connection().sessionDevice();
        bench.unplug();
        QTRY_COMPARE_WITH_TIMEOUT(bench.connection().linkCondition(), Condition::Reconnecting,
                                  5000);
        QVERIFY(bench.plugIn(QStringLiteral("modem-a"),
                             {QStringLiteral("--id-offset"), QStringLiteral("7")}));
        QTRY_COMPARE_WITH_TIMEOUT(bench.connection().linkCondition(), Condition::OtherDevice,
                                  10000);
        const QString text = bench.connection().linkMessage();
        HartDeviceIdentity other = device;
        other.deviceId += 7;
        QVERIFY2(text.contains(device.key()) && text.contains(other.key()), qPrintable(text));
        QVERIFY2(text.indexOf(other.key()) < text.indexOf(device.key()), qPrintable(text));
        // Not connected to it: nothing is read from it or written to it.
        QCOMPARE(bench.host->status(), ConnectionController::Connecting);
        QVERIFY(bench.reconnector.isActive());
        QVERIFY(!bench.host->run(QStringLiteral("UPLOAD")));

        if (connectToIt) {
            // A fresh connect, which takes whoever answers as its device.
            bench.connection().disconnectDevice();
            QVERIFY(bench.host->connect());
            QVERIFY(bench.connection().sessionDevice()->sameDevice(other));
            QCOMPARE(bench.connection().linkCondition(), Condition::Normal);
            QVERIFY(bench.host->run(QStringLiteral("UPLOAD")));
            return;
        }
        // Waiting goes on until the expected transmitter is back.
        bench.unplug();
        QVERIFY(bench.plugIn(QStringLiteral("modem-a")));
        QTRY_COMPARE_WITH_TIMEOUT(bench.host->status(), ConnectionController::Connected, 10000);
        QVERIFY(bench.connection().sessionDevice()->sameDevice(device));
        QCOMPARE(bench.connection().linkCondition(), Condition::Normal);
        QVERIFY(bench.host->run(QStringLiteral("UPLOAD")));
    }

    // A link's own message in the user's language.
    void linkMessagesInGerman()
    {
        const QLocale before;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        ProgramTranslations::install();
        QTemporaryDir dir;
        SerialHartLink link({dir.filePath(QStringLiteral("ttyNone"))});
        const bool opened = link.open();
        QLocale::setDefault(before);
        ProgramTranslations::install();
        QVERIFY(!opened);
        QVERIFY2(link.errorString().contains(QStringLiteral("lässt sich nicht öffnen")),
                 qPrintable(link.errorString()));
    }
};

VEX_TEST(TstLinkReconnect)
#include "tst_LinkReconnect.moc"
