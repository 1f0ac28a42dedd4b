#include "MainCaption.h"

#include "ConnectionController.h"
#include "IDeviceInfo.h"
#include "IViewEx.h"
#include "MainWindowLog.h"
#include "OtherDevicePrompts.h"
#include "VexaAppItem.h"
#include "displays/ctlDeviceStatus.h"
#include "frmMain.h"

#include <QFileInfo>

MainCaption::MainCaption(frmMain &main) : QObject(&main), m_main(main)
{
    for (VexaAppItem *item : {main.appConnectionStatus, main.appTagname, main.appDescriptor,
                              main.appFileName, main.appDeviceTag, main.appDeviceDescriptor}) {
        connect(item, &VexaAppItem::ValueChanged, this,
                [this](QString &) { guarded("caption", [this] { update(); }); });
    }
}

void MainCaption::update()
{
    if (!frmMain::gDeviceInfo)
        return;
    const QString file = QFileInfo(m_main.appFileName->StringValue().trimmed()).fileName();
    const QString name = identity();
    m_main.setWindowTitle(file.isEmpty() ? name : name + QStringLiteral(" \u2013 ") + file);
}

QString MainCaption::identity() const
{
    // A device of another kind is not named by the dataset's tag.
    const auto *prompts = m_main.findChild<OtherDevicePrompts *>();
    if (prompts && prompts->foreignDeviceConnected())
        return resText(7606);
    const auto manager = m_main.viewRef() ? m_main.viewRef()->appletItemManagerRef() : nullptr;
    const bool connected =
        qRound(m_main.appConnectionStatus->UIntValue()) == ConnectionController::Connected;
    if (connected && ctlDeviceStatus::readFromDevice(manager.get(), QStringLiteral("_tagHART")))
        return m_main.appDeviceTag->StringValue().trimmed() + QStringLiteral(": ") +
               m_main.appDeviceDescriptor->StringValue().trimmed();
    return frmMain::gDeviceInfo->DeviceIdentName();
}
