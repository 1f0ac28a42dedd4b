#include "MainWindowRig.h"
#include "OtherMaster.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "VexAppletItemManager.h"
#include "ctlBusyWindow.h"
#include "frmBusyWindow.h"
#include "mainwin/MainStatusBar.h"
#include "mainwin/TransferReport.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QLabel>
#include <QTest>
#include <QTimer>

// Reading and writing the whole dataset through the main window: the status
// line says how the transfer ended, and a read that did not end leaves the
// dataset as it was.
class TstTransfers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
    }

    void transferSaysHowItEnded_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("interrupt");
        QTest::addColumn<int>("outcome");
        const int completed = int(TransferReport::Outcome::Completed);
        const int cancelled = int(TransferReport::Outcome::Cancelled);
        const int failed = int(TransferReport::Outcome::Failed);
        QTest::newRow("read") << "mnuDeviceLoadFromDevice"
                              << "" << completed;
        QTest::newRow("read, busy window closed") << "mnuDeviceLoadFromDevice"
                                                  << "close" << cancelled;
        QTest::newRow("read, link lost") << "mnuDeviceLoadFromDevice"
                                         << "drop" << failed;
        QTest::newRow("write") << "mnuDeviceSaveToDevice"
                               << "" << completed;
        QTest::newRow("write, busy window closed") << "mnuDeviceSaveToDevice"
                                                   << "close" << cancelled;
    }
    void transferSaysHowItEnded()
    {
        QFETCH(QString, command);
        QFETCH(QString, interrupt);
        QFETCH(int, outcome);
        const bool upload = command == "mnuDeviceLoadFromDevice";
        MainWindowRig rig;
        ScriptedMessageBox box;
        QVERIFY(rig.connect());
        // A value of the dataset that differs from the device's.
        rig.set("filterTime", "9.5");
        const QString source = rig.text("&&private&&CurrentSource");
        QLabel *shown = rig.form().sbStatusBar()->transferPanel();
        QVERIFY(!shown->isVisible());

        // Interrupted while the busy window shows.
        ctlBusyWindow *busy = rig.form().ctlBusyWindow1;
        connect(busy, &ctlBusyWindow::DisableWindow, this, [&] {
            if (interrupt == "drop")
                QTimer::singleShot(0, this, [&] { rig.device.dropConnection(); });
            else if (interrupt == "close")
                QTimer::singleShot(0, busy->busyWindow(), &QWidget::close);
        });
        rig.form().runMenuCommand(command);
        const QString expected = TransferReport::text(upload, TransferReport::Outcome(outcome));
        QTRY_COMPARE(shown->text(), expected);
        QVERIFY(shown->isVisible());
        QTRY_VERIFY(rig.idle());
        QTRY_VERIFY(rig.form().isEnabled());
        const bool completed = outcome == int(TransferReport::Outcome::Completed);
        if (upload) {
            QCOMPARE(rig.text("filterTime") == "9.5", !completed);
            QCOMPARE(rig.text("&&private&&CurrentSource"), completed ? "2" : source);
        }
        if (interrupt == "drop")
            return;
        // The next connection is another session: the old outcome goes.
        rig.form().runMenuCommand("mnuDeviceDisconnect");
        QTRY_COMPARE(rig.instance().connection().status(), 0);
        QVERIFY(rig.connect());
        QVERIFY(!shown->isVisible());
    }

    // A handheld changes the transmitter while the program is connected: the
    // status line says so once the program has read it again.
    void aChangeByAnotherMasterIsSaid()
    {
        MainWindowRig rig;
        QVERIFY(rig.connect());
        QLabel *shown = rig.form().sbStatusBar()->transferPanel();
        OtherMaster handheld(&rig.device);
        // Command 34, damping 3.0 s (IEEE 754, big-endian).
        QCOMPARE(handheld.send(34, QByteArray::fromHex("40400000")), 0);
        QTRY_VERIFY(shown->isVisible());
        QVERIFY2(shown->text().contains("another master"), qPrintable(shown->text()));
        const ItemStore &store = rig.instance().manager()->store();
        QTRY_COMPARE(store.text(store.indexOf("filterTime"), true), QStringLiteral("3"));
    }
};

VEX_TEST(TstTransfers)
#include "tst_Transfers.moc"
