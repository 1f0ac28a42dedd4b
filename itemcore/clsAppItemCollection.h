#pragma once

#include "clsAppItem.h"
#include "clsItemCollection.h"

// The items of one owner, made, found and registered together.
class clsAppItemCollection : public clsItemCollection<clsAppItem>
{
public:
    clsAppItemCollection();

    // An item already present under AppItemName is returned as it is.
    std::shared_ptr<clsAppItem> Add(const QString &AppItemName, bool RegisterOnShadow,
                                    qint16 UpdateInterval, QObject *eventHandler = nullptr,
                                    const QString &methodName = QString(),
                                    const QString &alias = QString());
};
