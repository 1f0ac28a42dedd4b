#include "DialogRig.h"
#include "TestRegistry.h"

#include "DeviceInstance.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "VexaAppItem.h"
#include "VexaLabelTextUnit.h"
#include "VexaSequenceItem.h"
#include "VexaValueEdit.h"
#include "dialogs/frmCalibrateCurrent.h"
#include "dialogs/frmCalibratePressure.h"
#include "dialogs/frmConfigPrimaryMeas.h"
#include "dialogs/frmSimulateCurrent.h"
#include "displays/ctlFixedDigitalDisplay.h"
#include "mainwin/frmMain.h"
#include "mainwin/global.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTest>

namespace {

double fixedCurrent(const DialogRig &rig)
{
    return rig.device.model().fixedCurrent();
}

// The device leaves fixed-current mode through the host, as the dialogs do.
void leaveFixedCurrent(DialogRig &rig)
{
    rig.set("fixedOutputValue", "0");
    QCOMPARE(rig.instance().engine().start("SetActualOutputValue"), 0);
    QTRY_VERIFY(rig.settled());
    QCOMPARE(fixedCurrent(rig), 0.0);
}

// Simulation at 12 mA, running and confirmed.
frmSimulateCurrent *simulating(DialogRig &rig)
{
    auto *dialog = rig.open<frmSimulateCurrent>();
    dialog->txtStromwert->setText("12");
    dialog->Check1->click();
    if (!QTest::qWaitFor([&] { return rig.settled() && fixedCurrent(rig) == 12.0; }))
        qWarning("simulation did not start");
    return dialog;
}

} // namespace

