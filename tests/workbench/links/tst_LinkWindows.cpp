#include "FileSizeLimit.h"
#include "MainWindowRig.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "FileChooser.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "links/LinkCommands.h"
#include "links/LinkSettingsController.h"
#include "links/frmConnectionSettings.h"
#include "links/frmDeviceScan.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"
#include "simulator/FieldDeviceProfile.h"
#include "simulator/SimulatedFieldDevice.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

HartLinkProfile savedProfile()
{
    QSettings settings;
    return HartLinkProfile::load(settings);
}

void chooseKind(frmConnectionSettings &dialog, HartLinkProfile::Kind kind)
{
    dialog.cmbKind->setCurrentIndex(dialog.cmbKind->findData(int(kind)));
}

} // namespace

class TstLinkWindows : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MainWindowRig> m_rig;

    frmMain &form() const { return m_rig->form(); }
    frmConnectionSettings *openSettings()
    {
        form().runMenuCommand(QStringLiteral("mnuDeviceConnectionSettings"));
        // One closed a moment ago may not be gone yet.
        for (frmConnectionSettings *dialog : form().findChildren<frmConnectionSettings *>()) {
            if (dialog->isVisible())
                return dialog;
        }
        return nullptr;
    }

private Q_SLOTS:
    void initTestCase()
    {
        registerResidentViews();
        registerWorkbenchViews();
    }
    void init()
    {
        QSettings().clear();
        m_rig = std::make_unique<MainWindowRig>();
    }
    void cleanup() { m_rig.reset(); }

    // Not connected the choice takes effect at once; connected it waits for
    // the disconnect, and it is kept for the next start either way.
    void settingsTakeEffectWhenNoDeviceIsConnected()
    {
        frmConnectionSettings *dialog = openSettings();
        QVERIFY(dialog);
        QCOMPARE(dialog->enteredProfile(), m_rig->link().profile());
        QVERIFY(dialog->cmdScan->isEnabled());
        QVERIFY(!dialog->grpSerial->isEnabled());
        chooseKind(*dialog, HartLinkProfile::Kind::HartIp);
        QVERIFY(dialog->grpHartIp->isEnabled());
        dialog->txtHost->setText(QStringLiteral(" 127.0.0.1 "));
        dialog->spnPort->setValue(5095);
        dialog->cmbTransport->setCurrentIndex(1);
        dialog->cmdOk->click();
        QTRY_VERIFY(!form().findChild<frmConnectionSettings *>());
        HartLinkProfile expected;
        expected.kind = HartLinkProfile::Kind::HartIp;
        expected.host = QStringLiteral("127.0.0.1");
        expected.port = 5095;
        expected.udp = true;
        QCOMPARE(m_rig->link().profile(), expected);
        QCOMPARE(savedProfile(), expected);

        // Back to the simulator, and connected: the next change waits.
        dialog = openSettings();
        chooseKind(*dialog, HartLinkProfile::Kind::Simulator);
        dialog->cmdOk->click();
        QVERIFY(m_rig->connect());
        dialog = openSettings();
        QVERIFY(dialog);
        QCOMPARE(dialog->lblNote->text(), GetResText(6121));
        QVERIFY(!dialog->cmdScan->isEnabled());
        chooseKind(*dialog, HartLinkProfile::Kind::Serial);
        dialog->cmbPort->setCurrentText(QStringLiteral("/dev/ttyUSB7"));
        dialog->spnPreambles->setValue(12);
        dialog->spnRetries->setValue(5);
        dialog->chkRts->setChecked(false);
        dialog->spnAddress->setValue(4);
        dialog->cmdOk->click();
        QTRY_VERIFY(!form().findChild<frmConnectionSettings *>());
        QCOMPARE(m_rig->link().profile().kind, HartLinkProfile::Kind::Simulator);
        QCOMPARE(m_rig->instance().connection().status(), ConnectionController::Connected);
        QCOMPARE(m_rig->text(QStringLiteral("&&private_PM&&Address")), QStringLiteral("0"));
        QCOMPARE(savedProfile().serialPort, QStringLiteral("/dev/ttyUSB7"));
        // Reopened meanwhile, the dialog shows what waits.
        dialog = openSettings();
        QCOMPARE(dialog->enteredProfile().pollingAddress, 4);
        dialog->cmdCancel->click();

        m_rig->instance().connection().disconnectDevice();
        const HartLinkProfile now = m_rig->link().profile();
        QCOMPARE(now.kind, HartLinkProfile::Kind::Serial);
        QCOMPARE(now.preambles, 12);
        QCOMPARE(now.retries, 5);
        QCOMPARE(now.rtsKeying, false);
        QCOMPARE(m_rig->text(QStringLiteral("&&private_PM&&Address")), QStringLiteral("4"));
    }

    void whatCannotBeUsedIsSaidAndNotKept()
    {
        const HartLinkProfile before = m_rig->link().profile();
        frmConnectionSettings *dialog = openSettings();
        chooseKind(*dialog, HartLinkProfile::Kind::Serial);
        dialog->cmbPort->setCurrentText(QString());
        dialog->cmdOk->click();
        QVERIFY(dialog->isVisible());
        QCOMPARE(dialog->lblNote->text(), GetResText(6123));
        chooseKind(*dialog, HartLinkProfile::Kind::HartIp);
        dialog->txtHost->clear();
        dialog->cmdOk->click();
        QCOMPARE(dialog->lblNote->text(), GetResText(6124));
        chooseKind(*dialog, HartLinkProfile::Kind::Simulator);
        dialog->txtTag->setText(QStringLiteral("a~b"));
        dialog->cmdScan->click();
        QCOMPARE(dialog->lblNote->text(), GetResText(6151));
        QVERIFY(!dialog->scanWindow());
        dialog->cmdCancel->click();
        QCOMPARE(m_rig->link().profile(), before);
        QCOMPARE(savedProfile(), HartLinkProfile{});
    }

    // The device sits at polling address 2: the scan finds it there, Use
    // takes its address, and the program connects to it.
    void theScanPicksThePollingAddress()
    {
        m_rig->device.setLoopPosition(2, 0);
        frmConnectionSettings *dialog = openSettings();
        dialog->cmdScan->click();
        frmDeviceScan *scan = dialog->scanWindow();
        QVERIFY(scan);
        QTRY_COMPARE_WITH_TIMEOUT(scan->lvwDevices->topLevelItemCount(), 1, 5000);
        const QTreeWidgetItem *row = scan->lvwDevices->topLevelItem(0);
        QCOMPARE(row->text(0), QStringLiteral("2"));
        QCOMPARE(row->text(4), scan->scan().devices().first().uniqueId());
        QVERIFY(scan->cmdUse->isEnabled());
        scan->cmdUse->click();
        QVERIFY(!scan->scan().isRunning());
        QCOMPARE(dialog->spnAddress->value(), 2);
        dialog->cmdOk->click();
        QCOMPARE(m_rig->text(QStringLiteral("&&private_PM&&Address")), QStringLiteral("2"));
        QCOMPARE(savedProfile().pollingAddress, 2);
        QVERIFY(m_rig->connect());
    }

    // A HART 7 device of another maker: its bytes 1 and 2 are one expanded
    // device type, so the maker comes from its own field, named.
    void theScanNamesAHart7DevicesMaker()
    {
        SimulatedFieldDevice other(*FieldDeviceProfile::find(QStringLiteral("hart7-pressure")));
        m_rig->line.plug(&other);
        frmConnectionSettings *dialog = openSettings();
        dialog->cmdScan->click();
        frmDeviceScan *scan = dialog->scanWindow();
        QVERIFY(scan);
        QTRY_COMPARE_WITH_TIMEOUT(scan->lvwDevices->topLevelItemCount(), 1, 5000);
        const QTreeWidgetItem *row = scan->lvwDevices->topLevelItem(0);
        QCOMPARE(row->text(1), QStringLiteral("Siemens (0x2A)"));
        QCOMPARE(row->text(2), QStringLiteral("0x2A71"));
        scan->cmdClose->click();
        dialog->cmdCancel->click();
        m_rig->line.plug(&m_rig->device);
    }

    // Cancel stops the scan and says so; the settings dialog cancelled puts
    // the link back as it was before the scan tried the entered one.
    void aCancelledScanLeavesTheLinkAsItWas()
    {
        const HartLinkProfile before = m_rig->link().profile();
        frmConnectionSettings *dialog = openSettings();
        dialog->spnAddress->setValue(9);
        dialog->spnPreambles->setValue(7);
        dialog->cmdScan->click();
        frmDeviceScan *scan = dialog->scanWindow();
        QVERIFY(scan->scan().isRunning());
        QCOMPARE(m_rig->link().profile().preambles, 7);
        scan->cmdCancel->click();
        QVERIFY(!scan->scan().isRunning());
        QCOMPARE(scan->lblState->text(), GetResText(6133));
        QCOMPARE(scan->cmdCancel->text(), GetResText(6145));
        scan->cmdClose->click();
        dialog->cmdCancel->click();
        QCOMPARE(m_rig->link().profile(), before);
        QCOMPARE(m_rig->text(QStringLiteral("&&private_PM&&Address")), QStringLiteral("0"));
    }

    void trafficRecordFromTheMenu()
    {
        QTemporaryDir dir;
        ScriptedFileChooser chooser;
        ScriptedMessageBox box;
        QAction *entry = form().menuEntry(QStringLiteral("mnuDeviceTrafficRecord"));
        QVERIFY(entry->isCheckable());
        QVERIFY(!entry->isChecked());

        // Cancelled: nothing is recorded.
        entry->trigger();
        QCOMPARE(chooser.asked(), 1);
        QVERIFY(!m_rig->link().isCapturing());
        QVERIFY(!entry->isChecked());

        // A file that cannot be made is reported.
        chooser.enqueue(dir.filePath(QStringLiteral("missing/traffic.pcap")));
        entry->trigger();
        QCOMPARE(box.asked().size(), 1);
        QVERIFY(box.asked().first().text.startsWith(
            FormatResText(GetResText(6140), {}).remove(QStringLiteral("%1"))));
        QVERIFY(!entry->isChecked());

        const QString path = dir.filePath(QStringLiteral("session.pcap"));
        chooser.enqueue(path);
        entry->trigger();
        QVERIFY(m_rig->link().isCapturing());
        QVERIFY(entry->isChecked());
        QVERIFY(m_rig->connect());
        entry->trigger();
        QVERIFY(!m_rig->link().isCapturing());
        QVERIFY(!entry->isChecked());
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        // The pcap header, then at least the session and command 0 both ways.
        QCOMPARE(file.read(4), QByteArray::fromHex("d4c3b2a1"));
        QVERIFY(file.size() > 24 + 4 * 16);

        // A disk that fills up stops the record, and the user is told.
        box.clear();
        chooser.enqueue(dir.filePath(QStringLiteral("full.pcap")));
        {
            const FileSizeLimit diskFull(1000);
            entry->trigger();
            QVERIFY(m_rig->link().isCapturing());
            QCOMPARE(m_rig->instance().engine().start(QStringLiteral("UPLOAD")), 0);
            QTRY_COMPARE(box.asked().size(), 1);
        }
        QVERIFY2(box.asked().first().text.contains(dir.filePath(QStringLiteral("full.pcap"))),
                 qPrintable(box.asked().first().text));
        QVERIFY(!m_rig->link().isCapturing());
        QVERIFY(!entry->isChecked());

        // Started elsewhere (the command line), the mark follows.
        QString error;
        QVERIFY(m_rig->link().startCapture(dir.filePath(QStringLiteral("b.pcap")), &error));
        QVERIFY(entry->isChecked());
        m_rig->link().stopCapture();
        QVERIFY(!entry->isChecked());
    }
};

VEX_TEST(TstLinkWindows)
#include "tst_LinkWindows.moc"
