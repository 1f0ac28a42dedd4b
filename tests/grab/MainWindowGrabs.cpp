#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"

#include "ResidentViews.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QCoreApplication>
#include <QMenu>
#include <QSettings>
#include <QTest>

namespace {

void saveMenu(Grabber &grab, frmMain &form, const char *menuName, const QString &name)
{
    auto *menu = form.findChild<QMenu *>(QLatin1String(menuName));
    grab.require(menu, QStringLiteral("no menu ") + QLatin1String(menuName));
    menu->popup(form.mapToGlobal(QPoint(20, 40)));
    grab.require(QTest::qWaitForWindowExposed(menu), name + QStringLiteral(": menu not shown"));
    grab.save(menu->grab(), name);
    menu->hide();
}

} // namespace

VEX_GRAB(grabMainWindow, "main-window",
         "the main window at first start (as placed on an 800 x 600 screen), then with its "
         "Device, File and Diagnostics menus, connected and not")
{
    registerResidentViews();
    registerWorkbenchViews();
    {
        // Nothing stored, as the program keeps it.
        const QString app = QCoreApplication::applicationName();
        const QString organization = QCoreApplication::organizationName();
        QSettings(QSettings::UserScope, organization.isEmpty() ? app : organization, app)
            .remove(QStringLiteral("Settings"));
        MainWindowRig rig;
        grab.save(rig.form(), QStringLiteral("main-first-start"));
    }
    for (const bool connected : {false, true}) {
        MainWindowRig rig;
        frmMain &form = rig.form();
        form.resize(760, 520);
        if (connected)
            grab.require(rig.connect(), QStringLiteral("no connection"));
        const QString state =
            connected ? QStringLiteral("connected") : QStringLiteral("disconnected");
        grab.save(form, QStringLiteral("main-") + state);
        saveMenu(grab, form, "mnuDevice", QStringLiteral("menu-device-") + state);
        saveMenu(grab, form, "mnuFile", QStringLiteral("menu-file-") + state);
        saveMenu(grab, form, "mnuDiagnostics", QStringLiteral("menu-diagnostics-") + state);
    }
}
