#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"

#include "DeviceInstance.h"
#include "ResidentViews.h"
#include "TrendCanvas.h"
#include "UpdateScheduler.h"
#include "VexAppletItemManager.h"
#include "VexaPlotter.h"
#include "displays/ctlDigitalDisplay.h"
#include "displays/ctlDisplaySetting.h"
#include "displays/frmDisplayDigital.h"
#include "displays/frmDisplayTrend.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QAction>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

namespace {

QMdiSubWindow *frameOf(frmMain &form, const char *name)
{
    for (QMdiSubWindow *frame : form.mdiArea()->subWindowList()) {
        if (frame->widget()->objectName() == QLatin1String(name))
            return frame;
    }
    return nullptr;
}

struct Window
{
    const char *name;
    QSize small; // 0 keeps the window's own size or height
    QSize large;
};

const Window Windows[] = {{"frmDisplayNeedle", {240, 260}, {520, 540}},
                          {"frmDisplayBar", {190, 300}, {360, 620}},
                          {"frmDisplayDigital", {200, 0}, {640, 0}},
                          {"frmDisplayTrend", {520, 340}, {1100, 600}},
                          {"frmMeasuredValues", {0, 0}, {0, 0}}};

void grabWindows(Grabber &grab, frmMain &form, const QString &state, bool small, bool large)
{
    for (const Window &w : Windows) {
        QMdiSubWindow *frame = frameOf(form, w.name);
        grab.require(frame, QStringLiteral("no window ") + QLatin1String(w.name));
        for (const auto &[size, label] :
             {std::pair{w.small, "small"}, std::pair{w.large, "large"}}) {
            if ((QLatin1String(label) == QLatin1String("small") && !small) ||
                (QLatin1String(label) == QLatin1String("large") && !large))
                continue;
            if (size.width() > 0)
                frame->resize(size.width(), size.height() > 0 ? size.height() : frame->height());
            QCoreApplication::processEvents();
            grab.save(frame->grab(), QStringLiteral("%1-%2-%3").arg(w.name, label, state));
        }
    }
}

} // namespace

VEX_GRAB(grabDisplays, "displays",
         "the five display windows with live values, small and large, normal, in alarm and "
         "not connected, and the main window with its device summary")
{
    registerResidentViews();
    registerWorkbenchViews();
    MainWindowRig rig;
    rig.instance().manager()->updateScheduler().setUnitMilliseconds(50);
    rig.form().resize(1400, 1000);
    const TransmitterSettings &range = rig.device.model().settings();
    const double span = range.upperRangeMbar - range.lowerRangeMbar;
    rig.device.setAppliedPressure(range.lowerRangeMbar + 0.6 * span);
    // The rig's device clock stands still; the process moves on the wall clock here.
    rig.device.setRealTimeClock(true);
    rig.device.setProcessDrift(0.25 * span, 2, 4);
    grab.require(rig.connect(), QStringLiteral("no connection"));
    for (const char *entry : {"mnuDisplayGauge", "mnuDisplayBar", "mnuDisplayDigital",
                              "mnuDisplayTrend", "mnuDisplayMeasuredValues"})
        rig.form().runMenuCommand(entry);
    grab.require(QTest::qWaitFor([&] { return rig.idle(); }), QStringLiteral("still busy"));
    auto *trend = qobject_cast<frmDisplayTrend *>(frameOf(rig.form(), "frmDisplayTrend")->widget());
    TrendView view;
    view.spanMs = 6000;
    view.follow(QDateTime::currentMSecsSinceEpoch());
    trend->plotter->canvas()->setView(view);
    // Some seconds of a moving process.
    grab.require(
        QTest::qWaitFor([&] { return trend->plotter->recorder().ring(0).size() > 80; }, 30000),
        QStringLiteral("no trend"));
    grabWindows(grab, rig.form(), QStringLiteral("normal"), true, true);
    rig.form().childWindows().cascade();
    grab.save(rig.form().grab(), QStringLiteral("displays-main-normal"));

    // Beyond the sensor the device fails and puts out its alarm current.
    rig.device.setProcessDrift(0, 0, 0);
    rig.device.setAppliedPressure(range.upperRangeMbar * 10);
    auto *digital =
        qobject_cast<frmDisplayDigital *>(frameOf(rig.form(), "frmDisplayDigital")->widget());
    grab.require(QTest::qWaitFor([&] { return !digital->displayCtrl->limitCode().isEmpty(); }),
                 QStringLiteral("no alarm"));
    grabWindows(grab, rig.form(), QStringLiteral("alarm"), false, true);

    rig.form().runMenuCommand("mnuDeviceDisconnect");
    grab.require(QTest::qWaitFor([&] { return rig.text("&&private&&Connect") == "0"; }),
                 QStringLiteral("still connected"));
    grabWindows(grab, rig.form(), QStringLiteral("disconnected"), true, false);
    grab.save(rig.form().grab(), QStringLiteral("displays-main-disconnected"));
}

