#include "LinkCommands.h"

#include "Applet.h"
#include "AppletItemManager.h"
#include "FileChooser.h"
#include "IViewEx.h"
#include "LinkSettingsController.h"
#include "MessageBoxSeam.h"
#include "VexaAppItem.h"
#include "frame/DeviceFrame.h"
#include "frmConnectionSettings.h"
#include "hart/ProfiledHartLink.h"
#include "mainwin/MainCommandTable.h"
#include "mainwin/Toolkit_LoadResource.h"
#include "mainwin/frmMain.h"

#include <QAction>

namespace {

constexpr const char *SettingsEntry = "mnuDeviceConnectionSettings";
constexpr const char *RecordEntry = "mnuDeviceTrafficRecord";

bool connected(const frmMain &main)
{
    return main.appConnectionStatus->StringValue().trimmed() != QLatin1String("0");
}

void cannotChange(frmMain &main)
{
    MessageBoxSeam::show(&main, QMessageBox::Information, main.windowTitle(), GetResText(6142));
}

void openSettings(frmMain &main)
{
    LinkSettingsController *controller = LinkCommands::controller(main);
    if (!controller) {
        cannotChange(main);
        return;
    }
    auto *dialog = new frmConnectionSettings(*controller, connected(main), &main);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->open();
}

// The click has toggled the check mark already: it follows the link instead.
void switchRecord(frmMain &main)
{
    ProfiledHartLink *link = LinkCommands::link(main);
    QAction *entry = main.menuEntry(QLatin1String(RecordEntry));
    if (!link) {
        entry->setChecked(false);
        cannotChange(main);
        return;
    }
    if (link->isCapturing()) {
        link->stopCapture();
    } else {
        const QString path = FileChooser::current().saveFileName(
            &main, GetResText(6138), QStringLiteral("traffic.pcap"), GetResText(6139));
        QString error;
        if (!path.isEmpty() && !link->startCapture(path, &error))
            MessageBoxSeam::show(&main, QMessageBox::Warning, main.windowTitle(),
                                 FormatResText(GetResText(6140), {error}));
    }
    entry->setChecked(link->isCapturing());
}

const MainCommandTable::Registration settingsRegistration(SettingsEntry, openSettings);
const MainCommandTable::Registration recordRegistration(RecordEntry, switchRecord);

} // namespace

namespace LinkCommands {

ProfiledHartLink *link(const frmMain &main)
{
    IViewEx *view = main.viewRef();
    const auto manager = view ? view->appletItemManagerRef() : nullptr;
    const auto applet = manager ? manager->fncGetApplet() : nullptr;
    if (!applet)
        return nullptr;
    // The frame owns the link: only a plain pointer is kept.
    return qobject_cast<ProfiledHartLink *>(
        applet->fncCreateObject(QLatin1String(DeviceFrame::LinkObject)).get());
}

LinkSettingsController *controller(const frmMain &main)
{
    return main.findChild<LinkSettingsController *>(QString(), Qt::FindDirectChildrenOnly);
}

void attach(frmMain &main)
{
    ProfiledHartLink *profiled = link(main);
    QAction *record = main.menuEntry(QLatin1String(RecordEntry));
    record->setCheckable(true);
    if (!profiled || controller(main))
        return;
    VexaAppItem *address = main.appAddress;
    auto *settings = new LinkSettingsController(
        profiled, [address](int polling) { address->setStringValue(QString::number(polling)); },
        &main);
    QObject::connect(main.appConnectionStatus, &VexaAppItem::ValueChanged, settings,
                     [settings, &main](QString &) {
                         if (!connected(main))
                             settings->connectionEnded();
                     });
    record->setChecked(profiled->isCapturing());
    QObject::connect(profiled, &ProfiledHartLink::captureChanged, record, &QAction::setChecked);
    // A record that cannot be written stops; the user learns it at once, not
    // from a file that ends early.
    QObject::connect(profiled, &ProfiledHartLink::captureFailed, &main,
                     [&main](const QString &reason) {
                         MessageBoxSeam::show(&main, QMessageBox::Warning, main.windowTitle(),
                                              FormatResText(GetResText(7500), {reason}));
                     });
}

} // namespace LinkCommands
