#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// One entry of an enumeration table: a device value and its text.
struct EnumTableEntry
{
    qint32 value = 0;
    QString text;
};

// The host's dictionary: what items, enumerations and sequences exist.
// Kinds are "object", "enumeration", "Record" and "Sequence". rc 0 = found.
class Dictionary
{
public:
    virtual ~Dictionary() = default;

    virtual void fncGetObjectCount(const QString &kind, qint32 &count, qint32 &rc) = 0;
    virtual void fncGetFirstObject(const QString &kind, qint32 &id, qint32 &rc) = 0;
    virtual void fncGetNextObject(qint32 &id, qint32 &rc) = 0;
    virtual void fncFindObject(const QString &kind, const QString &name, qint32 &id,
                               qint32 &rc) = 0;
    virtual void fncGetObjectName(qint32 id, QString &name, qint32 &rc) = 0;
    // info: a short description; value1 and value2: the lower and upper limit
    // (invalid when the item has none).
    virtual void fncGetObjectInfo(qint32 id, QString &info, qint32 &dataType, QVariant &value1,
                                  QVariant &value2, QString &enumName, qint32 &rc) = 0;
    virtual void fncGetEnumTable(qint32 enumId, QString &name, QList<EnumTableEntry> &table,
                                 qint32 &rc) = 0;
    // The members of a sequence (its records, in running order). memberKind
    // narrows them to one kind; empty gives all.
    virtual void fncGetObjectMembers(qint32 id, const QString &memberKind, qint32 &count,
                                     QStringList &members, qint32 &rc) = 0;
};
