#include "GrabRegistry.h"
#include "Grabber.h"
#include "SampleDialog.h"
#include "TestHost.h"

#include "DeviceDescription.h"
#include "ResStringTable.h"
#include "VexAppletItemManager.h"
#include "VexaAppItem.h"
#include "ctlBusyWindow.h"
#include "frmBusyWindow.h"
#include "mainwin/Toolkit_LoadResource.h"

#include <QPainter>
#include <QTest>
#include <QVBoxLayout>

VEX_GRAB(grabFrame, "frame", "a sample dialog of the dialog frame and the busy window over it")
{
    InstallProgramStringTable(std::make_shared<ResStringTable>(
        ResStringTable::fromTsv(QByteArray(SampleDialog::Strings))));
    const auto restore = qScopeGuard([] { InstallProgramStringTable(nullptr); });
    TestHost host(testhost::builtInDescription());
    testhost::setDataset(*host.manager(), "scaleInLoLim", "-0.25");
    testhost::setDataset(*host.manager(), "deviceMessage", "LINE 2 PUMP");
    SampleView view(host.manager());

    QWidget hostWindow;
    hostWindow.setGeometry(50, 50, 640, 360);
    auto *layout = new QVBoxLayout(&hostWindow);
    auto *dialog = new SampleDialog(&hostWindow);
    dialog->setViewRef(&view);
    dialog->appMessage->setAppItemName("deviceMessage");
    layout->addWidget(dialog);
    auto *busyControl = new ctlBusyWindow(&hostWindow);
    busyControl->setDesignMode(false);
    QObject::connect(busyControl, &ctlBusyWindow::DisableWindow, &hostWindow,
                     [&hostWindow] { hostWindow.setEnabled(false); });
    QObject::connect(busyControl, &ctlBusyWindow::EnableWindow, &hostWindow,
                     [&hostWindow] { hostWindow.setEnabled(true); });
    hostWindow.show();
    grab.require(QTest::qWaitForWindowExposed(&hostWindow), QStringLiteral("host not shown"));
    grab.save(dialog->grab(), QStringLiteral("sample-dialog"));

    busyControl->Register(host.manager());
    testhost::setDataset(*host.manager(), "currentSequence", "UPLOAD");
    testhost::setDataset(*host.manager(), "&&Sequence_Progress&&UPLOAD", "40");
    frmBusyWindow &busy = *busyControl->busyWindow();
    grab.require(busy.isVisible() && QTest::qWaitForWindowExposed(&busy),
                 QStringLiteral("busy window not shown"));

    // Offscreen windows have no desktop: lay the busy window over its host.
    QPixmap scene = hostWindow.grab();
    QPainter painter(&scene);
    const QPoint at = busy.geometry().topLeft() - hostWindow.geometry().topLeft();
    painter.drawPixmap(at, busy.grab());
    painter.setPen(Qt::darkGray);
    painter.drawRect(QRect(at, busy.size()).adjusted(0, 0, -1, -1));
    painter.end();
    grab.save(scene, QStringLiteral("busy-over-host"));

    testhost::setDataset(*host.manager(), "currentResponseCode", "01 20 00");
    grab.save(busy.grab(), QStringLiteral("busy-device-busy"));
}
