#include "HartsimProcess.h"
#include "HostOnLink.h"
#include "LoggedHartLink.h"
#include "PtyPair.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "HostResult.h"
#include "ItemStore.h"
#include "SequenceEngine.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "hart/HartIpLink.h"
#include "hart/SerialHartLink.h"

#include <QTemporaryDir>
#include <QTest>

using Condition = ConnectionController::LinkCondition;

// The real host and hartsim with a device of another maker at address 0,
// over HART-IP and over the serial pty pair: the identity is checked first,
// the device is named, and it gets nothing of this family.
class TstForeignDevice : public QObject
{
    Q_OBJECT

    struct Bench
    {
        QTemporaryDir dir;
        PtyPair pty;
        HartsimProcess sim;
        QList<int> sent; // command numbers, as they went out
        std::unique_ptr<LoggedHartLink> link;
        std::unique_ptr<HostOnLink> host;

        bool start(const QString &transport, const QString &profile)
        {
            const QStringList device{QStringLiteral("--device"), QStringLiteral("0=") + profile};
            std::unique_ptr<HartLink> inner;
            if (transport == QLatin1String("serial")) {
                if (!pty.start(dir.filePath(QStringLiteral("modem")),
                               dir.filePath(QStringLiteral("device"))) ||
                    !sim.startSerial(pty.deviceEnd(), device))
                    return false;
                SerialHartLink::Settings s;
                s.portName = pty.hostEnd();
                inner = std::make_unique<SerialHartLink>(s);
            } else {
                if (!sim.start(device))
                    return false;
                HartIpLink::Settings s;
                s.host = QStringLiteral("127.0.0.1");
                s.port = sim.tcpPort();
                s.transport = HartIpLink::Transport::Tcp;
                inner = std::make_unique<HartIpLink>(s);
            }
            link = std::make_unique<LoggedHartLink>(std::move(inner), sent);
            host = std::make_unique<HostOnLink>(link.get());
            return true;
        }
        ConnectionController &connection() { return host->instance().connection(); }
    };

private Q_SLOTS:
    void nothingOfThisFamilyReachesIt_data()
    {
        QTest::addColumn<QString>("transport");
        QTest::addColumn<QString>("profile");
        QTest::addColumn<QStringList>("named");
        QTest::addColumn<QList<int>>("asked"); // at each connect
        const QList<int> hart7{0, 13, 20};
        const QList<int> hart5{0, 13};
        for (const char *transport : {"hart-ip", "serial"}) {
            QTest::addRow("%s HART 7 pressure", transport)
                << transport << "hart7-pressure"
                << QStringList{"Siemens (0x2A)", "0x2A71", "HART revision: 7", "2A-71-3A0100",
                               "Feed pump discharge pressure"}
                << hart7;
            QTest::addRow("%s HART 7 temperature", transport)
                << transport << "hart7-temperature"
                << QStringList{"Rosemount (0x26)", "0x26A4", "device revision: 2",
                               "Reactor 2 jacket outlet"}
                << hart7;
            QTest::addRow("%s HART 5 flow", transport)
                << transport << "hart5-flow"
                << QStringList{"Endress+Hauser (0x11)", "Device type: 0x5C", "HART revision: 5",
                               "11-5C-071500", "Tag: FT-301"}
                << hart5;
        }
    }
    void nothingOfThisFamilyReachesIt()
    {
        QFETCH(QString, transport);
        QFETCH(QString, profile);
        QFETCH(QStringList, named);
        QFETCH(QList<int>, asked);
        if (transport == QLatin1String("serial") && !PtyPair::available())
            QFAIL(PtyPair::missing());
        Bench bench;
        QVERIFY2(bench.start(transport, profile), qPrintable(bench.sim.output()));
        HostOnLink &host = *bench.host;
        QVERIFY(host.connect(10000));
        QCOMPARE(bench.connection().linkCondition(), Condition::ForeignDevice);
        QVERIFY(bench.connection().isForeignDevice());
        QCOMPARE(host.shadow("&&private&&ForeignDevice"), QStringLiteral("1"));
        const QString message = bench.connection().linkMessage();
        for (const QString &part : named)
            QVERIFY2(message.contains(part), qPrintable(part + QStringLiteral(" in ") + message));
        // Nothing of the description's identity was taken from it.
        const ItemStore &store = host.instance().manager()->store();
        QVERIFY(!store.fromDevice(store.indexOf(QStringLiteral("_mfrIdHART"))));
        QCOMPARE(host.dataset("_mfrIdHART"), QStringLiteral("60"));

        // What the program would send it: the device information, a
        // periodic read, a transfer; all refused before a frame goes out.
        SequenceEngine &engine = host.instance().engine();
        QCOMPARE(engine.start(QStringLiteral("GetDeviceInfo")), HostResult::NotConnected);
        QCOMPARE(engine.start(QStringLiteral("UPLOAD")), HostResult::NotConnected);
        engine.readItems({store.indexOf(QStringLiteral("primaryValue"))});
        QVERIFY(!host.instance().manager()->updateScheduler().connectedProbe()());

        // A second connect shows, by what came before it, that nothing else went out.
        bench.connection().disconnectDevice();
        QVERIFY(host.connect(10000));
        QCOMPARE(bench.sent, asked + asked);
    }
};

VEX_TEST(TstForeignDevice)
#include "tst_ForeignDevice.moc"
