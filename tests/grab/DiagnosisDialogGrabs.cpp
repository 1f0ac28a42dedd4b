#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"

#include "DeviceInstance.h"
#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "SequenceEngine.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTest>

namespace {

// Opens a dialog through its menu entry on the running program.
QWidget *open(Grabber &grab, MainWindowRig &rig, const char *entry, const char *name)
{
    rig.form().runMenuCommand(QLatin1String(entry));
    for (QMdiSubWindow *frame : rig.form().mdiArea()->subWindowList()) {
        if (frame->widget() && frame->widget()->objectName() == QLatin1String(name))
            return frame->widget();
    }
    grab.require(false, QStringLiteral("%1 did not open").arg(QLatin1String(name)));
    return nullptr;
}

void save(Grabber &grab, MainWindowRig &rig, QWidget *dialog, const QString &name)
{
    grab.require(QTest::qWaitFor([&rig] { return rig.idle() && rig.form().isEnabled(); }, 5000),
                 name + QStringLiteral(": the device stays busy"));
    if (dialog->layout())
        dialog->layout()->activate();
    grab.save(dialog->grab(), name);
}

void click(QWidget *dialog, const char *button)
{
    if (auto *b = dialog->findChild<QAbstractButton *>(QLatin1String(button)))
        b->click();
}

} // namespace

VEX_GRAB(grabDiagnosisDialogs, "diagnosis-dialogs",
         "status simulation, diagnosis configuration, status, event counters, peak values, "
         "basic parameters (every page) and identification on a connected device")
{
    registerResidentViews();
    registerWorkbenchViews();
    MainWindowRig rig;
    rig.form().setCommands(MainWindowCommands::program());
    rig.form().resize(1000, 760);
    ScriptedMessageBox box;
    rig.device.advanceTime(3725 * 1000);
    rig.device.setAppliedPressure(450); // beyond the sensor limits
    rig.device.setSensorTemperature(90);
    grab.require(rig.connect(), QStringLiteral("no connection"));
    rig.form().runMenuCommand(QStringLiteral("mnuDeviceLoadFromDevice"));
    grab.require(QTest::qWaitFor([&rig] { return rig.idle() && rig.form().isEnabled(); }, 5000),
                 QStringLiteral("no upload"));

    box.enqueue(QMessageBox::Yes);
    QWidget *simulate = open(grab, rig, "mnuDiagnosticsSimulateStatus", "frmSimulateStatus");
    click(simulate, "optToggleSimulation1");
    click(simulate, "chkValue0");
    click(simulate, "chkValue21");
    save(grab, rig, simulate, QStringLiteral("frmSimulateStatus"));

    QWidget *configure = open(grab, rig, "mnuConfigureDiagnosis", "frmConfigDiagnosis");
    click(configure, "chkValue11");
    save(grab, rig, configure, QStringLiteral("frmConfigDiagnosis"));

    rig.device.setDiagnosisFaults(TransmitterDiagnosis::Electronics, 0x22);
    QWidget *status = open(grab, rig, "mnuDiagnosticsStatus", "frmStatus");
    click(status, "cmdRefresh");
    save(grab, rig, status, QStringLiteral("frmStatus"));

    QWidget *counters = open(grab, rig, "mnuDiagnosticsEventCounter", "frmEventCounter");
    auto *total = counters->findChild<QLabel *>(QStringLiteral("lblTime4"));
    grab.require(QTest::qWaitFor([total] { return total->text().startsWith("01:02:"); }, 5000),
                 QStringLiteral("no working hours"));
    save(grab, rig, counters, QStringLiteral("frmEventCounter"));

    QWidget *peaks = open(grab, rig, "mnuDiagnosticsMaxValues", "frmMaxValues");
    grab.require(QTest::qWaitFor([&rig] { return rig.text("sensorMinMaxUserHiLim") != "0"; }, 5000),
                 QStringLiteral("no peak values"));
    save(grab, rig, peaks, QStringLiteral("frmMaxValues"));

    QWidget *basic = open(grab, rig, "mnuConfigureBasicParameter", "frmBasicParameter");
    auto *pages = basic->findChild<QTabWidget *>(QStringLiteral("tbsOptions"));
    for (int page = 0; page < pages->count(); ++page) {
        if (!pages->isTabVisible(page))
            continue;
        pages->setCurrentIndex(page);
        save(grab, rig, basic, QStringLiteral("frmBasicParameter-%1").arg(page));
    }

    QWidget *identification = open(grab, rig, "mnuDeviceIdentification", "frmIdentification");
    save(grab, rig, identification, QStringLiteral("frmIdentification"));

    // Leave the device as it was: the simulation ends with the window.
    for (int i = 0; i < 3; ++i)
        box.enqueue(QMessageBox::Yes);
    rig.form().UnloadChildForms();
    grab.require(QTest::qWaitFor([&rig] { return rig.idle(); }, 5000),
                 QStringLiteral("the simulation did not end"));
}
