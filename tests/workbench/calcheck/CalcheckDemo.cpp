#include "CalcheckDemo.h"

#include "MainWindowRig.h"

#include "DeviceInstance.h"
#include "ResidentViews.h"
#include "VexAppletItemManager.h"
#include "calcheck/CalcheckController.h"
#include "calcheck/CalcheckSource.h"
#include "calcheck/frmCalcheck.h"
#include "clsSequenceItem.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QDateEdit>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

namespace CalcheckDemo {

namespace {

bool runPoints(frmCalcheck &wizard, int points = -1)
{
    CalcheckController &controller = *wizard.controller();
    if (controller.pointIndex() == 0) {
        QSignalSpy rangeRead(&controller, &CalcheckController::rangeRead);
        if (!rangeRead.wait(5000))
            return false;
    }
    for (int done = 0; controller.isRunActive() && done != points; ++done) {
        QSignalSpy recorded(&controller, &CalcheckController::pointRecorded);
        QSignalSpy failed(&controller, &CalcheckController::pointFailed);
        QTest::mouseClick(wizard.cmdMeasure, Qt::LeftButton);
        if (!QTest::qWaitFor([&] { return !recorded.isEmpty() || !failed.isEmpty(); }, 5000) ||
            !failed.isEmpty())
            return false;
    }
    return true;
}

} // namespace

void registerViews()
{
    static const bool once = [] {
        registerResidentViews();
        registerWorkbenchViews();
        return true;
    }();
    Q_UNUSED(once);
}

std::shared_ptr<void> defaultSimulator(MainWindowRig &rig)
{
    rig.device.setLivelyProcess();
    return CalcheckSource::installWhile(rig.link(), HartLinkProfile::Kind::Simulator,
                                        CalcheckSource::of(rig.device));
}

frmCalcheck *open(MainWindowRig &rig)
{
    rig.form().runMenuCommand(QStringLiteral("mnuCalibrateCheck"));
    QMdiSubWindow *frame = rig.form().mdiArea()->activeSubWindow();
    auto *wizard = frame ? qobject_cast<frmCalcheck *>(frame->widget()) : nullptr;
    if (!wizard || !wizard->controller())
        return nullptr;
    // One time for both, so that the source settles as the wizard watches.
    auto now = std::make_shared<qint64>(0);
    wizard->controller()->setClock([now] { return *now += 250; });
    rig.device.setClock([now] { return *now * 1'000'000; });
    wizard->controller()->setPollInterval(0);
    return wizard;
}

bool finishRun(MainWindowRig &, frmCalcheck &wizard)
{
    return runPoints(wizard) && wizard.page() == frmCalcheck::AdjustPage;
}

bool runAsFound(MainWindowRig &rig, frmCalcheck &wizard, int points)
{
    rig.device.injectZeroError(1.6); // 0.4 % of the 400 mbar span
    wizard.txtReferenceName->setText(QStringLiteral("Pressure calibrator PC-600"));
    wizard.txtReferenceSerial->setText(QStringLiteral("PC6-20417"));
    wizard.txtReferenceDue->setDate(QDate(2027, 6, 30));
    wizard.txtTechnician->setText(QStringLiteral("R. Lindqvist"));
    QTest::mouseClick(wizard.cmdStartAsFound, Qt::LeftButton);
    if (points >= 0)
        return runPoints(wizard, points);
    return finishRun(rig, wizard);
}

bool adjustAndRunAsLeft(MainWindowRig &rig, frmCalcheck &wizard)
{
    // The as-found run ended at 0 %: the source holds the zero's pressure.
    clsSequenceItem zero;
    zero.Register(rig.instance().manager(), QStringLiteral("SetPvZeroAlignment"), false, 0, 1);
    bool done = false;
    QObject::connect(&zero, &clsSequenceItem::StatusChanged, &zero,
                     [&done](qint32 &status) { done = done || status == 0; });
    zero.Start();
    if (!QTest::qWaitFor([&done] { return done; }, 5000))
        return false;
    QTest::mouseClick(wizard.cmdStartAsLeft, Qt::LeftButton);
    return runPoints(wizard) && wizard.page() == frmCalcheck::ResultPage;
}

} // namespace CalcheckDemo
