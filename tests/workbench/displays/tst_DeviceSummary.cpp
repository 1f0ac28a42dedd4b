#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "DeviceInstance.h"
#include "ResidentViews.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "WinColor.h"
#include "displays/DeviceSummaryDock.h"
#include "displays/ctlDeviceStatus.h"
#include "displays/ctlFixedDigitalDisplay.h"
#include "hart/HartCodec.h"
#include "hart/HartFrame.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QAction>
#include <QElapsedTimer>
#include <QLabel>
#include <QTest>

class TstDeviceSummary : public QObject
{
    Q_OBJECT

private:
    static DeviceSummaryDock *dockOf(const MainWindowRig &rig)
    {
        return rig.form().findChild<DeviceSummaryDock *>();
    }

private Q_SLOTS:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        registerResidentViews();
        registerWorkbenchViews();
    }

    void healthFromTheDeviceStatus_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("multidrop");
        QTest::addColumn<int>("health");
        using H = ctlDeviceStatus::Health;
        QTest::newRow("nothing set") << 0x00 << false << int(H::Good);
        QTest::newRow("configuration changed, cold start") << 0x60 << false << int(H::Good);
        QTest::newRow("more status available") << 0x10 << false << int(H::Maintenance);
        QTest::newRow("output saturated") << 0x04 << false << int(H::Maintenance);
        QTest::newRow("output fixed") << 0x08 << false << int(H::Maintenance);
        QTest::newRow("output fixed at a multidrop address") << 0x08 << true << int(H::Good);
        QTest::newRow("saturated at a multidrop address") << 0x0C << true << int(H::Maintenance);
        QTest::newRow("malfunction wins") << 0x81 << false << int(H::Failure);
    }
    void healthFromTheDeviceStatus()
    {
        QFETCH(int, status);
        QFETCH(bool, multidrop);
        QTEST(int(ctlDeviceStatus::healthOf(quint8(status), multidrop)), "health");
    }

    // Live values within one update interval of connecting; without a device
    // nothing live, the dataset's values under a heading that says so.
    void liveAndStale()
    {
        constexpr int IntervalMs = 300;
        MainWindowRig rig;
        rig.instance().manager()->updateScheduler().setUnitMilliseconds(IntervalMs);
        rig.device.setNoiseLevel(0);
        rig.device.setAppliedPressure(150);
        DeviceSummaryDock *dock = dockOf(rig);
        QVERIFY(dock && dock->isVisible());
        QVERIFY(dock->isStale() && !dock->showsLiveValues());
        QCOMPARE(dock->lineText("heading"), "No device connected: the values of the dataset.");
        QCOMPARE(dock->lineText("status"), "\u25cf Not connected");
        QCOMPARE(dock->lineText("dataset"), "No device to compare with");

        QVERIFY(rig.connect());
        QElapsedTimer since;
        since.start();
        const QString current =
            QLocale().toString(float(rig.device.loopCurrent()), 'f', 2) + QStringLiteral(" mA");
        QTRY_VERIFY_WITH_TIMEOUT(dock->display(1)->lblValue()->text().endsWith(current),
                                 IntervalMs + 500);
        QVERIFY(since.elapsed() <= IntervalMs + 200);
        QVERIFY(!dock->isStale() && dock->showsLiveValues());
        QCOMPARE(dock->lineText("heading"), "Read from the device at polling address 0.");
        QCOMPARE(dock->display(1)->textColour(), WinColor::Green);
        QCOMPARE(dock->lineText("tag"), "PT-1");
        QCOMPARE(dock->lineText("type"), "TARVIK");
        QVERIFY(dock->lineText("range").endsWith(" mbar"));
        QVERIFY(dock->lineText("revisions").contains("SW 1.5.2"));
        QTRY_COMPARE(dock->deviceStatus()->health(), ctlDeviceStatus::Health::Good);
        // The device's value in the device's unit, whatever unit the dataset holds.
        QVERIFY(dock->display(0)->lblValue()->text().endsWith(" mbar"));
        rig.set("primaryValueUnit", "7");
        rig.device.setAppliedPressure(160); // a value read after the change
        QTRY_VERIFY(dock->display(0)->lblValue()->text().contains("160"));
        QVERIFY2(dock->display(0)->lblValue()->text().endsWith(" mbar"),
                 qPrintable(dock->display(0)->lblValue()->text()));

        // Beyond the sensor's end the device fails.
        rig.device.setAppliedPressure(1e6);
        QTRY_COMPARE(dock->deviceStatus()->health(), ctlDeviceStatus::Health::Failure);
        QVERIFY(dock->lineText("status").endsWith("Failure"));

        rig.form().runMenuCommand("mnuDeviceDisconnect");
        QTRY_VERIFY(dock->isStale());
        QVERIFY(!dock->showsLiveValues());
        QCOMPARE(dock->lineText("dataset"), "No device to compare with");
    }

    // Connected to another transmitter, the summary, the caption and the
    // identification show that device's values, and whether the dataset
    // matches it is worked out from what it answered, never assumed.
    void followsTheDeviceConnected()
    {
        MainWindowRig rig;
        DeviceSummaryDock *dock = dockOf(rig);
        QVERIFY(rig.connect());
        QTRY_VERIFY(dock->lineText("range") != QStringLiteral("\u2026"));
        // Tag and range were read, the rest of the dataset not yet.
        const QString firstRange = dock->lineText("range");
        QVERIFY2(dock->lineText("dataset") ==
                         QStringLiteral("Not compared yet (Device > Compare with Dataset)") ||
                     dock->lineText("dataset").startsWith("Differs from the device"),
                 qPrintable(dock->lineText("dataset")));
        const quint32 firstId = rig.device.deviceId();
        rig.form().runMenuCommand("mnuDeviceDisconnect");
        QTRY_VERIFY(dock->isStale());

        // Another transmitter where the first one was: its own id, tag and a range
        // of 0 ... 350 mbar (command 35, unit 8 = mbar, upper 350.0 then lower 0.0).
        rig.device.setLoopPosition(0, 77);
        QVERIFY(rig.device.deviceId() != firstId);
        const auto send = [&rig](quint8 command, const QByteArray &data) {
            const auto answer = rig.device.respond(
                HartFrame::longFrame(HartFrame::Kind::Request, rig.device.manufacturerId(),
                                     rig.device.deviceType(), rig.device.deviceId(), command, data)
                    .encode());
            QVERIFY(answer && HartFrame::decode(*answer).ok());
            QCOMPARE(HartFrame::decode(*answer).frame->responseCode(), 0);
        };
        send(35, QByteArray::fromHex("0843af000000000000"));
        send(18, HartCodec::packAscii("PT-3", 6) + HartCodec::packAscii("LINE 3", 12) +
                     QByteArray::fromHex("010176"));
        rig.set("scaleInHiLim", "400");

        QVERIFY(rig.connect());
        QTRY_COMPARE(dock->lineText("range"), "0.0 \u2026 350.0 mbar");
        QVERIFY(dock->lineText("range") != firstRange);
        QCOMPARE(dock->lineText("tag"), "PT-3");
        QTRY_COMPARE(rig.form().windowTitle(), "PT-3: LINE 3");
        QVERIFY(dock->lineText("dataset").startsWith("Differs from the device: "));
        QVERIFY(dock->lineText("dataset").contains("Upper range value"));
        // One identity: the dataset names the device it is connected to.
        QCOMPARE(rig.text("_deviceIdNumberHART"), QString::number(rig.device.deviceId()));

        // Dataset and device alike in what was read: still only compared in part.
        rig.set("scaleInHiLim", "350");
        rig.set("&&private_PM&&TagName", "PT-3");
        rig.set("&&private_PM&&Descriptor", "LINE 3");
        dock->deviceStatus()->checkDataset();
        QTRY_VERIFY(!dock->lineText("dataset").contains("Upper range value"));
    }

    // View switches it; the choice is kept for the next time.
    void switchedFromTheViewMenu()
    {
        {
            MainWindowRig rig;
            QAction *entry = rig.form().menuEntry("mnuViewDeviceSummary");
            QVERIFY(entry && entry->isVisible() && entry->isEnabled() && entry->isChecked());
            rig.form().runMenuCommand("mnuViewDeviceSummary");
            QVERIFY(dockOf(rig)->isHidden());
            QVERIFY(!entry->isChecked());
        }
        {
            MainWindowRig rig;
            QVERIFY(dockOf(rig)->isHidden());
            QVERIFY(!rig.form().menuEntry("mnuViewDeviceSummary")->isChecked());
            rig.form().runMenuCommand("mnuViewDeviceSummary");
            QVERIFY(dockOf(rig)->isVisible());
        }
        MainWindowRig rig;
        QVERIFY(dockOf(rig)->isVisible());
    }
};

VEX_TEST(TstDeviceSummary)
#include "tst_DeviceSummary.moc"
