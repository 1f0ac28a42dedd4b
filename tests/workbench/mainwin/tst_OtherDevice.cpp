#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "ItemStore.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "displays/DeviceSummaryDock.h"
#include "hart/LinkReconnector.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"
#include "simulator/FieldDeviceProfile.h"
#include "simulator/SimulatedFieldDevice.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QTest>

using Condition = ConnectionController::LinkCondition;

namespace {

// Entries and buttons that only a transmitter of this family can serve.
const QStringList FamilyOnly{"mnuDeviceLoadFromDevice",
                             "mnuDeviceSaveToDevice",
                             "mnuDisplay",
                             "mnuConfigure",
                             "mnuCalibrate",
                             "mnuDiagnostics",
                             "tbWriteToDevice",
                             "tbDiagnostics"};

QStringList enabledOf(const frmMain &form, const QStringList &names)
{
    QStringList on;
    for (const QString &n : names) {
        const QAction *a = form.menuEntry(n) ? form.menuEntry(n) : form.toolbarButton(n);
        if (a->isEnabled())
            on << n;
    }
    return on;
}

} // namespace

// The main window when the device answering is not the one to work with: a
// device of another maker or type, and another device in the lost one's
// place after the link came back.
class TstOtherDevice : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QCoreApplication::setOrganizationName("WorkbenchTest");
        QCoreApplication::setApplicationName("tst_mainwin");
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        registerResidentViews();
        registerWorkbenchViews();
    }

    void aForeignDeviceIsNamedAndGetsNothingOfTheFamily_data()
    {
        QTest::addColumn<bool>("openGenericView");
        QTest::newRow("generic view") << true;
        QTest::newRow("no") << false;
    }
    void aForeignDeviceIsNamedAndGetsNothingOfTheFamily()
    {
        QFETCH(bool, openGenericView);
        MainWindowRig rig;
        frmMain &form = rig.form();
        QStringList generic;
        form.wireCommand("mnuDeviceGenericView", [&generic] { generic << "opened"; });
        SimulatedFieldDevice other(*FieldDeviceProfile::find("hart7-pressure"));
        rig.line.plug(&other);
        // Live values every few milliseconds, were they allowed.
        rig.instance().manager()->updateScheduler().setUnitMilliseconds(5);

        ScriptedMessageBox box;
        box.enqueue(openGenericView ? QMessageBox::Yes : QMessageBox::No);
        form.runMenuCommand("mnuDeviceConnect");
        QTRY_COMPARE(box.asked().size(), 1);
        const QString text = box.texts().first();
        for (const char *part : {"Siemens (0x2A)", "0x2A71", "HART revision: 7", "2A-71-3A0100",
                                 "Feed pump discharge pressure", "generic HART view"})
            QVERIFY2(text.contains(part), qPrintable(text));
        QCOMPARE(generic.size(), openGenericView ? 1 : 0);

        // Connected, but as what it is.
        QCOMPARE(rig.instance().connection().status(), 2);
        QCOMPARE(form.panel(1)->text(), "Connected: device of another type");
        QVERIFY(form.panel(1)->toolTip().contains("Siemens"));
        QCOMPARE(form.windowTitle(), "Device of another type");
        QCOMPARE(enabledOf(form, FamilyOnly), QStringList());
        QVERIFY(form.menuEntry("mnuDeviceLoadFromDevice")
                    ->statusTip()
                    .contains("another maker or type"));
        QVERIFY(form.menuEntry("mnuDeviceDisconnect")->isEnabled());
        auto *summary = form.findChild<DeviceSummaryDock *>();
        QVERIFY(summary->showsForeignDevice());
        QCOMPARE(summary->lineText("tag"), "–");
        QCOMPARE(summary->lineText("range"), "–");
        QVERIFY(!summary->showsLiveValues());
        QVERIFY(summary->lineText("heading").contains("Feed pump discharge pressure"));

        // Identity and tag, nothing else: a second connect shows by what
        // came before it that no device information or periodic read went out.
        box.enqueue(QMessageBox::No);
        form.runMenuCommand("mnuDeviceDisconnect");
        form.runMenuCommand("mnuDeviceConnect");
        QTRY_COMPARE(box.asked().size(), 2);
        QCOMPARE(rig.line.sent, (QList<int>{0, 13, 20, 0, 13, 20}));

        // Our own transmitter again: the family is back.
        form.runMenuCommand("mnuDeviceDisconnect");
        rig.line.plug(&rig.device);
        QVERIFY(rig.connect());
        QCOMPARE(box.asked().size(), 2);
        QCOMPARE(enabledOf(form, FamilyOnly), FamilyOnly);
        QCOMPARE(form.panel(1)->text(), "Connection Established");
        QTRY_VERIFY(!summary->showsForeignDevice() && summary->lineText("tag") == "PT-1");
    }

    // The same device back after a lost link is no news; on the way this
    // family stays withdrawn.
    void aForeignDeviceBackIsNotToldAgain()
    {
        MainWindowRig rig;
        frmMain &form = rig.form();
        rig.reconnectAfter(10, 40);
        SimulatedFieldDevice other(*FieldDeviceProfile::find("hart5-flow"));
        rig.line.plug(&other);
        ScriptedMessageBox box;
        form.runMenuCommand("mnuDeviceConnect");
        QTRY_COMPARE(box.asked().size(), 1);
        other.dropConnection();
        QTRY_COMPARE(rig.instance().connection().status(), 1);
        QCOMPARE(enabledOf(form, FamilyOnly), QStringList());
        other.restoreConnection();
        QTRY_COMPARE(rig.instance().connection().status(), 2);
        QCOMPARE(rig.instance().connection().linkCondition(), Condition::ForeignDevice);
        // What the connect queued has run.
        QCoreApplication::processEvents();
        QCOMPARE(box.asked().size(), 1);
        QCOMPARE(enabledOf(form, FamilyOnly), QStringList());
    }

    // The link came back with another transmitter: reads stay stopped, both
    // are named, and the user connects to it afresh or keeps waiting.
    void anotherDeviceAfterTheLinkCameBack_data()
    {
        QTest::addColumn<bool>("connectToIt");
        QTest::newRow("keep waiting") << false;
        QTest::newRow("connect to it") << true;
    }
    void anotherDeviceAfterTheLinkCameBack()
    {
        QFETCH(bool, connectToIt);
        MainWindowRig rig;
        frmMain &form = rig.form();
        rig.reconnectAfter(10, 40);
        rig.instance().manager()->updateScheduler().setUnitMilliseconds(5);
        QVERIFY(rig.connect());
        const HartDeviceIdentity expected = *rig.instance().connection().sessionDevice();
        auto *summary = form.findChild<DeviceSummaryDock *>();
        QTRY_VERIFY(summary->showsLiveValues());

        // Another transmitter of the family, at another pressure.
        SimulatedTransmitter other;
        other.setLoopPosition(0, 0x77);
        other.setAppliedPressure(-250);
        ScriptedMessageBox box;
        box.enqueue(connectToIt ? QMessageBox::Yes : QMessageBox::No);
        rig.device.dropConnection();
        QTRY_COMPARE(rig.instance().connection().status(), 1);
        rig.line.sent.clear();
        rig.line.plug(&other);
        QTRY_COMPARE(box.asked().size(), 1);

        const QString text = box.texts().first();
        HartDeviceIdentity found = expected;
        found.deviceId = other.deviceId();
        QVERIFY2(text.contains(found.key()) && text.contains(expected.key()), qPrintable(text));
        QVERIFY2(text.contains("Tag: PT-1"), qPrintable(text)); // the expected one's, read before
        if (!connectToIt) {
            // Nothing of it reached the window: only who it is was asked.
            QCOMPARE(form.panel(1)->text(), "Link back: another device answers");
            QVERIFY(summary->isStale() && !summary->showsLiveValues());
            const ItemStore &store = rig.instance().manager()->store();
            QVERIFY(!store.fromDevice(store.indexOf("primaryValue")));
            // Reconnecting goes on without asking again, until ours is back.
            const int attempt = rig.reconnector()->attempt();
            QTRY_VERIFY(rig.reconnector()->attempt() > attempt + 2);
            QCOMPARE(box.asked().size(), 1);
            QVERIFY(!rig.line.sent.isEmpty());
            for (const int command : std::as_const(rig.line.sent))
                QVERIFY2(command == 0 || command == 13, qPrintable(QString::number(command)));
            rig.line.plug(&rig.device);
            rig.device.restoreConnection();
            QTRY_COMPARE(rig.instance().connection().status(), 2);
            QVERIFY(rig.instance().connection().sessionDevice()->sameDevice(expected));
        } else {
            // A fresh connect takes it as the device of a new session.
            QTRY_COMPARE(rig.instance().connection().status(), 2);
            QCOMPARE(rig.instance().connection().sessionDevice()->deviceId, other.deviceId());
            QTRY_VERIFY(rig.idle());
        }
        QCOMPARE(form.panel(1)->text(), "Connection Established");
        QCOMPARE(box.asked().size(), 1);
    }
};

VEX_TEST(TstOtherDevice)
#include "tst_OtherDevice.moc"
