#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"
#include "ScriptedHartLink.h"

#include "ResidentViews.h"
#include "ScriptedMessageBox.h"
#include "TrendCanvas.h"
#include "generic/GenericConfigurationPage.h"
#include "generic/GenericLoopPage.h"
#include "generic/GenericTrendPage.h"
#include "generic/frmGenericView.h"
#include "hart/HartMaster.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

namespace {

frmGenericView *openView(Grabber &grab, frmMain &form)
{
    form.runMenuCommand(QStringLiteral("mnuDeviceGenericView"));
    frmGenericView *view = nullptr;
    for (QMdiSubWindow *frame : form.mdiArea()->subWindowList()) {
        if (auto *v = qobject_cast<frmGenericView *>(frame->widget()))
            view = v;
    }
    grab.require(view, QStringLiteral("no generic view"));
    grab.require(QTest::qWaitFor([view] {
                     return view->device()->state() == GenericDevice::State::Ready &&
                            !view->device()->isBusy() && view->device()->values().output &&
                            view->device()->values().liveTime.isValid();
                 }),
                 QStringLiteral("the device was not read"));
    return view;
}

bool settled(const frmGenericView *view)
{
    return QTest::qWaitFor([view] { return !view->device()->isBusy(); });
}

// A revision 7 temperature transmitter of another maker, answered byte for
// byte: long tag, and command 48 with maintenance required and a simulation.
void answerRevision7(ScriptedHartLink &link)
{
    const auto hex = [](const char *text) { return QByteArray::fromHex(text); };
    link.answer(0, hex("FE E123 05 07 02 03 10 00 123456 05 04 0007 00 002A 002A 01"));
    link.answer(13, hex("514B74820820 08F24C152820820820820820 010178"));
    link.answer(12, hex("820820820820820820820820820820820820820820820820"));
    link.answer(20, QByteArray("Boiler 4 \xC4u\xDF"
                               "en") +
                        QByteArray(18, '\0'));
    link.answer(16, hex("000001"));
    link.answer(14, hex("000007 20 44548000 C3480000 41200000"));
    link.answer(15, hex("00 00 20 43160000 00000000 40000000 00 FA 00"));
    link.answer(3, hex("41400000 20 42960000 20 41CC0000"));
    link.answer(2, hex("41400000 42480000"));
    link.answer(48, hex("000000000000 01 00 81 00 00 00 00 00 00"), 0, 0x10);
}

} // namespace

VEX_GRAB(grabGenericView, "generic",
         "Device > Generic HART View on the simulated transmitter: its six pages, the loop "
         "test holding 12 mA; and a revision 7 device of another maker (long tag, command 48)")
{
    registerResidentViews();
    registerWorkbenchViews();
    ScriptedMessageBox box;
    MainWindowRig rig;
    frmMain &form = rig.form();
    form.resize(1000, 720);
    grab.require(rig.connect(), QStringLiteral("no connection"));
    frmGenericView *view = openView(grab, form);
    QWidget *frame = view->parentWidget();
    frame->resize(660, 560);
    // A minute of a moving process for the trend.
    rig.device.setProcessDrift(40.0, 1.5, 240.0);
    const char *pages[] = {"generic-identification", "generic-values", "generic-trend",
                           "generic-configuration",  "generic-loop",   "generic-status"};
    for (int page = 0; page < 6; ++page) {
        if (page == 2) {
            TrendView span = view->pageTrend->canvas()->view();
            span.spanMs = 20 * 1000;
            view->pageTrend->canvas()->setView(span);
            grab.require(QTest::qWaitFor(
                             [view, &rig] {
                                 // The device's clock moves only when told.
                                 rig.advanceDeviceClock(100);
                                 return view->pageTrend->recorder().ring(0).size() >= 12;
                             },
                             30000),
                         QStringLiteral("no trend"));
        }
        if (page == 4) {
            box.enqueue(QMessageBox::Yes);
            view->pageLoop->cmdLoopStart->click();
            grab.require(settled(view) && view->device()->heldCurrent(),
                         QStringLiteral("no loop test"));
        }
        view->tbsGeneric->setCurrentIndex(page);
        grab.save(frame->grab(), QLatin1String(pages[page]));
    }
    box.enqueue(QMessageBox::Yes);
    view->cmdClose->click();
    grab.require(QTest::qWaitFor([view] { return !view->isVisible(); }),
                 QStringLiteral("the view did not close"));

    ScriptedHartLink link;
    answerRevision7(link);
    HartMaster master(&link);
    frmGenericView other(&master);
    // Nobody else holds the link: the view finds the device itself.
    other.device()->setHostStatus([] { return 0; });
    other.resize(660, 560);
    other.show();
    grab.require(QTest::qWaitFor([&other] {
                     return other.device()->state() == GenericDevice::State::Ready &&
                            !other.device()->isBusy();
                 }),
                 QStringLiteral("the revision 7 device was not read"));
    grab.save(other, QStringLiteral("generic-revision7-identification"));
    other.tbsGeneric->setCurrentIndex(5);
    grab.save(other, QStringLiteral("generic-revision7-status"));
    other.device()->stop([](const auto &) {});
}
