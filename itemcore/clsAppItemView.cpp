#include "clsAppItemView.h"

#include "AppletItemManager.h"
#include "IAppItem.h"
#include "VexException.h"

clsAppItemView::~clsAppItemView()
{
    if (m_manager)
        m_manager->fncUnregisterView(this);
}

qint32
clsAppItemView::SetAppletItemManagRef(qint32 lViewHandle,
                                      std::shared_ptr<AppletItemManager> clsAppletItemManager)
{
    m_viewHandle = lViewHandle;
    m_manager = std::move(clsAppletItemManager);
    return 0;
}

qint32 clsAppItemView::NotifyChanged(qint32 lAppletItemHandle, bool bShadowValue, qint32 lStateInfo,
                                     qint32 lUserLong)
{
    if (!m_item)
        return NoItemError;
    try {
        m_item->OnNotifyChanged(lAppletItemHandle, bShadowValue, lStateInfo, lUserLong);
    } catch (const VexException &e) {
        return e.number();
    }
    return 0;
}
