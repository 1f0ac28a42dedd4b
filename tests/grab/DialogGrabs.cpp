#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"
#include "MessageBoxPictures.h"

#include "DeviceInstance.h"
#include "ResidentViews.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "VexaLabelTextUnit.h"
#include "VexaValueEdit.h"
#include "dialogs/frmCalibrateCurrent.h"
#include "dialogs/frmCalibratePressure.h"
#include "dialogs/frmConfigPrimaryMeas.h"
#include "dialogs/frmSimulateCurrent.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>
#include <QTabWidget>
#include <QTest>

namespace {

void saveFrame(Grabber &grab, QWidget *dialog, const QString &name)
{
    auto *frame = qobject_cast<QMdiSubWindow *>(dialog->parentWidget());
    grab.require(frame, name + QStringLiteral(": not in the main window"));
    grab.save(frame->grab(), name);
}

template <class Form> Form *open(MainWindowRig &rig)
{
    auto *dialog = new Form;
    rig.form().ShowChildForm(dialog);
    return dialog;
}

// Waits for the program, showing what did not come.
void waitFor(Grabber &grab, const std::function<bool()> &done, const QString &what)
{
    grab.require(QTest::qWaitFor(done, 5000), what);
}

// Types into a framework field and confirms, as leaving it would.
void enter(VexaLabelTextUnit *field, double value)
{
    VexaValueEdit *edit = field->edit();
    edit->setText(QLocale().toString(value));
    edit->setModified(true);
    edit->commit();
}

// The dialogs one by one, online (with their questions answered) or offline.
void grabConfigure(Grabber &grab, MainWindowRig &rig, MessageBoxPictures &boxes, bool connected,
                   const QString &state)
{
    Q_UNUSED(boxes);
    auto *config = open<frmConfigPrimaryMeas>(rig);
    if (connected) {
        waitFor(
            grab, [&] { return config->lblPreviewPressure->text().startsWith("123"); },
            QStringLiteral("no live pressure"));
        // A new range typed, not yet written: the preview shows its effect.
        config->txtScaleInLimEx[1]->setText(QLocale().toString(110.0));
    }
    saveFrame(grab, config, QStringLiteral("configure-pressure-") + state);
    config->tbsOptions->setCurrentIndex(1);
    saveFrame(grab, config, QStringLiteral("configure-output-") + state);
}

void grabCalibratePressure(Grabber &grab, MainWindowRig &rig, MessageBoxPictures &boxes,
                           bool connected, const QString &state)
{
    auto *pressure = open<frmCalibratePressure>(rig);
    if (connected)
        waitFor(
            grab, [&] { return !pressure->calPointsReadPending() && rig.idle(); },
            QStringLiteral("no balance points"));
    saveFrame(grab, pressure, QStringLiteral("calibrate-pressure-") + state);
    if (connected) {
        // A reference far above what the sensor measures: asked, then refused.
        enter(pressure->txtCalPoint[1], 220.0);
        boxes.expect(QStringLiteral("calibrate-pressure-question"), QMessageBox::Yes);
        boxes.expect(QStringLiteral("calibrate-pressure-refused"), QMessageBox::Ok);
        pressure->cmdSetCalPoint[1]->click();
        waitFor(
            grab, [&] { return rig.idle() && !pressure->calibrationInFlight(); },
            QStringLiteral("calibration did not end"));
        // Near what it measures: done, and said so.
        enter(pressure->txtCalPoint[1], 123.5);
        boxes.expect(QString(), QMessageBox::Yes);
        boxes.expect(QStringLiteral("calibrate-pressure-done"), QMessageBox::Ok);
        pressure->cmdSetCalPoint[1]->click();
        waitFor(
            grab,
            [&] { return rig.idle() && !pressure->calibrationInFlight() && boxes.allExpected(); },
            QStringLiteral("no calibration"));
    }
}

void grabCalibrateCurrent(Grabber &grab, MainWindowRig &rig, MessageBoxPictures &boxes,
                          bool connected, const QString &state)
{
    auto *current = open<frmCalibrateCurrent>(rig);
    saveFrame(grab, current, QStringLiteral("calibrate-current-") + state);
    if (connected) {
        // Held at 20 mA once the user agreed, ready for the meter's reading.
        boxes.expect(QStringLiteral("calibrate-current-warning"), QMessageBox::Yes);
        current->optAbgleich[2]->click();
        waitFor(
            grab, [&] { return rig.idle() && current->optAbgleich[2]->isChecked(); },
            QStringLiteral("no fixed 20 mA"));
        saveFrame(grab, current, QStringLiteral("calibrate-current-20mA"));
        enter(current->txtMeasPvCurrLevel[1], 20.02);
        boxes.expect(QStringLiteral("calibrate-current-trimmed"), QMessageBox::Ok);
        current->cmdAbgleichen->click();
        waitFor(
            grab, [&] { return rig.idle() && !current->trimInFlight() && boxes.allExpected(); },
            QStringLiteral("no trim"));
        current->optAbgleich[0]->click();
        waitFor(
            grab, [&] { return rig.idle() && !current->awaitingOutputResponse(); },
            QStringLiteral("no return to normal operation"));
    }
}

void grabSimulate(Grabber &grab, MainWindowRig &rig, MessageBoxPictures &boxes, bool connected,
                  const QString &state)
{
    auto *simulate = open<frmSimulateCurrent>(rig);
    saveFrame(grab, simulate, QStringLiteral("simulate-current-") + state);
    if (connected) {
        simulate->txtStromwert->setText(QLocale().toString(12.5));
        simulate->Check1->click();
        waitFor(
            grab,
            [&] {
                return rig.idle() && simulate->isEnabled() && simulate->Slider1->value() == 125;
            },
            QStringLiteral("no simulation"));
        saveFrame(grab, simulate, QStringLiteral("simulate-current-running"));
        // Closing asks whether to end it (Yes: ended, then closed).
        boxes.expect(QStringLiteral("simulate-current-close"), QMessageBox::Yes);
        simulate->close();
        waitFor(
            grab, [&] { return rig.idle() && !simulate->isVisible(); },
            QStringLiteral("simulation not ended"));
    }
}

} // namespace

