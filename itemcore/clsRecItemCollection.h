#pragma once

#include "clsItemCollection.h"
#include "clsRecordItem.h"

// The records of one owner, made, found and registered together.
class clsRecItemCollection : public clsItemCollection<clsRecordItem>
{
public:
    clsRecItemCollection();

    // An element already present under AppItemName is returned as it is.
    std::shared_ptr<clsRecordItem> Add(const QString &AppItemName, bool RegisterOnShadow,
                                       qint16 UpdateInterval, qint16 regMask = 0,
                                       QObject *eventHandler = nullptr,
                                       const QString &methodName = QString(),
                                       const QString &alias = QString());
};
