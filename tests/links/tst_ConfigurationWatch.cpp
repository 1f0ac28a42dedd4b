#include "HostOnLink.h"
#include "OtherMaster.h"
#include "TestRegistry.h"

#include "ConfigurationWatch.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QTest>

// Another master (a handheld) changes the transmitter while the program is
// connected: the program reads its configuration again and says so; its own
// writes only clear the device's "configuration changed" bit.
class TstConfigurationWatch : public QObject
{
    Q_OBJECT

    struct Bench
    {
        SimulatedTransmitter device;
        InProcessHartLink line{&device};
        HostOnLink host{&line};
        OtherMaster handheld{&device};

        Bench()
        {
            line.setBitRate(0);
            host.instance().watchConfiguration();
        }
        int index(const char *item) { return store().indexOf(QLatin1String(item)); }
        ItemStore &store() { return host.instance().manager()->store(); }
        // What the displays do every second: read the pressure.
        void periodicRead() { host.instance().engine().readItems({index("primaryValue")}); }
    };

private Q_SLOTS:
    void aChangeElsewhereIsReadAgainOwnWritesAreNot()
    {
        Bench bench;
        QVERIFY(bench.host.connect());
        QVERIFY(bench.host.run(QStringLiteral("ReadDeviceDataset")));
        const QString datasetUpper = bench.host.dataset("scaleInHiLim");
        QCOMPARE(bench.handheld.send(38, {}), 0); // the handheld starts from a clear bit

        // Command 35 as a handheld sends it: unit 8 (mbar), upper 300.0,
        // lower 0.0, IEEE 754 big-endian.
        QCOMPARE(bench.handheld.send(35, QByteArray::fromHex("08"
                                                             "43960000"
                                                             "00000000")),
                 0);
        QVERIFY(bench.device.model().configurationChanged());
        bench.periodicRead();
        QTRY_COMPARE(bench.host.shadow(ConfigurationWatch::CountItem), QStringLiteral("1"));
        QTRY_COMPARE(bench.host.shadow("scaleInHiLim"), QStringLiteral("300"));
        QCOMPARE(bench.host.shadow("primaryValueUnit"), QStringLiteral("8"));
        QTRY_VERIFY(!bench.device.model().configurationChanged());
        // The user's dataset is theirs until they load the device's.
        QCOMPARE(bench.host.dataset("scaleInHiLim"), datasetUpper);

        // The program's own write raises the bit too: cleared without a word.
        bench.host.setDataset("filterTime", QStringLiteral("2"));
        QVERIFY(bench.host.run(QStringLiteral("DOWNLOAD")));
        bench.periodicRead();
        QTRY_VERIFY(!bench.device.model().configurationChanged());
        bench.periodicRead();
        QTRY_VERIFY(!bench.host.instance().engine().reader().isBusy());
        QCOMPARE(bench.host.shadow(ConfigurationWatch::CountItem), QStringLiteral("1"));

        // The next change elsewhere is seen again.
        QCOMPARE(bench.handheld.send(34, QByteArray::fromHex("40A00000")), 0); // damping 5.0 s
        bench.periodicRead();
        QTRY_COMPARE(bench.host.shadow(ConfigurationWatch::CountItem), QStringLiteral("2"));
        QTRY_COMPARE(bench.host.shadow("filterTime"), QStringLiteral("5"));
    }
};

VEX_TEST(TstConfigurationWatch)
#include "tst_ConfigurationWatch.moc"
