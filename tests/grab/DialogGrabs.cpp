#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"

#include "DeviceInstance.h"
#include "ResidentViews.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
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

} // namespace

VEX_GRAB(grabDeviceDialogs, "device-dialogs",
         "Device > Configure, Calibrate Pressure, Calibrate Current and Diagnostics > Simulate "
         "Current Output, connected (with a range being typed) and not")
{
    registerResidentViews();
    registerWorkbenchViews();
    for (const bool connected : {false, true}) {
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

        auto *pressure = open<frmCalibratePressure>(rig);
        if (connected)
            waitFor(
                grab, [&] { return !pressure->calPointsReadPending() && rig.idle(); },
                QStringLiteral("no balance points"));
        saveFrame(grab, pressure, QStringLiteral("calibrate-pressure-") + state);

        auto *current = open<frmCalibrateCurrent>(rig);
        saveFrame(grab, current, QStringLiteral("calibrate-current-") + state);
        if (connected) {
            // Held at 20 mA, ready for the meter's reading.
            current->optAbgleich[2]->click();
            waitFor(
                grab, [&] { return rig.idle() && current->optAbgleich[2]->isChecked(); },
                QStringLiteral("no fixed 20 mA"));
            saveFrame(grab, current, QStringLiteral("calibrate-current-20mA"));
            current->optAbgleich[0]->click();
            waitFor(
                grab, [&] { return rig.idle() && !current->awaitingOutputResponse(); },
                QStringLiteral("no return to normal operation"));
        }

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
            simulate->Check1->click();
            waitFor(
                grab,
                [&] {
                    return rig.idle() && simulate->isEnabled() && !simulate->Check1->isChecked();
                },
                QStringLiteral("simulation not ended"));
        }
    }
}
