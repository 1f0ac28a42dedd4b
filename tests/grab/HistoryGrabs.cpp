#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"

#include "CompareController.h"
#include "DeviceInstance.h"
#include "ResidentViews.h"
#include "SequenceEngine.h"
#include "VexaLabelTextUnit.h"
#include "VexaValueEdit.h"
#include "dialogs/frmCalibrateCurrent.h"
#include "dialogs/frmCalibratePressure.h"
#include "history/CompareTable.h"
#include "history/HistoryTexts.h"
#include "history/frmCompare.h"
#include "history/frmHistory.h"
#include "history/frmSavePreview.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

template <class T> T *childWindow(frmMain &form)
{
    for (QMdiSubWindow *frame : form.mdiArea()->subWindowList()) {
        if (auto *window = qobject_cast<T *>(frame->widget()))
            return window;
    }
    return nullptr;
}

// Connected, the device read into the dataset, then three values changed.
void prepare(Grabber &grab, MainWindowRig &rig)
{
    grab.require(rig.connect(), QStringLiteral("no connection"));
    QSignalSpy ended(&rig.instance().engine(), &SequenceEngine::sequenceEnded);
    rig.form().runMenuCommand(QStringLiteral("mnuDeviceLoadFromDevice"));
    grab.require(QTest::qWaitFor([&] {
                     const bool uploaded =
                         std::any_of(ended.begin(), ended.end(), [](const auto &e) {
                             return e.first().toString() == QLatin1String("UPLOAD");
                         });
                     return uploaded && rig.idle() && rig.form().isEnabled();
                 }),
                 QStringLiteral("no upload"));
    rig.set(QStringLiteral("filterTime"), QStringLiteral("2.5"));
    rig.set(QStringLiteral("_tagHART"), QStringLiteral("PT-7"));
    rig.set(QStringLiteral("alarmSelection"), QStringLiteral("0"));
}

// An upper balance point and the current output's 4 mA trim, through their
// dialogs, for the change log.
void calibrate(Grabber &grab, MainWindowRig &rig)
{
    frmMain &form = rig.form();
    const auto settled = [&] { return rig.idle() && form.isEnabled(); };
    form.runMenuCommand(QStringLiteral("mnuCalibratePressure"));
    auto *pressure = childWindow<frmCalibratePressure>(form);
    grab.require(
        pressure && QTest::qWaitFor([&] { return !pressure->calPointsReadPending() && settled(); }),
        QStringLiteral("no balance points read"));
    // The reference of the point lies near the pressure applied.
    rig.device.setAppliedPressure(350);
    rig.set(QStringLiteral("calibrationCalHi"), QStringLiteral("352.25"));
    pressure->cmdSetCalPoint[1]->click();
    grab.require(QTest::qWaitFor(settled), QStringLiteral("no balance point set"));

    form.runMenuCommand(QStringLiteral("mnuCalibrateCurrent"));
    auto *current = childWindow<frmCalibrateCurrent>(form);
    grab.require(current && QTest::qWaitFor([&] { return current->IsInitialized() && settled(); }),
                 QStringLiteral("no current calibration"));
    current->optAbgleich[1]->click();
    grab.require(QTest::qWaitFor([&] { return settled() && !current->awaitingOutputResponse(); }),
                 QStringLiteral("no fixed current"));
    QLineEdit *measured = current->txtMeasPvCurrLevel[0]->edit();
    measured->selectAll();
    QTest::keyClicks(measured, QLocale().toString(4.02, 'f', 2));
    QTest::keyClick(measured, Qt::Key_Return);
    current->cmdAbgleichen->click();
    grab.require(QTest::qWaitFor(settled), QStringLiteral("no trim"));
}

} // namespace

VEX_GRAB(grabHistoryWindows, "history",
         "the Compare window with three differences, the preview before Save to device, and "
         "the History window's snapshots and change log")
{
    registerResidentViews();
    registerWorkbenchViews();
    QTemporaryDir dir;
    MainWindowRig rig(
        {QStringLiteral("--history"), dir.filePath(QStringLiteral("history.sqlite"))});
    frmMain &form = rig.form();
    form.resize(1100, 720);
    prepare(grab, rig);

    form.runMenuCommand(QStringLiteral("mnuDeviceCompare"));
    auto *compare = childWindow<frmCompare>(form);
    grab.require(compare, QStringLiteral("no Compare window"));
    grab.require(QTest::qWaitFor([&] {
                     return compare->controller()->differenceCount() == 3 && form.isEnabled();
                 }),
                 QStringLiteral("the differences are not shown"));
    compare->table()->rowOf(QStringLiteral("filterTime"))->setCheckState(0, Qt::Checked);
    compare->parentWidget()->resize(660, 640);
    grab.save(compare->parentWidget()->grab(), QStringLiteral("compare"));

    frmSavePreview preview(historyServiceOf(form.viewRef()), 0, &form);
    grab.save(preview, QStringLiteral("save-preview"));
    preview.close();

    form.runMenuCommand(QStringLiteral("mnuDeviceSaveToDevice"));
    grab.require(QTest::qWaitFor([&] { return rig.idle() && form.isEnabled(); }),
                 QStringLiteral("no download"));
    calibrate(grab, rig);
    form.runMenuCommand(QStringLiteral("mnuDeviceHistory"));
    auto *history = childWindow<frmHistory>(form);
    grab.require(history, QStringLiteral("no History window"));
    grab.require(QTest::qWaitFor([&] { return history->lvwChanges->topLevelItemCount() == 6; }),
                 QStringLiteral("no log entries"));
    history->parentWidget()->resize(1020, 420);
    history->lvwSnapshots->topLevelItem(0)->setSelected(true);
    grab.save(history->parentWidget()->grab(), QStringLiteral("history-snapshots"));
    history->tbsHistory->setCurrentIndex(1);
    grab.save(history->parentWidget()->grab(), QStringLiteral("history-log"));
}
