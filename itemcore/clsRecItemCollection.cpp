#include "clsRecItemCollection.h"

clsRecItemCollection::clsRecItemCollection()
    : clsItemCollection(QStringLiteral("RecItem: "), QStringLiteral("clsRecItemCollection"))
{
}

std::shared_ptr<clsRecordItem>
clsRecItemCollection::Add(const QString &AppItemName, bool RegisterOnShadow, qint16 UpdateInterval,
                          qint16 regMask, QObject *eventHandler, const QString &methodName,
                          const QString &alias)
{
    return addElement(AppItemName, alias, [&](clsRecordItem &e) {
        e.Init(AppItemName, RegisterOnShadow, UpdateInterval, regMask, eventHandler, methodName);
    });
}
