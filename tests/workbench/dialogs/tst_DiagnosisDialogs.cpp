#include "DiagnosisRig.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"
#include "VexaAppItem.h"
#include "dialogs/DiagnosisCheckGrid.h"
#include "dialogs/frmConfigDiagnosis.h"
#include "dialogs/frmSimulateStatus.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "simulator/SimulatedTransmitter.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>

// Status simulation and diagnosis configuration through the real host and
// the simulated transmitter.
class TstDiagnosisDialogs : public QObject
{
    Q_OBJECT

private:
    // The grid and the category item of a dialog, by the dialog's name.
    struct Checks
    {
        DiagnosisCheckGrid *grid;
        QString item; // category 0
        QString electronics;
    };
    static Checks checksOf(DiagnosisRig &rig, const QString &dialog)
    {
        if (dialog == "simulation")
            return {rig.open<frmSimulateStatus>()->checks, "simulationMeasurement",
                    "simulationElectronics"};
        return {rig.open<frmConfigDiagnosis>()->checks, "configurationMeasurement",
                "configurationElectronics"};
    }
    static QStringList ticked(const DiagnosisCheckGrid &grid, int category)
    {
        QStringList boxes;
        for (int box : grid.boxes()) {
            if (box / 10 == category && grid.chkValue(box)->isChecked())
                boxes << QString::number(box);
        }
        return boxes;
    }
    static bool markersShown(const DiagnosisCheckGrid &grid, int category)
    {
        bool shown = false;
        for (int box : grid.boxes())
            shown |= box / 10 == category && grid.lblDirty(box)->isVisible();
        return shown;
    }

