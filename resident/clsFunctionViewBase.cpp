#include "clsFunctionViewBase.h"

#include "Applet.h"
#include "AppletItemManager.h"
#include "ResidentLog.h"
#include "clsAppItem.h"

qint32
clsFunctionViewBase::SetAppletItemManagRef(qint32 lViewHandle,
                                           std::shared_ptr<AppletItemManager> clsAppletItemManager)
{
    m_manager = std::move(clsAppletItemManager);
    m_viewHandle = lViewHandle;
    try {
        run();
    } catch (const std::exception &error) {
        // The view leaves the host all the same.
        qCInfo(lcResident) << "function view ended early:" << error.what();
    }
    m_manager->fncUnregisterView(this);
    return 0;
}

qint32 clsFunctionViewBase::Destroy()
{
    if (m_manager)
        m_manager->fncUnregisterView(this);
    return 0;
}

void clsFileViewBase::run()
{
    clsAppItem currentSequence;
    currentSequence.Register(appletItemManagerRef(), QStringLiteral("currentSequence"));
    currentSequence.setStringValue(marker());
    // The marker goes again whatever the operation answered or raised.
    struct Clear
    {
        clsAppItem &item;
        ~Clear() { item.setStringValue(QString()); }
    } clear{currentSequence};
    if (auto applet = appletItemManagerRef()->fncGetApplet())
        fileOperation(*applet);
}
