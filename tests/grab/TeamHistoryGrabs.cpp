#include "GrabRegistry.h"
#include "Grabber.h"
#include "MainWindowRig.h"

#include "CalibrationStore.h"
#include "ChangeLog.h"
#include "FleetList.h"
#include "HistoryDatabase.h"
#include "ResidentViews.h"
#include "history/frmFleet.h"
#include "history/frmHistoryServer.h"
#include "mainwin/clsMainView.h"
#include "mainwin/frmMain.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSettings>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>

namespace {

// Six transmitters of a plant: checked at different times by two
// technicians, one with an interval of its own, one never checked.
void fillFleet(const QString &path)
{
    HistoryDatabase db(path);
    if (db.open() != HistoryDatabase::Status::Open)
        return;
    CalibrationStore checks(db);
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const struct
    {
        const char *device;
        const char *tag;
        int daysAgo;
        double error;
        const char *technician;
        const char *workstation;
    } rows[] = {
        {"3C-9D-000101", "PT-101", 400, 0.08, "ada", "laptop-a"},
        {"3C-9D-000101", "PT-101", 35, 0.17, "bob", "laptop-b"},
        {"3C-9D-000102", "PT-102", 340, -0.05, "ada", "laptop-a"},
        {"3C-9D-000103", "DP-201", 120, 0.31, "bob", "laptop-b"},
        {"3C-9D-000103", "DP-201", 20, 0.12, "bob", "laptop-b"},
        {"3C-9D-000104", "PT-104", 200, 0.02, "ada", "laptop-a"},
        {"3C-9E-000105", "LT-301", 90, 0.11, "bob", "laptop-b"},
    };
    for (const auto &row : rows) {
        CalibrationEntry entry;
        entry.device = QLatin1String(row.device);
        entry.tag = QLatin1String(row.tag);
        entry.checkedAt = now.addDays(-row.daysAgo);
        entry.technician = QLatin1String(row.technician);
        entry.user = entry.technician;
        entry.workstation = QLatin1String(row.workstation);
        entry.asFoundPassed = std::abs(row.error) <= 0.25;
        entry.asLeftPassed = true;
        entry.asFoundError = row.error;
        entry.document = QStringLiteral("{}");
        checks.store(entry);
    }
    FleetList::setInterval(db, QStringLiteral("3C-9D-000104"), 180, QStringLiteral("bob"));
    ChangeEntry seen;
    seen.time = now.addDays(-2);
    seen.user = QStringLiteral("ada");
    seen.workstation = QStringLiteral("laptop-a");
    seen.device = QStringLiteral("3C-9D-000106");
    seen.tag = QStringLiteral("PT-106");
    seen.item = QStringLiteral("Tag");
    seen.newValue = QStringLiteral("PT-106");
    ChangeLog(db).begin({seen});
}

} // namespace

VEX_GRAB(grabTeamHistory, "team-history",
         "the Fleet window (all devices, and those due within 30 days) and the History server "
         "settings")
{
    registerResidentViews();
    registerWorkbenchViews();
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("history.sqlite"));
    fillFleet(path);
    MainWindowRig rig({QStringLiteral("--history"), path});
    frmMain &form = rig.form();
    form.resize(1280, 720);
    form.runMenuCommand(QStringLiteral("mnuDeviceFleet"));
    frmFleet *fleet = nullptr;
    for (QMdiSubWindow *frame : form.mdiArea()->subWindowList()) {
        if (auto *window = qobject_cast<frmFleet *>(frame->widget()))
            fleet = window;
    }
    grab.require(fleet, QStringLiteral("no Fleet window"));
    grab.require(QTest::qWaitFor([&] { return fleet->lvwFleet->topLevelItemCount() == 6; }),
                 QStringLiteral("the devices are not listed"));
    fleet->parentWidget()->resize(1240, 360);
    grab.save(fleet->parentWidget()->grab(), QStringLiteral("fleet"));
    fleet->chkDue->setChecked(true);
    fleet->spnDueDays->setValue(30);
    grab.save(fleet->parentWidget()->grab(), QStringLiteral("fleet-due"));

    QSettings().setValue(QStringLiteral("History/Server"),
                         QStringLiteral("postgresql://ada@history.plant.example:5432/"
                                        "vexhistory?sslmode=require"));
    frmHistoryServer settings(path, &form);
    settings.lblResult->setText(
        settings.tr("The server answers and keeps a history of this version."));
    grab.save(settings, QStringLiteral("history-server"));
    QSettings().remove(QStringLiteral("History/Server"));
}
