#include "DiagnosisRig.h"
#include "DialogRig.h"
#include "TestRegistry.h"

#include "ConnectionController.h"
#include "DeviceInstance.h"
#include "SequenceEngine.h"
#include "VexaAppItem.h"
#include "VexaSequenceItem.h"
#include "VexaText.h"
#include "VexaValueEdit.h"
#include "dialogs/DiagnosisTree.h"
#include "dialogs/frmEventCounter.h"
#include "dialogs/frmMaxValues.h"
#include "dialogs/frmStatus.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "simulator/SimulatedTransmitter.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>

// Device status, event counters and peak values through the real host and
// the simulated transmitter.
class TstStatusDialogs : public QObject
{
    Q_OBJECT

private:
    static QString symbols(const frmStatus &dialog)
    {
        QStringList shown;
        for (int i = 0; i < frmStatus::Categories; ++i)
            shown << dialog.symbol(i);
        return shown.join(',');
    }
    // Each node as "category/child; child".
    static QStringList tree(const QTreeWidget &tree)
    {
        QStringList nodes;
        for (int i = 0; i < tree.topLevelItemCount(); ++i) {
            const QTreeWidgetItem *node = tree.topLevelItem(i);
            QStringList children;
            for (int c = 0; c < node->childCount(); ++c)
                children << node->child(c)->text(0);
            nodes << node->text(0) + '/' + children.join("; ");
        }
        return nodes;
    }
    // The status dialog on a connected device, its first status read done.
    static frmStatus *openStatus(DiagnosisRig &rig)
    {
        if (!rig.connect())
            return nullptr;
        auto *dialog = rig.open<frmStatus>();
        return rig.idle() ? dialog : nullptr;
    }

private Q_SLOTS:
    void init() { QLocale::setDefault(QLocale::c()); }

    void treeFromDiagnosis_data()
    {
        QTest::addColumn<QStringList>("values");
        QTest::addColumn<QString>("symbols");
        QTest::addColumn<QStringList>("nodes");
        const QString process = GetResText(2270);
        QTest::newRow("process temperature")
            << QStringList{"00 04 00 00 00 00"} << "OK,ACHTUNG,OK,OK,OK"
            << QStringList{process + "/" + GetResText(3012)};
        QTest::newRow("0x80 alone")
            << QStringList{"80 00 00 00 00 00"} << "OK,OK,OK,OK,OK" << QStringList{};
        QTest::newRow("module disconnected keeps later symbols")
            << QStringList{"00 04 00 00 00 00", "01 04 08 00 00 00"} << "OK,ACHTUNG,OK,OK,OK"
            << QStringList{};
        QTest::newRow("bit without a text")
            << QStringList{"00 88 00 00 00 00"} << "OK,ACHTUNG,OK,OK,OK"
            << QStringList{process + "/Unknown diagnosis (bit 3); Unknown diagnosis (bit 7)"};
        QTest::newRow("messages cleared") << QStringList{"0F 00 00 00 01 00", "00 00 00 00 00 00"}
                                          << "OK,OK,OK,OK,OK" << QStringList{};
    }
    void treeFromDiagnosis()
    {
        QFETCH(QStringList, values);
        QFETCH(QString, symbols);
        QFETCH(QStringList, nodes);
        DiagnosisRig rig;
        auto *dialog = rig.open<frmStatus>();
        for (const QString &value : values)
            rig.setShadow("Diagnosis", value);
        QCOMPARE(TstStatusDialogs::symbols(*dialog), symbols);
        QCOMPARE(tree(*dialog->tvwMessages), nodes);
    }

