#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"

#include "ResidentViews.h"
#include "hart/HartCodec.h"
#include "hart/HartIpLink.h"
#include "links/frmConnectionSettings.h"
#include "links/frmDeviceScan.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"
#include "simulator/HartIpServer.h"
#include "simulator/SimulatedTransmitter.h"
#include "simulator/TransmitterLoop.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTreeWidget>

namespace {

frmConnectionSettings *openSettings(Grabber &grab, frmMain &form)
{
    form.runMenuCommand(QStringLiteral("mnuDeviceConnectionSettings"));
    frmConnectionSettings *shown = nullptr;
    for (frmConnectionSettings *dialog : form.findChildren<frmConnectionSettings *>()) {
        if (dialog->isVisible())
            shown = dialog;
    }
    grab.require(shown, QStringLiteral("no Connection settings window"));
    return shown;
}

void writeTag(SimulatedTransmitter &device, const char *tag)
{
    const QByteArray data = HartCodec::packAscii(QLatin1String(tag), 6) +
                            HartCodec::packAscii(QString(), 12) +
                            HartCodec::fromDate(QDate(2024, 5, 1));
    device.respond(HartFrame::longFrame(HartFrame::Kind::Request, device.manufacturerId(),
                                        device.deviceType(), device.deviceId(), 18, data)
                       .encode());
}

} // namespace

VEX_GRAB(grabConnectionSettings, "links",
         "Device > Connection settings (a HART modem; HART-IP while connected) and the device "
         "scan over three transmitters")
{
    registerResidentViews();
    registerWorkbenchViews();
    MainWindowRig rig;
    frmMain &form = rig.form();

    frmConnectionSettings *dialog = openSettings(grab, form);
    dialog->cmbKind->setCurrentIndex(dialog->cmbKind->findData(int(HartLinkProfile::Kind::Serial)));
    dialog->cmbPort->setCurrentText(QStringLiteral("/dev/ttyUSB0"));
    grab.save(*dialog, QStringLiteral("connection-settings-serial"));
    dialog->close();

    grab.require(rig.connect(), QStringLiteral("no connection"));
    dialog = openSettings(grab, form);
    dialog->cmbKind->setCurrentIndex(dialog->cmbKind->findData(int(HartLinkProfile::Kind::HartIp)));
    dialog->txtHost->setText(QStringLiteral("192.168.10.20"));
    grab.save(*dialog, QStringLiteral("connection-settings-connected"));
    dialog->close();

    // Three transmitters on one loop behind a HART-IP server in this process.
    TransmitterLoop loop;
    for (quint8 address : {0, 3, 7})
        loop.add(address);
    writeTag(*loop.device(0), "PT-101");
    writeTag(*loop.device(3), "PT-102");
    writeTag(*loop.device(7), "DP-7");
    HartIpServer server([&loop](QByteArrayView r) { return loop.respond(r); });
    QString error;
    grab.require(server.listenTcp(QHostAddress::LocalHost, 0, &error), error);
    HartIpLink::Settings s;
    s.port = server.tcpPort();
    s.responseTimeoutMs = 100;
    HartIpLink link(s);
    frmDeviceScan scan(&link, QString(), &form);
    QSignalSpy finished(&scan.scan(), &HartDeviceScan::finished);
    scan.startScan();
    grab.require(finished.wait(10000), QStringLiteral("the scan did not end"));
    scan.lvwDevices->setCurrentItem(scan.lvwDevices->topLevelItem(1));
    grab.save(scan, QStringLiteral("device-scan"));
    scan.close();
}