class TstCurrentOutput : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Both end points trimmed by what a meter reads: the output is held only
    // after the user agreed, each press trims once and says what was
    // written, and closing returns to normal operation before the dialog goes.
    void trimAndClose()
    {
        DialogRig rig;
        QVERIFY(rig.connect());
        ScriptedMessageBox box;
        auto *dialog = rig.open<frmCalibrateCurrent>();
        QVERIFY(dialog->optAbgleich[0]->isChecked());
        QVERIFY(!dialog->cmdAbgleichen->isEnabled());
        for (int point : {0, 1}) {
            const double nominal = point == 0 ? 4.0 : 20.0;
            box.clear();
            QTest::mouseClick(dialog->optAbgleich[point + 1], Qt::LeftButton);
            // Asked before the first fixed current only (Yes).
            QCOMPARE(box.asked().size(), 1 - point);
            if (point == 0) {
                QCOMPARE(box.asked()[0].icon, QMessageBox::Warning);
                QCOMPARE(box.asked()[0].buttons, QMessageBox::Yes | QMessageBox::No);
                QCOMPARE(
                    box.asked()[0].text,
                    "Adjusting the output holds the loop current at 4\u00a0mA: the loop will be "
                    "taken out of automatic control, and the current no longer follows the "
                    "pressure.\nHold the current at 4\u00a0mA?");
            }
            QTRY_VERIFY(rig.settled() && !dialog->awaitingOutputResponse());
            QCOMPARE(fixedCurrent(rig), nominal);
            QVERIFY(dialog->optAbgleich[point + 1]->isChecked());
            QVERIFY(dialog->txtMeasPvCurrLevel[point]->isVisibleTo(dialog));
            QVERIFY(!dialog->txtMeasPvCurrLevel[1 - point]->isVisibleTo(dialog));
            QVERIFY(dialog->cmdAbgleichen->isEnabled());
            // A meter reads 0.02 mA more than the device means: the output
            // comes down by that much.
            const double before = rig.device.analogOutputCurrent();
            QLineEdit *measured = dialog->txtMeasPvCurrLevel[point]->edit();
            measured->selectAll();
            QTest::keyClicks(measured, QLocale().toString(nominal + 0.02, 'f', 3));
            QTest::keyClick(measured, Qt::Key_Return);
            const auto trims =
                rig.countStarts(point == 0 ? "SetPvCurrentDacZero" : "SetPvCurrentDacGain");
            box.clear();
            dialog->cmdAbgleichen->click();
            QVERIFY(dialog->trimInFlight() && !dialog->cmdAbgleichen->isEnabled());
            dialog->cmdAbgleichen->click();
            QTRY_COMPARE(box.asked().size(), 1);
            QCOMPARE(
                box.asked()[0].text,
                QString(
                    "The output was trimmed at %1\u00a0mA: the measured current of %2\u00a0mA was "
                    "written to the device.")
                    .arg(nominal)
                    .arg(nominal + 0.02, 0, 'f', 3));
            QTRY_VERIFY(rig.settled());
            QCOMPARE(*trims, 1);
            QVERIFY(dialog->cmdAbgleichen->isEnabled());
            // The reading is used up: pressed again, Adjust corrects nothing.
            QCOMPARE(measured->text(), QString::number(nominal));
            QVERIFY2(qAbs(rig.device.analogOutputCurrent() - (before - 0.02)) < 0.001,
                     qPrintable(QString::number(rig.device.analogOutputCurrent(), 'f', 5)));
        }

        QVERIFY(!dialog->close());
        QVERIFY(dialog->isVisible());
        QTRY_VERIFY(!dialog->isVisible());
        QCOMPARE(fixedCurrent(rig), 0.0);
        QTRY_VERIFY(rig.settled());
    }

    // A held current that is no end point selects normal operation; closing
    // still takes the device out of fixed-current mode.
    void offEndPointSelectsStandardMode()
    {
        DialogRig rig;
        QVERIFY(rig.connect());
        auto *dialog = rig.open<frmCalibrateCurrent>();
        dialog->appFixedOutputValue->setStringValue("4.0001");
        dialog->seqSetActualOutputValue->Force(true);
        QTRY_VERIFY(rig.settled());
        QCOMPARE(float(fixedCurrent(rig)), 4.0001f);
        QVERIFY(dialog->optAbgleich[0]->isChecked());
        QVERIFY(!dialog->cmdAbgleichen->isEnabled());
        QVERIFY(!dialog->close());
        QTRY_VERIFY(!dialog->isVisible());
        QCOMPARE(fixedCurrent(rig), 0.0);
    }

    // The output is not held when the user says No, nor when another
    // sequence runs (then nothing is asked again later, and nothing makes
    // the program busy).
    void outputStaysInNormalOperation_data()
    {
        QTest::addColumn<bool>("answerNo");
        QTest::newRow("No to the warning") << true;
        QTest::newRow("another sequence runs") << false;
    }
    void outputStaysInNormalOperation()
    {
        QFETCH(bool, answerNo);
        DialogRig rig;
        QVERIFY(rig.connect());
        ScriptedMessageBox box;
        auto *dialog = rig.open<frmCalibrateCurrent>();
        const auto sent = rig.countStarts("SetActualOutputValue");
        DeferredStarts deferred(dialog->seqSetActualOutputValue);
        if (answerNo)
            box.enqueue(QMessageBox::No);
        else // a read without a busy window leaves the dialog usable
            QCOMPARE(rig.instance().engine().start("ReadCheckValues"), 0);
        dialog->optAbgleich[1]->click();
        QCOMPARE(box.asked().size(), 1);
        QVERIFY(MainWindow()->isEnabled());
        QCOMPARE(dialog->optAbgleich[0]->isChecked(), answerNo);
        QTRY_VERIFY(rig.settled());
        QCOMPARE(*sent, 0);
        QCOMPARE(deferred.count, 0);
        QCOMPARE(fixedCurrent(rig), 0.0);
    }

    void emptyMeasuredCurrentDoesNothing()
    {
        DialogRig rig;
        QVERIFY(rig.connect());
        ScriptedMessageBox box;
        auto *dialog = rig.open<frmCalibrateCurrent>();
        QTest::mouseClick(dialog->optAbgleich[1], Qt::LeftButton);
        QTRY_VERIFY(rig.settled() && fixedCurrent(rig) == 4.0);
        const auto trims = rig.countStarts("SetPvCurrentDacZero");
        const double offset = rig.device.model().settings().dacOffset;
        dialog->txtMeasPvCurrLevel[0]->edit()->clear();
        QTest::mouseClick(dialog->cmdAbgleichen, Qt::LeftButton);
        QVERIFY(rig.settled());
        QCOMPARE(*trims, 0);
        QCOMPARE(rig.device.model().settings().dacOffset, offset);
        dialog->close();
        QTRY_VERIFY(!dialog->isVisible() && fixedCurrent(rig) == 0.0);
    }

    // Offline nothing of the balance point can be used; the display shows
    // the loop current as the display setting binds it.
    void calibrationOffline()
    {
        DialogRig rig;
        auto *dialog = rig.open<frmCalibrateCurrent>();
        for (QRadioButton *option : dialog->optAbgleich)
            QVERIFY(!option->isEnabled());
        for (VexaLabelTextUnit *measured : dialog->txtMeasPvCurrLevel)
            QVERIFY(!measured->isEnabled());
        QVERIFY(!dialog->cmdAbgleichen->isEnabled());
        QCOMPARE(dialog->lblName->text(), "Current Output");
        QCOMPARE(dialog->displayCtrl->ObjectNameValue(), "actualOutputValue");
        QVERIFY(rig.connect());
        QVERIFY(dialog->optAbgleich[1]->isEnabled());
        QVERIFY(dialog->txtMeasPvCurrLevel[0]->isEnabled());
        QVERIFY(!dialog->cmdAbgleichen->isEnabled());
    }

    void addressAboveZeroCloses_data()
    {
        QTest::addColumn<bool>("simulation");
        QTest::newRow("calibration") << false;
        QTest::newRow("simulation") << true;
    }
    void addressAboveZeroCloses()
    {
        QFETCH(bool, simulation);
        DialogRig rig;
        QVERIFY(rig.connect());
        QWidget *dialog = simulation ? static_cast<QWidget *>(rig.open<frmSimulateCurrent>())
                                     : rig.open<frmCalibrateCurrent>();
        QVERIFY(dialog->isVisible());
        rig.set("&&private_PM&&Address", "3");
        QTRY_VERIFY(!dialog->isVisible());
    }

    // After leaving was asked and refused by a busy device, the next close
    // says so and closes.
    void stillFixedAfterLeaving_data()
    {
        // The current held: 0 for a simulation at 12 mA.
        QTest::addColumn<QString>("held");
        QTest::newRow("calibration at 20 mA") << "20";
        // Standard Mode is selected although the output stays fixed.
        QTest::newRow("calibration off an end point") << "4.0001";
        QTest::newRow("simulation") << "0";
    }
    void stillFixedAfterLeaving()
    {
        QFETCH(QString, held);
        DialogRig rig;
        QVERIFY(rig.connect());
        ScriptedMessageBox box;
        QWidget *dialog = nullptr;
        if (held == "0") {
            auto *simulate = simulating(rig);
            dialog = simulate;
            box.enqueue(QMessageBox::Yes);
        } else {
            auto *calibrate = rig.open<frmCalibrateCurrent>();
            calibrate->appFixedOutputValue->setStringValue(held);
            calibrate->seqSetActualOutputValue->Force(true);
            QTRY_VERIFY(rig.settled() && float(fixedCurrent(rig)) == held.toFloat());
            QCOMPARE(calibrate->optAbgleich[2]->isChecked(), held == "20");
            dialog = calibrate;
        }
        rig.device.injectBusy(3);
        box.enqueue(QMessageBox::Cancel); // the device's busy answer
        QVERIFY(!dialog->close());
        QTRY_VERIFY(rig.settled());
        rig.device.clearFaults();
        QVERIFY(dialog->isVisible());
        QVERIFY(fixedCurrent(rig) > 0);

        box.clear();
        QVERIFY(dialog->close());
        QCOMPARE(box.asked().size(), 1);
        QCOMPARE(box.asked()[0].text, "Fixed Current Mode could not be deactivated!");
        QCOMPARE(box.asked()[0].title, dialog->windowTitle() + " Close");
        leaveFixedCurrent(rig);
    }

    void simulationValueEntry_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("slider");
        QTest::newRow("above") << "25"
                               << "23.6" << 236;
        QTest::newRow("below") << "1"
                               << "3.6" << 36;
        QTest::newRow("inside") << "12.34"
                                << "12.34" << 123;
        QTest::newRow("lower limit") << "3.6"
                                     << "3.6" << 36;
    }
    void simulationValueEntry()
    {
        QFETCH(QString, typed);
        QFETCH(QString, shown);
        QFETCH(int, slider);
        DialogRig rig;
        auto *dialog = rig.open<frmSimulateCurrent>();
        QCOMPARE(dialog->Slider1->minimum(), 36);
        dialog->txtStromwert->clear();
        QTest::keyClicks(dialog->txtStromwert, typed + "-x");
        QCOMPARE(dialog->txtStromwert->text(), typed);
        dialog->txtStromwert_Validate();
        QCOMPARE(dialog->txtStromwert->text(), shown);
        QCOMPARE(dialog->Slider1->value(), slider);
    }

    // The simulation reaches the device and shows what it drives; closing
    // while the sequence runs is refused.
    void simulationAndRunningClose()
    {
        DialogRig rig;
        QVERIFY(rig.connect());
        auto *dialog = rig.open<frmSimulateCurrent>();
        dialog->Slider1->setValue(150);
        QCOMPARE(dialog->txtStromwert->text(), "15.0");
        QVERIFY(dialog->Check1->isEnabled());
        dialog->Check1->click();
        QVERIFY(dialog->sequenceRunning());
        QVERIFY(!dialog->close());
        QVERIFY(dialog->isVisible());
        QTRY_VERIFY(rig.settled() && !dialog->sequenceRunning() && dialog->isEnabled());
        QCOMPARE(fixedCurrent(rig), 15.0);
        QCOMPARE(rig.device.loopCurrent(), 15.0);
        QVERIFY(!dialog->txtStromwert->isEnabled());

        dialog->Check1->click();
        QTRY_VERIFY(rig.settled() && fixedCurrent(rig) == 0.0);
        QVERIFY(!dialog->Check1->isChecked());
        QVERIFY(dialog->close());
    }

    void closingASimulation_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("stillFixed");
        QTest::newRow("Yes ends it and closes") << int(QMessageBox::Yes) << true << false;
        QTest::newRow("No leaves it running") << int(QMessageBox::No) << true << true;
        QTest::newRow("Cancel stays") << int(QMessageBox::Cancel) << false << true;
    }
    void closingASimulation()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        QFETCH(bool, stillFixed);
        DialogRig rig;
        QVERIFY(rig.connect());
        ScriptedMessageBox box;
        auto *dialog = simulating(rig);
        QVERIFY(dialog->Check1->isChecked());
        // The answer to leaving only ends the wait: the dialog closes on the
        // one after it, which it asks the device for.
        QStringList handshake;
        rig.onSequence("SetActualOutputValue", [&](bool running) {
            if (!running)
                handshake << QString("left, open: %1").arg(dialog->isVisible());
        });
        rig.onSequence("ReadCheckValues", [&](bool running) {
            if (running)
                handshake << QString("asked again, open: %1").arg(dialog->isVisible());
        });
        box.enqueue(QMessageBox::StandardButton(answer));
        dialog->close();
        QCOMPARE(box.asked().size(), 1);
        QCOMPARE(box.asked()[0].text, "Terminate Simulation?");
        QCOMPARE(box.asked()[0].title, "Simulate Current Output Close");
        QCOMPARE(box.asked()[0].buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        QTRY_VERIFY(rig.settled());
        QTRY_COMPARE(dialog->isVisible(), !closes);
        if (answer == QMessageBox::Yes)
            QCOMPARE(handshake, QStringList({"left, open: 1", "asked again, open: 1"}));
        QCOMPARE(fixedCurrent(rig) > 0, stillFixed);
        if (stillFixed)
            leaveFixedCurrent(rig);
    }

    // The menu opens one instance of each dialog; the simulation only after
    // the user agreed to move the loop.
    void menuEntries()
    {
        DialogRig rig;
        QVERIFY(rig.connect());
        ScriptedMessageBox box;
        for (const char *entry :
             {"mnuConfigurePrimaryMeasurement", "mnuCalibratePressure", "mnuCalibrateCurrent"}) {
            rig.form().runMenuCommand(entry);
            rig.form().runMenuCommand(entry);
        }
        QTRY_VERIFY(rig.settled());
        QCOMPARE(rig.form().findChildren<frmCalibrateCurrent *>().size(), 1);
        QVERIFY(rig.form().findChild<frmCalibrateCurrent *>()->isVisible());
        box.enqueue(QMessageBox::No);
        rig.form().runMenuCommand("mnuDiagnosticsSimulateCurrent");
        QVERIFY(!rig.form().findChild<frmSimulateCurrent *>());
        QCOMPARE(box.asked().size(), 1);
        QVERIFY(box.asked()[0].text.startsWith("The simulation of the output-signal influences"));
        QCOMPARE(box.asked()[0].icon, QMessageBox::Warning);
        box.enqueue(QMessageBox::Yes);
        rig.form().runMenuCommand("mnuDiagnosticsSimulateCurrent");
        QVERIFY(rig.form().findChild<frmSimulateCurrent *>()->isVisible());
        QVERIFY(rig.form().findChild<frmConfigPrimaryMeas *>()->IsInitialized());
        QVERIFY(rig.form().findChild<frmCalibratePressure *>()->IsInitialized());
        // Each opens wide and high enough for what it shows.
        for (QMdiSubWindow *frame : rig.form().findChildren<QMdiSubWindow *>()) {
            const QSize wanted = frame->sizeHint();
            QVERIFY2(frame->width() >= wanted.width() && frame->height() >= wanted.height(),
                     qPrintable(frame->widget()->objectName()));
        }
    }

    // A simulation left running ("No" on closing) or open is shown again by
    // its menu entry, without the question before a new one.
    void reopeningARunningSimulation()
    {
        DialogRig rig;
        QVERIFY(rig.connect());
        ScriptedMessageBox box;
        box.enqueue(QMessageBox::Yes);
        rig.form().runMenuCommand("mnuDiagnosticsSimulateCurrent");
        auto *dialog = rig.form().findChild<frmSimulateCurrent *>();
        QVERIFY(dialog && dialog->isVisible());
        dialog->txtStromwert->setText("12");
        dialog->Check1->click();
        QTRY_VERIFY(rig.settled() && fixedCurrent(rig) == 12.0);
        rig.form().runMenuCommand("mnuDiagnosticsSimulateCurrent");
        QCOMPARE(box.asked().size(), 1);
        box.enqueue(QMessageBox::No);
        QVERIFY(dialog->close());
        QVERIFY(!dialog->isVisible());

        box.clear();
        rig.form().runMenuCommand("mnuDiagnosticsSimulateCurrent");
        QVERIFY(dialog->isVisible());
        QCOMPARE(box.asked().size(), 0);
        QCOMPARE(rig.form().findChildren<frmSimulateCurrent *>().size(), 1);
        QTRY_VERIFY(dialog->Check1->isChecked());
        QCOMPARE(fixedCurrent(rig), 12.0);
        leaveFixedCurrent(rig);
    }

    // The title bar of the real box has room for the whole title.
    void closeQuestionShowsItsTitle()
    {
        MessageBoxRequest request;
        request.title = "Simulate Current Output Close";
        request.text = "Terminate Simulation?";
        const auto real = QtMessageBoxSeam::build(nullptr, request);
        real->show();
        const QFontMetrics title(QtMessageBoxSeam::titleFont(*real));
        QVERIFY(real->width() >=
                title.horizontalAdvance(request.title) + QtMessageBoxSeam::titleBarReserve(title));
    }

    void offlineClosesAtOnce()
    {
        DialogRig rig;
        ScriptedMessageBox box;
        auto *dialog = rig.open<frmSimulateCurrent>();
        QVERIFY(!dialog->Check1->isEnabled());
        QVERIFY(dialog->close());
        QVERIFY(box.asked().isEmpty());
    }
};

VEX_TEST(TstCurrentOutput)
#include "tst_CurrentOutput.moc"
