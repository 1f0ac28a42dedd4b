#pragma once

#include <QtGlobal>

// Implemented by every item wrapper: the private item view passes each host
// notification on to its item through this.
class IAppItem
{
public:
    virtual ~IAppItem() = default;
    virtual void OnNotifyChanged(qint32 &itemHandle, bool bShadow, qint32 lState,
                                 qint32 lUserLong) = 0;
};
