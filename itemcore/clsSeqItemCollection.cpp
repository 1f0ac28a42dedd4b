#include "clsSeqItemCollection.h"

clsSeqItemCollection::clsSeqItemCollection()
    : clsItemCollection(QStringLiteral("SeqItem: "), QStringLiteral("clsSeqItemCollection"))
{
}

std::shared_ptr<clsSequenceItem>
clsSeqItemCollection::Add(const QString &AppItemName, bool RegisterOnShadow, qint16 UpdateInterval,
                          qint16 regMask, QObject *eventHandler, const QString &methodName,
                          const QString &alias)
{
    return addElement(AppItemName, alias, [&](clsSequenceItem &e) {
        e.Init(AppItemName, RegisterOnShadow, UpdateInterval, regMask, eventHandler, methodName);
    });
}
