#include "clsAppItemCollection.h"

clsAppItemCollection::clsAppItemCollection()
    : clsItemCollection(QStringLiteral("AppItem: "), QStringLiteral("clsAppItemCollection"))
{
}

std::shared_ptr<clsAppItem> clsAppItemCollection::Add(const QString &AppItemName,
                                                      bool RegisterOnShadow,
                                                      qint16 UpdateInterval,
                                                      QObject *eventHandler,
                                                      const QString &methodName,
                                                      const QString &alias)
{
    if (auto present = find(AppItemName))
        return present;
    auto element = std::make_shared<clsAppItem>();
    element->Init(AppItemName, RegisterOnShadow, UpdateInterval, eventHandler, methodName);
    insert(AppItemName, alias, element);
    return element;
}