    // Switches the device's simulation on through the dialog, as a user does.
    static void startSimulation(DiagnosisRig &rig, frmSimulateStatus &dialog)
    {
        dialog.optToggleSimulation[1]->click();
        dialog.checks->chkValue(0)->click();
        dialog.cmdSetDiagnosisSimulation->click();
        QVERIFY(dialog.sequenceRunning());
        QTRY_VERIFY(!dialog.sequenceRunning());
        QVERIFY(rig.device().model().diagnosis().isSimulationActive());
        QCOMPARE(rig.text("operationMode", true), QStringLiteral("1"));
    }

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale::c()); }

    void categoryValueTicksItsBits_data()
    {
        QTest::addColumn<QString>("dialog");
        QTest::newRow("simulation") << "simulation";
        QTest::newRow("configuration") << "configuration";
    }
    void categoryValueTicksItsBits()
    {
        QFETCH(QString, dialog);
        DiagnosisRig rig;
        const Checks checks = checksOf(rig, dialog);

        rig.setItem(checks.item, "11"); // 0x0B

        QCOMPARE(ticked(*checks.grid, 0), QStringList({"0", "1", "3"}));
        QVERIFY(!markersShown(*checks.grid, 0));
    }

    void untickingClearsOnlyItsBit_data() { categoryValueTicksItsBits_data(); }
    void untickingClearsOnlyItsBit()
    {
        QFETCH(QString, dialog);
        DiagnosisRig rig;
        const Checks checks = checksOf(rig, dialog);
        rig.setItem(checks.electronics, "23"); // 0x17: boxes 20, 21, 22, 24

        checks.grid->chkValue(24)->click();

        QCOMPARE(rig.text(checks.electronics), QStringLiteral("7"));
        QVERIFY(rig.modified(checks.electronics));
        QCOMPARE(ticked(*checks.grid, 2), QStringList({"20", "21", "22"}));
        QVERIFY(markersShown(*checks.grid, 2));
        QVERIFY(!markersShown(*checks.grid, 0));
    }

    void maskDecidesWhatCanBeChosen()
    {
        DiagnosisRig rig;
        auto *dialog = rig.open<frmConfigDiagnosis>();
        rig.setItem("configurationMask", "256"); // 0x00000100

        QStringList enabled;
        for (int box : dialog->checks->boxes()) {
            if (dialog->checks->chkValue(box)->isEnabled())
                enabled << QString::number(box);
        }
        QCOMPARE(enabled, QStringList({"10"}));
        QCOMPARE(dialog->lblHint->text(), GetResText(3503));
    }

    // Boxes 25 and 26 come with version 1.0.2 ("102"); the version is
    // compared part by part, so 0.10.5 (joined "0105") does not pass.
    void electronicsBits56BySoftwareVersion_data()
    {
        QTest::addColumn<QString>("revision");
        QTest::addColumn<bool>("shown");
        QTest::newRow("101") << "01 00 01" << false;
        QTest::newRow("102") << "01 00 02" << true;
        QTest::newRow("1.1.0") << "01 01 00" << true;
        QTest::newRow("0.10.5") << "00 0A 05" << false;
    }
    void electronicsBits56BySoftwareVersion()
    {
        QFETCH(QString, revision);
        QFETCH(bool, shown);
        DiagnosisRig rig;
        auto *dialog = rig.open<frmSimulateStatus>();
        rig.setItem("simulationElectronics", "0");
        dialog->checks->chkValue(20)->click(); // category 2 modified: its markers show

        rig.setItem("softwareRevision", revision);

        for (int box : {25, 26}) {
            QCOMPARE(dialog->checks->chkValue(box)->isVisible(), shown);
            QCOMPARE(dialog->checks->lblDirty(box)->isVisible(), shown);
        }
        QVERIFY(dialog->checks->lblDirty(24)->isVisible());
    }

    // Box 42 shows what the device does while it simulates; refreshing the
    // operation category writes nothing.
    void box42AlwaysTickedAndNeverWritten()
    {
        DiagnosisRig rig;
        auto *dialog = rig.open<frmSimulateStatus>();
        QCheckBox *box42 = dialog->checks->chkValue(42);
        QVERIFY(box42->isChecked());
        for (const char *value : {"0", "1", "0"}) {
            rig.setItem("simulationOperation", value);
            QVERIFY(box42->isChecked());
            QCOMPARE(rig.text("simulationOperation"), QLatin1String(value));
        }
        QVERIFY(!rig.modified("simulationOperation"));
        QVERIFY(!box42->isEnabled());
        QCOMPARE(dialog->checks->chkValue(40)->isChecked(), false);
    }

    void modeChoiceAndProceedSimulate()
    {
        DiagnosisRig rig;
        auto *dialog = rig.open<frmSimulateStatus>();
        QVERIFY(!dialog->cmdSetDiagnosisSimulation->isEnabled());
        QVERIFY(dialog->optToggleSimulation[0]->isChecked());
        QVERIFY(rig.connect());
        QVERIFY(dialog->cmdSetDiagnosisSimulation->isEnabled());

        dialog->optToggleSimulation[1]->click();
        QCOMPARE(rig.text("operationMode"), QStringLiteral("1"));
        dialog->checks->chkValue(11)->click();
        dialog->cmdSetDiagnosisSimulation->click();
        QVERIFY(!rig.main().isEnabled());
        QTRY_VERIFY(!dialog->sequenceRunning());

        const auto report = rig.device().model().diagnosisReport();
        QCOMPARE(report[1], quint8(0x02));
        QVERIFY(report[4] & 0x14); // output simulated, simulation active
        // The device's answer comes back through the shadow: nothing pending.
        QTRY_VERIFY(!dialog->checks->lblDirty(11)->isVisible());
        QVERIFY(!rig.modified("simulationProcess"));

        // A mode without an option button selects neither.
        rig.setItem("operationMode", "2");
        QVERIFY(!dialog->optToggleSimulation[0]->isChecked());
        QVERIFY(!dialog->optToggleSimulation[1]->isChecked());
    }

    // Closing while the device simulates asks whether to end it.
    void closingWhileSimulating_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("deviceRefusesTheEnd");
        QTest::addColumn<bool>("closed");
        QTest::addColumn<bool>("simulating");
        QTest::newRow("Yes ends the simulation, then closes")
            << int(QMessageBox::Yes) << false << true << false;
        QTest::newRow("No closes and keeps it") << int(QMessageBox::No) << false << true << true;
        QTest::newRow("Cancel stays") << int(QMessageBox::Cancel) << false << false << true;
        QTest::newRow("Yes refused: says so and closes")
            << int(QMessageBox::Yes) << true << true << true;
    }
    void closingWhileSimulating()
    {
        QFETCH(int, answer);
        QFETCH(bool, deviceRefusesTheEnd);
        QFETCH(bool, closed);
        QFETCH(bool, simulating);
        DiagnosisRig rig;
        QVERIFY(rig.connect());
        auto *dialog = rig.open<frmSimulateStatus>();
        startSimulation(rig, *dialog);
        rig.device().setWriteProtected(deviceRefusesTheEnd);
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::StandardButton(answer));

        dialog->close();

        QCOMPARE(box.asked().size(), 1);
        const MessageBoxRequest &asked = box.asked().first();
        QCOMPARE(asked.title, GetResText(3500) + " Close");
        QCOMPARE(asked.text, GetResText(2124));
        QCOMPARE(asked.icon, QMessageBox::Question);
        QCOMPARE(asked.buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        if (answer == QMessageBox::Yes) {
            QVERIFY(dialog->isVisible()); // it closes itself once the device answered
            QVERIFY(dialog->closeRequested());
        }
        QTRY_COMPARE(!dialog->isVisible(), closed);
        QVERIFY(rig.idle());
        QCOMPARE(rig.device().model().diagnosis().isSimulationActive(), simulating);
        if (deviceRefusesTheEnd) {
            QCOMPARE(box.asked().size(), 2);
            QCOMPARE(box.asked().last().text, GetResText(2122));
            QCOMPARE(box.asked().last().icon, QMessageBox::Information);
        } else {
            QCOMPARE(box.asked().size(), 1);
        }
    }

    // A start the host refuses (another sequence runs) leaves the dialog
    // closable and the main window usable.
    void refusedStartLeavesTheDialogClosable()
    {
        DiagnosisRig rig;
        QVERIFY(rig.connect());
        auto *dialog = rig.open<frmSimulateStatus>();
        QCOMPARE(rig.host().instance().engine().start("UPLOAD"), 0);

        // The refusal is logged, not swallowed.
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^the diagnosis simulation refused by the host"));
        dialog->cmdSetDiagnosisSimulation->click();

        QVERIFY(!dialog->sequenceRunning());
        QVERIFY(rig.main().isEnabled());
        ScriptedMessageBox box;
        dialog->close();
        QVERIFY(!dialog->isVisible());
        QVERIFY(box.asked().isEmpty());
        QVERIFY(rig.idle());
    }

    void notConnectedClosesAtOnce()
    {
        DiagnosisRig rig;
        QVERIFY(rig.connect());
        auto *dialog = rig.open<frmSimulateStatus>();
        startSimulation(rig, *dialog);
        rig.host().instance().connection().disconnectDevice();
        QTRY_COMPARE(rig.text("&&private&&Connect"), QStringLiteral("0"));
        ScriptedMessageBox box;
        dialog->close();
        QVERIFY(!dialog->isVisible());
        QVERIFY(box.asked().isEmpty());
    }
};

VEX_TEST(TstDiagnosisDialogs)
#include "tst_DiagnosisDialogs.moc"
