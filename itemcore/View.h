#pragma once

#include <QtGlobal>
#include <memory>

class AppletItemManager;

// What the host calls on every view it knows: items report their changes
// through NotifyChanged; the host hands over its manager before
// fncRegisterView returns. Every member answers 0.
class View
{
public:
    virtual ~View() = default;

    virtual qint32
    SetAppletItemManagRef(qint32 lViewHandle,
                          std::shared_ptr<AppletItemManager> clsAppletItemManager) = 0;
    virtual qint32 Show() = 0;
    virtual qint32 Hide() = 0;
    virtual qint32 Destroy() = 0;
    virtual qint32 NotifyChanged(qint32 lAppletItemHandle, bool bShadowValue, qint32 lStateInfo,
                                 qint32 lUserLong) = 0;
};
