#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

// Stands in for the object whose method an item, record or sequence calls by
// name: records each call and passes a status on to a reaction when one is set.
class MethodTarget : public QObject
{
    Q_OBJECT

public:
    // An item's change: "value", or "value/s" when the rules are to be left out.
    QStringList calls;
    std::function<void(const QString &name, qint32 status)> onStatus;

    Q_INVOKABLE void Changed(const QString &value, bool suppressRule);
    // A record's or sequence's status, recorded as "name=status".
    Q_INVOKABLE void StatusChanged(const QString &name, qint32 status);
    Q_INVOKABLE void RecordItem_StatusChanged(const QString &name, qint32 status);
    Q_INVOKABLE void SequenceItem_StatusChanged(const QString &name, qint32 status);
};
