#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"
#include "MessageBoxPictures.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "ResidentViews.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"
#include "simulator/FieldDeviceProfile.h"
#include "simulator/SimulatedFieldDevice.h"

#include <QTest>

VEX_GRAB(grabOtherDevice, "other-device",
         "A device of another maker or type connected (its message and the main window), and "
         "another transmitter answering after the link came back (the question)")
{
    registerResidentViews();
    registerWorkbenchViews();
    {
        MessageBoxPictures boxes(grab);
        MainWindowRig rig;
        rig.form().resize(1000, 700);
        rig.form().wireCommand(QStringLiteral("mnuDeviceGenericView"), [] {});
        SimulatedFieldDevice other(*FieldDeviceProfile::find(QStringLiteral("hart7-pressure")));
        rig.line.plug(&other);
        boxes.expect(QStringLiteral("foreign-device-message"), QMessageBox::No);
        rig.form().runMenuCommand(QStringLiteral("mnuDeviceConnect"));
        grab.require(QTest::qWaitFor([&] { return boxes.allExpected(); }, 5000),
                     QStringLiteral("no message about the device: ") + boxes.unexpected());
        grab.save(rig.form(), QStringLiteral("mainwindow-foreign-device"));
    }
    {
        MessageBoxPictures boxes(grab);
        MainWindowRig rig;
        rig.reconnectAfter(10, 40);
        grab.require(rig.connect(), QStringLiteral("no connection"));
        SimulatedTransmitter other;
        other.setLoopPosition(0, 0x77);
        boxes.expect(QStringLiteral("other-device-question"), QMessageBox::No);
        rig.device.dropConnection();
        grab.require(
            QTest::qWaitFor([&] { return rig.instance().connection().status() == 1; }, 5000),
            QStringLiteral("the link did not go"));
        rig.line.plug(&other);
        grab.require(QTest::qWaitFor([&] { return boxes.allExpected(); }, 5000),
                     QStringLiteral("no question about the other device: ") + boxes.unexpected());
        grab.save(rig.form(), QStringLiteral("mainwindow-other-device"));
    }
}
