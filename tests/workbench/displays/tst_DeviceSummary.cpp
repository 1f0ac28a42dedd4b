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
        QTest::addColumn<int>("health");
        using H = ctlDeviceStatus::Health;
        QTest::newRow("nothing set") << 0x00 << int(H::Good);
        QTest::newRow("configuration changed, cold start") << 0x60 << int(H::Good);
        QTest::newRow("more status available") << 0x10 << int(H::Maintenance);
        QTest::newRow("output saturated") << 0x04 << int(H::Maintenance);
        QTest::newRow("malfunction wins") << 0x81 << int(H::Failure);
    }
    void healthFromTheDeviceStatus()
    {
        QFETCH(int, status);
        QTEST(int(ctlDeviceStatus::healthOf(quint8(status))), "health");
    }

    // Live values within one update interval of connecting; grey and marked
    // stale when the connection goes, the values kept.
    void liveAndStale()
    {
        constexpr int IntervalMs = 300;
        MainWindowRig rig;
        rig.instance().manager()->updateScheduler().setUnitMilliseconds(IntervalMs);
        rig.device.setNoiseLevel(0);
        rig.device.setAppliedPressure(150);
        DeviceSummaryDock *dock = dockOf(rig);
        QVERIFY(dock && dock->isVisible());
        QVERIFY(dock->isStale());
        QCOMPARE(dock->display(1)->textColour(), WinColor::Grey);

        QVERIFY(rig.connect());
        QElapsedTimer since;
        since.start();
        const QString current =
            QLocale().toString(float(rig.device.loopCurrent()), 'f', 2) + QStringLiteral(" mA");
        QTRY_VERIFY_WITH_TIMEOUT(dock->display(1)->lblValue()->text().endsWith(current),
                                 IntervalMs + 500);
        QVERIFY(since.elapsed() <= IntervalMs + 200);
        QVERIFY(!dock->isStale());
        QCOMPARE(dock->display(1)->textColour(), WinColor::Green);
        QCOMPARE(dock->lineText("tag"), "PT-1");
        QCOMPARE(dock->lineText("type"), "TARVIK");
        QVERIFY(dock->lineText("range").endsWith(" mbar"));
        QVERIFY(dock->lineText("revisions").contains("SW 1.5.2"));
        QTRY_COMPARE(dock->deviceStatus()->health(), ctlDeviceStatus::Health::Good);
        QCOMPARE(dock->lineText("dataset"), "Matches the device");

        rig.set("scaleInHiLim", "350");
        dock->deviceStatus()->checkDataset();
        QCOMPARE(dock->lineText("dataset"), "Differs from the device");

        // Beyond the sensor's end the device fails.
        rig.device.setAppliedPressure(1e6);
        QTRY_COMPARE(dock->deviceStatus()->health(), ctlDeviceStatus::Health::Failure);
        QVERIFY(dock->lineText("status").endsWith("Failure"));

        const QString shown = dock->display(0)->lblValue()->text();
        rig.form().runMenuCommand("mnuDeviceDisconnect");
        QTRY_VERIFY(dock->isStale());
        for (int i = 0; i < 3; ++i)
            QCOMPARE(dock->display(i)->textColour(), WinColor::Grey);
        QCOMPARE(dock->display(0)->lblValue()->text(), shown);
        QVERIFY(!dock->findChild<QLabel *>("tag")->isEnabled());
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
