#pragma once

#include "clsItemCollection.h"
#include "clsSequenceItem.h"

// The sequences of one owner, made, found and registered together.
class clsSeqItemCollection : public clsItemCollection<clsSequenceItem>
{
public:
    clsSeqItemCollection();

    // An element already present under AppItemName is returned as it is.
    std::shared_ptr<clsSequenceItem> Add(const QString &AppItemName, bool RegisterOnShadow,
                                         qint16 UpdateInterval, qint16 regMask = 0,
                                         QObject *eventHandler = nullptr,
                                         const QString &methodName = QString(),
                                         const QString &alias = QString());
};