    // Values of another length than the device's six bytes: five categories
    // at most, the last byte is the self test's, missing bytes read 0.
    void diagnosisOfAnyLength_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("shown"); // "category:bits" of those with messages
        QTest::newRow("empty") << ""
                               << "unchanged";
        QTest::newRow("self test only") << "04"
                                        << "unchanged";
        QTest::newRow("one category") << "05 02"
                                      << "0:0 2";
        QTest::newRow("nine bytes") << "00 00 00 00 41 01 FF FF FF"
                                    << "4:0 6";
    }
    void diagnosisOfAnyLength()
    {
        QFETCH(QString, value);
        QFETCH(QString, shown);
        DiagnosisTree tree;
        const auto categories = tree.refresh(QByteArray::fromHex(value.toLatin1()));
        QStringList attention;
        for (const DiagnosisTree::Category &category :
             categories.value_or(QList<DiagnosisTree::Category>{})) {
            QStringList bits;
            for (int bit : category.bits)
                bits << QString::number(bit);
            if (category.attention)
                attention << QString::number(category.index) + ':' + bits.join(' ');
        }
        QCOMPARE(categories ? attention.join(',') : QStringLiteral("unchanged"), shown);
    }

    void unchangedDiagnosisLeavesTheTreeAlone()
    {
        DiagnosisRig rig;
        auto *dialog = rig.open<frmStatus>();
        rig.setShadow("Diagnosis", "01 00 00 00 01 01");
        QTreeWidgetItem *first = dialog->tvwMessages->topLevelItem(0);
        first->setExpanded(false);
        // Only the self-test byte changes: the categories are the same.
        rig.setShadow("Diagnosis", "01 00 00 00 01 02");
        QCOMPARE(dialog->tvwMessages->topLevelItem(0), first);
        QVERIFY(!first->isExpanded());
        QCOMPARE(dialog->lblSelfTest->text(), GetResText(3924));
    }

    void cyclicRefreshRegistersTheInterval()
    {
        DiagnosisRig rig;
        auto *dialog = openStatus(rig);
        QVERIFY(dialog);
        QCOMPARE(rig.updateInterval("Diagnosis"), 0);
        dialog->chkCyclicRefresh->click();
        QCOMPARE(dialog->appDiagnosis->UpdateInterval(), qint16(1));
        QCOMPARE(rig.updateInterval("Diagnosis"), 1);
        dialog->chkCyclicRefresh->click();
        QCOMPARE(rig.updateInterval("Diagnosis"), 0);
    }

    // A fault injected into the device shows with the next cyclic read; the
    // self test runs for its time and reports it.
    void sensorFaultAndSelfTest()
    {
        DiagnosisRig rig;
        auto *dialog = openStatus(rig);
        QVERIFY(dialog);
        QCOMPARE(symbols(*dialog), QStringLiteral("OK,OK,OK,OK,OK"));
        dialog->chkCyclicRefresh->click();

        rig.device().setDiagnosisFaults(TransmitterDiagnosis::Measurement, 0x01);

        QTRY_COMPARE(symbols(*dialog), QStringLiteral("ACHTUNG,OK,OK,OK,ACHTUNG"));
        QCOMPARE(tree(*dialog->tvwMessages),
                 QStringList({GetResText(2269) + "/" + GetResText(3000),
                              GetResText(2273) + "/" + GetResText(3040)}));

        dialog->cmdRefresh->click();
        QVERIFY(!rig.main().isEnabled());
        QVERIFY(rig.idle());
        QCOMPARE(dialog->lblSelfTest->text(), GetResText(3922));
        rig.device().advanceTime(TransmitterDiagnosis::SelfTestMs);
        QTRY_COMPARE(dialog->lblSelfTest->text(), GetResText(3924));
        QCOMPARE(rig.updateInterval("Diagnosis"), 1); // the user's cycle stays
    }

    // Without the cycle the status is read only until the self test reports.
    void selfTestWithoutCyclicRefresh()
    {
        DiagnosisRig rig;
        auto *dialog = openStatus(rig);
        QVERIFY(dialog);
        dialog->cmdRefresh->click();
        QVERIFY(rig.idle());
        QTRY_COMPARE(rig.updateInterval("Diagnosis"), 1);
        rig.device().advanceTime(TransmitterDiagnosis::SelfTestMs);
        QTRY_COMPARE(dialog->lblSelfTest->text(), GetResText(3923));
        QTRY_COMPARE(rig.updateInterval("Diagnosis"), 0);
        QCOMPARE(symbols(*dialog), QStringLiteral("OK,OK,OK,OK,OK"));
    }

    void selfTestRefusedLeavesTheWindowUsable()
    {
        DiagnosisRig rig;
        auto *dialog = openStatus(rig);
        QVERIFY(dialog);
        QCOMPARE(rig.host().instance().engine().start("UPLOAD"), 0);
        QTest::ignoreMessage(QtWarningMsg,
                             QRegularExpression("^the self test refused by the host"));
        dialog->cmdRefresh->click();
        QVERIFY(rig.main().isEnabled());
        QVERIFY(rig.idle());
    }

    // Opened while another sequence runs (on the program, with its
    // components), the status is read once that has ended, without asking
    // the host again and again meanwhile.
    void statusReadWaitsForTheRunningSequence()
    {
        DialogRig rig;
        QVERIFY(rig.connect());
        const auto reads = rig.countStarts("ReadAdditionalTransmitterStatus");
        QCOMPARE(rig.instance().engine().start("UPLOAD"), 0);
        auto *dialog = new frmStatus;
        DeferredStarts deferred(dialog->seqReadAdditionalTransmitterStatus);
        rig.show(dialog);
        QTRY_VERIFY(*reads == 1 && rig.settled());
        QCOMPARE(deferred.count, 0);
    }

    void offlineFramesCoverTheStatus()
    {
        DiagnosisRig rig;
        auto *dialog = rig.open<frmStatus>();
        QVERIFY(dialog->frmElectronicDisconnect->isVisible());
        QVERIFY(dialog->frmMeasurementdisconnect->isVisible());
        QVERIFY(!dialog->cmdRefresh->isEnabled());
        QVERIFY(!dialog->chkCyclicRefresh->isEnabled());
        QVERIFY(rig.connect());
        QVERIFY(!dialog->frmElectronicDisconnect->isVisible());
        QVERIFY(!dialog->frmMeasurementdisconnect->isVisible());
        QVERIFY(dialog->cmdRefresh->isEnabled());
        QVERIFY(dialog->chkCyclicRefresh->isEnabled());
    }

    void timesAsHoursMinutesSeconds_data()
    {
        QTest::addColumn<QString>("seconds");
        QTest::addColumn<QString>("shown");
        QTest::newRow("0") << "0"
                           << "00:00:00";
        QTest::newRow("1025") << "1025"
                              << "00:17:05";
        QTest::newRow("3725") << "3725"
                              << "01:02:05";
        QTest::newRow("86399") << "86399"
                               << "23:59:59";
        // Beyond 32767 hours (under four years in service).
        QTest::newRow("40000 h") << "144000000"
                                 << "40000:00:00";
    }
    void timesAsHoursMinutesSeconds()
    {
        QFETCH(QString, seconds);
        QFETCH(QString, shown);
        DiagnosisRig rig;
        auto *dialog = rig.open<frmEventCounter>();
        rig.setItem("ptrbTotalWorkingHours", seconds);
        QCOMPARE(dialog->lblTime[4]->text(), shown);
    }

    // Each reset clears its counter in the device; the busy state ends with
    // the sequence's report 0.
    void counterResets_data()
    {
        QTest::addColumn<int>("reset");
        QTest::addColumn<QString>("cleared");
        QTest::newRow("pressure") << 0 << "ptrbOverRangeCount";
        QTest::newRow("static pressure") << 1 << "ptrbOverStatCount";
        QTest::newRow("temperature") << 2 << "ptrbOverTempCount";
        QTest::newRow("partial working hours") << 3 << "ptrbPartialWorkingHours";
    }
    void counterResets()
    {
        QFETCH(int, reset);
        QFETCH(QString, cleared);
        DiagnosisRig rig;
        rig.device().advanceTime(7200 * 1000);
        rig.device().setAppliedPressure(500); // beyond the sensor limits
        rig.device().setStaticPressure(170000);
        rig.device().setSensorTemperature(90);
        QVERIFY(rig.connect());
        auto *dialog = rig.open<frmEventCounter>();
        QTRY_VERIFY(rig.text(cleared) != "0");
        QTRY_COMPARE(dialog->lblTime[5]->text(), QStringLiteral("02:00:00"));

        dialog->cmdReset[reset]->click();

        QVERIFY(!rig.main().isEnabled());
        QTRY_VERIFY(rig.main().isEnabled());
        QTRY_COMPARE(rig.text(cleared), QStringLiteral("0"));
        QCOMPARE(rig.text("ptrbPowerOnCount"), QStringLiteral("1"));
    }

    void countersOffline()
    {
        DiagnosisRig rig;
        auto *dialog = rig.open<frmEventCounter>();
        for (QPushButton *button : dialog->cmdReset)
            QVERIFY(!button->isEnabled());
        const QColor offline = dialog->lblTime[0]->palette().color(QPalette::WindowText);
        QVERIFY(rig.connect());
        for (QPushButton *button : dialog->cmdReset)
            QVERIFY(button->isEnabled());
        QVERIFY(dialog->lblTime[0]->palette().color(QPalette::WindowText) != offline);
        QCOMPARE(offline, QColor(0xE0, 0xE0, 0xE0));
    }

    void peakValueUnits()
    {
        DiagnosisRig rig;
        auto *dialog = rig.open<frmMaxValues>();
        rig.setItem("primaryValueUnit", "7");
        rig.setItem("sensorTemperatureUnit", "33");
        QCOMPARE(dialog->lblUnit[0]->text(), QStringLiteral("[bar]"));
        QCOMPARE(dialog->lblUnit[1]->text(), QStringLiteral("[°F]"));
    }

    // Peak values with the places the live displays give them: by the span
    // of the device's measuring range (pressure) and of the sensor limits.
    void peakValuePlaces_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<QString>("upperRange"); // the lower range value is 0
        QTest::addColumn<QString>("pressure");
        QTest::addColumn<QString>("temperature");
        QTest::newRow("span 400") << "en"
                                  << "400"
                                  << "-15.4"
                                  << "23.5";
        QTest::newRow("span 10") << "en"
                                 << "10"
                                 << "-15.429"
                                 << "23.5";
        QTest::newRow("German") << "de"
                                << "400"
                                << "-15,4"
                                << "23,5";
    }
    void peakValuePlaces()
    {
        QFETCH(QString, language);
        QFETCH(QString, upperRange);
        QFETCH(QString, pressure);
        QFETCH(QString, temperature);
        if (language == "de")
            QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        DiagnosisRig rig;
        auto *dialog = rig.open<frmMaxValues>();
        rig.setShadow("scaleInLoLim", "0");
        rig.setShadow("scaleInHiLim", upperRange);
        rig.setItem("sensorMinMaxUserLoLim", "-15.428842");
        rig.setItem("sensorTemperatureMinMaxUserHiLim", "23.456789");
        QCOMPARE(dialog->txtPeak[0][0]->edit()->text(), pressure);
        QCOMPARE(dialog->txtPeak[1][1]->edit()->text(), temperature);
    }

    void peakValueResets_data()
    {
        QTest::addColumn<int>("selector");
        QTest::addColumn<QString>("pressure");
        QTest::addColumn<QString>("temperature");
        QTest::newRow("temperature") << 1 << "-300 350"
                                     << "30 30";
        QTest::newRow("pressure") << 2 << "100 100"
                                  << "-10 60";
    }
    void peakValueResets()
    {
        QFETCH(int, selector);
        QFETCH(QString, pressure);
        QFETCH(QString, temperature);
        DiagnosisRig rig;
        rig.device().setNoiseLevel(0);
        for (double mbar : {-300.0, 350.0, 100.0})
            rig.device().setAppliedPressure(mbar);
        for (double celsius : {-10.0, 60.0, 30.0})
            rig.device().setSensorTemperature(celsius);
        QVERIFY(rig.connect());
        auto *dialog = rig.open<frmMaxValues>();
        QVERIFY(dialog->cmdReset[selector]->isEnabled());

        dialog->cmdReset[selector]->click();

        QCOMPARE(rig.text("resetPeakValues"), QString::number(selector));
        QVERIFY(!rig.main().isEnabled());
        QTRY_VERIFY(rig.main().isEnabled());
        QVERIFY(rig.idle());
        QCOMPARE(rig.text("sensorMinMaxUserLoLim") + ' ' + rig.text("sensorMinMaxUserHiLim"),
                 pressure);
        QCOMPARE(rig.text("sensorTemperatureMinMaxUserLoLim") + ' ' +
                     rig.text("sensorTemperatureMinMaxUserHiLim"),
                 temperature);
        rig.host().instance().connection().disconnectDevice();
        QTRY_VERIFY(!dialog->cmdReset[selector]->isEnabled());
    }
};

VEX_TEST(TstStatusDialogs)
#include "tst_StatusDialogs.moc"
