#include "DialogRig.h"
#include "TestRegistry.h"

#include "DeviceInstance.h"
#include "ItemStore.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "VexAppletItemManager.h"
#include "VexaLabelComboUnit.h"
#include "VexaLabelTextUnit.h"
#include "VexaSequenceItem.h"
#include "VexaText.h"
#include "VexaValueEdit.h"
#include "dialogs/DialogControls.h"
#include "dialogs/frmConfigPrimaryMeas.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>

namespace {

// Connected, with the device's dataset loaded, as a user starts.
bool connectAndLoad(DialogRig &rig)
{
    if (!rig.connect())
        return false;
    rig.form().runMenuCommand("mnuDeviceLoadFromDevice");
    return QTest::qWaitFor(
        [&] { return rig.text("&&private&&CurrentSource") == "2" && rig.settled(); }, 5000);
}

void typeInto(QLineEdit *box, const QString &text)
{
    box->selectAll();
    QTest::keyClicks(box, text);
}

} // namespace

class TstConfigPrimaryMeas : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void offlineForcesValueInput()
    {
        DialogRig rig;
        auto *dialog = rig.open<frmConfigPrimaryMeas>();
        QVERIFY(dialog->IsInitialized());
        QVERIFY(dialog->optWerteingabe->isChecked());
        QVERIFY(!dialog->optProzessdruckuebernahme->isEnabled());
        QVERIFY(!dialog->Cmd_Set_PV_Value->isEnabled());
        QVERIFY(!dialog->cmdParallelShift->isEnabled());
        QVERIFY(dialog->txtScaleInLimEx[0]->isEnabled());
        // Only "Pressure" and "HART Output" are offered.
        QVERIFY(!dialog->tbsOptions->isTabVisible(2));
        QVERIFY(!dialog->tbsOptions->isTabVisible(3));
        // The output page's fields start under each other.
        const int left = dialog->txtMessanfang->rowGeometry().field.left();
        QCOMPARE(dialog->txtMessende->rowGeometry().field.left(), left);
        QCOMPARE(dialog->cmbUnitsOut->rowGeometry().field.left(), left);

        QVERIFY(rig.connect());
        QVERIFY(dialog->optProzessdruckuebernahme->isEnabled());
        QVERIFY(dialog->Cmd_Set_PV_Value->isEnabled());
        QVERIFY(dialog->cmdParallelShift->isEnabled());
        QTest::mouseClick(dialog->optProzessdruckuebernahme, Qt::LeftButton);
        QVERIFY(!dialog->txtScaleInLimEx[1]->isEnabled());
        QVERIFY(dialog->cmdSetPrimaryVariableRangeValue[1]->isEnabled());

        // Losing the connection takes process-pressure transfer away again.
        rig.form().runMenuCommand("mnuDeviceDisconnect");
        QTRY_VERIFY(dialog->optWerteingabe->isChecked());
        QVERIFY(!dialog->cmdSetPrimaryVariableRangeValue[1]->isEnabled());
        QVERIFY(dialog->txtScaleInLimEx[1]->isEnabled());
    }

    // An unedited box writes nothing, however often it is left; Enter
    // twice writes once.
    void rangeEntryCommitsOnce()
    {
        DialogRig rig;
        auto *dialog = rig.open<frmConfigPrimaryMeas>();
        rig.set("scaleInHiLim", "100.123456");
        QTRY_VERIFY(!dialog->txtScaleInLimEx[1]->text().isEmpty());
        const QString exact = rig.text("scaleInHiLim");
        QVERIFY(dialog->txtScaleInLimEx[1]->text() != exact);
        const auto writes = rig.countWrites("scaleInHiLim");
        QLineEdit *box = dialog->txtScaleInLimEx[1];
        QTest::keyClick(box, Qt::Key_Return);
        dialog->CommitRangeEntry(1);
        QCOMPARE(*writes, 0);
        QCOMPARE(rig.text("scaleInHiLim"), exact);

        typeInto(box, "150");
        QTest::keyClick(box, Qt::Key_Return);
        QTest::keyClick(box, Qt::Key_Return);
        QCOMPARE(*writes, 1);
        QCOMPARE(rig.number("scaleInHiLim"), 150.0);
        QCOMPARE(dialog->lastCommittedText(1).toString(), "150");
        // The index beyond the boxes is never used.
        dialog->CommitRangeEntry(3);
        QCOMPARE(*writes, 1);
    }

    // A box emptied and left writes nothing and shows the item's value
    // again: the output scaling (a framework field) and the range entry.
    void emptiedBoxWritesNothing_data()
    {
        QTest::addColumn<QString>("item");
        QTest::addColumn<bool>("framework");
        QTest::newRow("output scaling, lower") << "outScaleLoLim" << true;
        QTest::newRow("lower range value") << "scaleInLoLim" << false;
    }
    void emptiedBoxWritesNothing()
    {
        QFETCH(QString, item);
        QFETCH(bool, framework);
        DialogRig rig;
        ScriptedMessageBox box;
        auto *dialog = rig.open<frmConfigPrimaryMeas>();
        rig.set(item, "-12.5");
        QLineEdit *entry = framework ? static_cast<QLineEdit *>(dialog->txtMessanfang->edit())
                                     : dialog->txtScaleInLimEx[0];
        dialog->tbsOptions->setCurrentIndex(framework ? 1 : 0);
        QTRY_COMPARE(entry->text(), "-12.5");
        const auto writes = rig.countWrites(item);
        rig.form().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&rig.form()));
        entry->setFocus();
        QVERIFY(entry->hasFocus());
        entry->selectAll();
        QTest::keyClick(entry, Qt::Key_Delete);
        QCOMPARE(entry->text(), "");
        dialog->tbsOptions->setFocus(); // leaving the box
        QCOMPARE(*writes, 0);
        QCOMPARE(rig.text(item), "-12.5");
        QCOMPARE(entry->text(), "-12.5");
        QVERIFY(box.asked().isEmpty());
    }

    void keyFilter_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("after");
        QTest::newRow("minus always") << ""
                                      << "-"
                                      << "-";
        QTest::newRow("comma always") << "12"
                                      << ","
                                      << "12,";
        QTest::newRow("digit") << "12"
                               << "5"
                               << "125";
        QTest::newRow("letter refused") << "12"
                                        << "a"
                                        << "12";
        QTest::newRow("digit making no number") << "1.."
                                                << "5"
                                                << "1..";
    }
    void keyFilter()
    {
        QFETCH(QString, before);
        QFETCH(QString, typed);
        QFETCH(QString, after);
        DialogRig rig;
        auto *dialog = rig.open<frmConfigPrimaryMeas>();
        QLineEdit *box = dialog->txtScaleInLimEx[0];
        box->setText(before);
        box->end(false);
        QTest::keyClicks(box, typed);
        QCOMPARE(box->text(), after);
    }

    void freeUnitTextFollowsTheUnit()
    {
        DialogRig rig;
        auto *dialog = rig.open<frmConfigPrimaryMeas>();
        rig.set("outScaleUnit", "253");
        QVERIFY(!dialog->txtFreeUnitText->isHidden());
        rig.set("outScaleUnit", "57");
        QVERIFY(dialog->txtFreeUnitText->isHidden());
    }

    // A value edited and not yet written is underlined in blue; once the host
    // clears the mark it is black again. (This host marks with 0x001; the
    // bits 0x100 and 0x200 of the same mask come from other frames.)
    void changeMarking()
    {
        DialogRig rig;
        auto *dialog = rig.open<frmConfigPrimaryMeas>();
        QLineEdit *box = dialog->txtScaleInLimEx[0];
        QVERIFY(!DialogControls::isMarkedChanged(box));
        typeInto(box, "-50");
        QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(DialogControls::isMarkedChanged(box));
        ItemStore &store = rig.instance().manager()->store();
        store.clearModified(store.indexOf("scaleInLoLim"));
        QVERIFY(!DialogControls::isMarkedChanged(box));
        QCOMPARE(box->palette().color(QPalette::Text), QColor(0, 0, 0));
    }

    // The new upper range value reaches the device; the shift data are read
    // again and no offset is written.
    // The shift data are read again afterwards; when another sequence comes
    // between, the read waits for its end without asking the host again and
    // again meanwhile.
    void upperRangeFromAppliedPressure_data()
    {
        QTest::addColumn<bool>("between");
        QTest::newRow("alone") << false;
        QTest::newRow("another sequence between") << true;
    }
    void upperRangeFromAppliedPressure()
    {
        QFETCH(bool, between);
        DialogRig rig;
        QVERIFY(connectAndLoad(rig));
        rig.device.setAppliedPressure(300);
        auto *dialog = rig.open<frmConfigPrimaryMeas>();
        const auto offsetWrites = rig.countWrites("offsetShiftScaleIn");
        const auto reads = rig.countStarts("GetParallelShiftData");
        const auto shifts = rig.countStarts("PerformOffsetShift");
        const auto infos = rig.countStarts("GetDeviceInfo");
        if (between) {
            rig.onSequence("SetPrimaryVariableUpperRange", [&](bool running) {
                if (!running)
                    QCOMPARE(rig.instance().engine().start("GetDeviceInfo"), 0);
            });
        }
        DeferredStarts deferred(dialog->seqGetParallelShiftData);
        QTest::mouseClick(dialog->optProzessdruckuebernahme, Qt::LeftButton);
        QTest::mouseClick(dialog->cmdSetPrimaryVariableRangeValue[1], Qt::LeftButton);
        QVERIFY(!MainWindow()->isEnabled());
        QTRY_VERIFY(*reads == 1 && dialog->parallelShiftStep() == 0 && rig.settled());
        QCOMPARE(*infos, int(between));
        QCOMPARE(deferred.count, 0);
        QCOMPARE(rig.device.model().settings().upperRangeMbar, 300.0);
        QCOMPARE(rig.number("scaleInHiLim"), 300.0);
        QCOMPARE(*offsetWrites, 0);
        QCOMPARE(*shifts, 0);
        QVERIFY(!dialog->offsetShiftRequested());
    }

    // An unconvertible target stops the shift after the read; the request
    // does not linger for the next re-read.
    void parallelShift()
    {
        DialogRig rig;
        QVERIFY(connectAndLoad(rig));
        rig.device.setAppliedPressure(100);
        auto *dialog = rig.open<frmConfigPrimaryMeas>();
        const auto offsetWrites = rig.countWrites("offsetShiftScaleIn");
        const auto shifts = rig.countStarts("PerformOffsetShift");
        const double lower = rig.device.model().settings().lowerRangeMbar;

        dialog->txtMesswertAktuell->setText("1..5");
        QTest::mouseClick(dialog->cmdParallelShift, Qt::LeftButton);
        QTRY_VERIFY(dialog->parallelShiftStep() == 0 && rig.settled());
        QVERIFY(!dialog->offsetShiftRequested());
        QCOMPARE(*offsetWrites, 0);
        // A range set now re-reads and still writes nothing (span kept).
        rig.device.setAppliedPressure(20);
        QTest::mouseClick(dialog->optProzessdruckuebernahme, Qt::LeftButton);
        QTest::mouseClick(dialog->cmdSetPrimaryVariableRangeValue[0], Qt::LeftButton);
        QTRY_VERIFY(rig.device.model().settings().lowerRangeMbar != lower);
        QTRY_VERIFY(dialog->parallelShiftStep() == 0 && rig.settled());
        QCOMPARE(*offsetWrites, 0);
        QCOMPARE(*shifts, 0);

        // A target in the user's format shifts the range so that the applied
        // pressure reads it.
        QTest::mouseClick(dialog->optWerteingabe, Qt::LeftButton);
        dialog->txtMesswertAktuell->setText(QLocale().toString(25.0));
        QTest::mouseClick(dialog->cmdParallelShift, Qt::LeftButton);
        QTRY_VERIFY(*shifts == 1 && dialog->parallelShiftStep() == 0 && rig.settled());
        const auto &settings = rig.device.model().settings();
        const double percent =
            (20 - settings.lowerRangeMbar) / (settings.upperRangeMbar - settings.lowerRangeMbar);
        QVERIFY(qAbs(percent - 0.25) < 1e-4);
        QVERIFY(!dialog->offsetShiftRequested());
    }

    void zeroShift()
    {
        DialogRig rig;
        QVERIFY(rig.connect());
        rig.device.setAppliedPressure(5);
        auto *dialog = rig.open<frmConfigPrimaryMeas>();
        QTest::mouseClick(dialog->Cmd_Set_PV_Value, Qt::LeftButton);
        QTRY_VERIFY(rig.settled());
        QVERIFY(qAbs(rig.device.model().primaryValue()) < 1e-6);
    }

    // What the output would be for the live pressure under the range typed,
    // beside what it is now (range 0 .. 400 mbar in the device).
    void rerangePreview_data()
    {
        QTest::addColumn<double>("pressure");
        QTest::addColumn<double>("milliamps");
        QTest::addColumn<bool>("warned");
        // New range typed: 100 .. 200 mbar.
        QTest::newRow("below the new range") << 50.0 << -4.0 << true;
        QTest::newRow("inside") << 150.0 << 12.0 << false;
        QTest::newRow("above") << 250.0 << 28.0 << true;
    }
    void rerangePreview()
    {
        QFETCH(double, pressure);
        QFETCH(double, milliamps);
        QFETCH(bool, warned);
        DialogRig rig;
        QVERIFY(connectAndLoad(rig));
        rig.device.setAppliedPressure(pressure);
        auto *dialog = rig.open<frmConfigPrimaryMeas>();
        dialog->txtScaleInLimEx[0]->setText("100");
        dialog->txtScaleInLimEx[1]->setText("200");
        const QLocale locale;
        const QString now = locale.toString(4 + 16 * pressure / 400, 'f', 2) + " mA";
        QTRY_COMPARE(dialog->lblPreviewCurrent[0]->text(), now);
        QCOMPARE(dialog->lblPreviewCurrent[1]->text(), locale.toString(milliamps, 'f', 2) + " mA");
        QCOMPARE(dialog->lblPreviewPercent[1]->text(),
                 locale.toString(pressure - 100, 'f', 1) + " %");
        QCOMPARE(dialog->lblPreviewWarning->text().isEmpty(), !warned);
        // Typing changed nothing: neither the dataset nor the device.
        QCOMPARE(rig.number("scaleInLoLim"), 0.0);
        QCOMPARE(rig.device.model().settings().lowerRangeMbar, 0.0);
    }
};

VEX_TEST(TstConfigPrimaryMeas)
#include "tst_ConfigPrimaryMeas.moc"