VEX_GRAB(grabTrend, "trend",
         "the trend with four curves of different units, a gap, a stretch the device flags, "
         "values below the scale, a marker with a note at the cursor, and the exported picture")
{
    registerResidentViews();
    registerWorkbenchViews();
    MainWindowRig rig;
    rig.instance().manager()->updateScheduler().setUnitMilliseconds(50);
    rig.form().resize(1400, 1000);
    const TransmitterSettings &range = rig.device.model().settings();
    const double span = range.upperRangeMbar - range.lowerRangeMbar;
    const auto process = [&](double share, double drift) {
        rig.device.setProcessDrift(drift * span, drift * 10, 3);
        rig.device.setAppliedPressure(range.lowerRangeMbar + share * span);
    };
    rig.device.setRealTimeClock(true);
    process(0.5, 0.3);
    grab.require(rig.connect(), QStringLiteral("no connection"));
    rig.form().runMenuCommand("mnuDisplayTrend");
    grab.require(QTest::qWaitFor([&] { return rig.idle(); }), QStringLiteral("still busy"));
    QMdiSubWindow *frame = frameOf(rig.form(), "frmDisplayTrend");
    grab.require(frame, QStringLiteral("no trend window"));
    auto *trend = qobject_cast<frmDisplayTrend *>(frame->widget());
    // The fourth curve on the sensor's temperature: four units.
    trend->cmbMeasValue[3]->setCurrentIndex(4);
    trend->ctlDisplaySettings[3]->ChangeDisplayedValue();
    frame->resize(1100, 600);
    const auto now = [] { return QDateTime::currentMSecsSinceEpoch(); };
    const qint64 start = now();
    QTest::qWait(3000);
    // Unanswered reads: a gap.
    rig.device.injectNoAnswer(8);
    QTest::qWait(1500);
    const qint64 marked = now() - 500;
    // Far beyond the sensor: the device fails.
    process(10.0, 0.0);
    QTest::qWait(2000);
    // Below the range: the percentage leaves its scale.
    process(-0.4, 0.0);
    QTest::qWait(2000);
    process(0.5, 0.3);
    QTest::qWait(1500);

    VexaPlotter &plotter = *trend->plotter;
    plotter.pause();
    TrendView view;
    view.endMs = now() + 500;
    view.spanMs = view.endMs - start + 500;
    view.live = false;
    plotter.canvas()->setView(view);
    plotter.canvas()->setPlacedCursor(marked);
    plotter.findChild<QLineEdit *>()->setText(grab.german()
                                                  ? QStringLiteral("Ventil geöffnet, Messung B")
                                                  : QStringLiteral("valve opened, run B"));
    plotter.findChild<QAction *>(QStringLiteral("marker"))->trigger();
    QCoreApplication::processEvents();
    QTest::qWait(100);
    grab.save(frame->grab(), QStringLiteral("trend-large"));
    frame->resize(520, 340);
    QTest::qWait(100);
    grab.save(frame->grab(), QStringLiteral("trend-small"));
    frame->resize(1100, 600);
    QTest::qWait(100);
    grab.save(QPixmap::fromImage(plotter.picture()), QStringLiteral("trend-picture"));
    // Closer, the temperature's scale on the axis: the hatched stretches and
    // the arrows where values leave the scale.
    view.endMs = marked + 4500;
    view.spanMs = 5000;
    plotter.canvas()->setView(view);
    plotter.setAxisCurve(3);
    QTest::qWait(100);
    grab.save(frame->grab(), QStringLiteral("trend-zoomed"));
}
