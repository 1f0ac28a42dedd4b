#include "clsAppItemCollection.h"

clsAppItemCollection::clsAppItemCollection()
    : clsItemCollection(QStringLiteral("AppItem: "), QStringLiteral("clsAppItemCollection"))
{
}

std::shared_ptr<clsAppItem>
clsAppItemCollection::Add(const QString &AppItemName, bool RegisterOnShadow, qint16 UpdateInterval,
                          QObject *eventHandler, const QString &methodName, const QString &alias)
{
    return addElement(AppItemName, alias, [&](clsAppItem &e) {
        e.Init(AppItemName, RegisterOnShadow, UpdateInterval, eventHandler, methodName);
    });
}
