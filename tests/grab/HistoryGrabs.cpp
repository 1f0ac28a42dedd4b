#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"

#include "CompareController.h"
#include "DeviceInstance.h"
#include "ResidentViews.h"
#include "SequenceEngine.h"
#include "history/CompareTable.h"
#include "history/HistoryTexts.h"
#include "history/frmCompare.h"
#include "history/frmHistory.h"
#include "history/frmSavePreview.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QMdiArea>
#include <QMdiSubWindow>
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
    form.resize(980, 720);
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
    form.runMenuCommand(QStringLiteral("mnuDeviceHistory"));
    auto *history = childWindow<frmHistory>(form);
    grab.require(history, QStringLiteral("no History window"));
    grab.require(QTest::qWaitFor([&] { return history->lvwChanges->topLevelItemCount() == 3; }),
                 QStringLiteral("no log entries"));
    history->parentWidget()->resize(900, 420);
    history->lvwSnapshots->topLevelItem(0)->setSelected(true);
    grab.save(history->parentWidget()->grab(), QStringLiteral("history-snapshots"));
    history->tbsHistory->setCurrentIndex(1);
    grab.save(history->parentWidget()->grab(), QStringLiteral("history-log"));
}