VEX_GRAB(grabDeviceDialogs, "device-dialogs",
         "Device > Configure, Calibrate Pressure, Calibrate Current and Diagnostics > Simulate "
         "Current Output, connected (with a range being typed) and not; their questions and "
         "confirmations (a refused calibration, the trim warning and confirmation, closing a "
         "simulation) with the title bar as wide as the box")
{
    registerResidentViews();
    registerWorkbenchViews();
    for (const bool connected : {false, true}) {
        MessageBoxPictures boxes(grab);
        MainWindowRig rig;
        rig.device.setNoiseLevel(0);
        rig.instance().manager()->updateScheduler().setUnitMilliseconds(50);
        rig.form().resize(900, 700);
        const QString state = connected ? QStringLiteral("online") : QStringLiteral("offline");
        if (connected) {
            grab.require(rig.connect(), QStringLiteral("no connection"));
            rig.form().runMenuCommand(QStringLiteral("mnuDeviceLoadFromDevice"));
            waitFor(
                grab, [&] { return rig.text("&&private&&CurrentSource") == "2" && rig.idle(); },
                QStringLiteral("no upload"));
            rig.device.setAppliedPressure(123.4);
        }

        grabConfigure(grab, rig, boxes, connected, state);
        grabCalibratePressure(grab, rig, boxes, connected, state);
        grabCalibrateCurrent(grab, rig, boxes, connected, state);
        grabSimulate(grab, rig, boxes, connected, state);
        grab.require(boxes.allExpected(),
                     QStringLiteral("message boxes not expected: ") + boxes.unexpected());
    }
}
