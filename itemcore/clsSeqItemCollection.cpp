#include "clsSeqItemCollection.h"

clsSeqItemCollection::clsSeqItemCollection()
    : clsItemCollection(QStringLiteral("SeqItem: "), QStringLiteral("clsSeqItemCollection"))
{
}

std::shared_ptr<clsSequenceItem> clsSeqItemCollection::Add(const QString &AppItemName, bool RegisterOnShadow,
                                                qint16 UpdateInterval, qint16 regMask,
                                                QObject *eventHandler, const QString &methodName,
                                                const QString &alias)
{
    if (auto present = find(AppItemName))
        return present;
    auto element = std::make_shared<clsSequenceItem>();
    element->Init(AppItemName, RegisterOnShadow, UpdateInterval, regMask, eventHandler,
                  methodName);
    insert(AppItemName, alias, element);
    return element;
}
