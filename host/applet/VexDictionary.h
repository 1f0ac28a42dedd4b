#pragma once

#include "Dictionary.h"

#include <QString>
#include <memory>

class DeviceDescription;
class ItemStore;

// The dictionary over one device description. Object ids: items by their
// handle (1..n), then enumerations, records and sequences in their own id
// ranges, so that an id alone tells its kind.
class VexDictionary final : public Dictionary
{
public:
    VexDictionary(std::shared_ptr<const DeviceDescription> description,
                  std::shared_ptr<const ItemStore> store);

    void fncGetObjectCount(const QString &kind, qint32 &count, qint32 &rc) override;
    void fncGetFirstObject(const QString &kind, qint32 &id, qint32 &rc) override;
    void fncGetNextObject(qint32 &id, qint32 &rc) override;
    void fncFindObject(const QString &kind, const QString &name, qint32 &id, qint32 &rc) override;
    void fncGetObjectName(qint32 id, QString &name, qint32 &rc) override;
    void fncGetObjectInfo(qint32 id, QString &info, qint32 &dataType, QVariant &value1,
                          QVariant &value2, QString &enumName, qint32 &rc) override;
    void fncGetEnumTable(qint32 enumId, QString &name, QList<EnumTableEntry> &table,
                         qint32 &rc) override;
    void fncGetObjectMembers(qint32 id, const QString &memberKind, qint32 &count,
                             QStringList &members, qint32 &rc) override;

    static constexpr qint32 EnumerationBase = 100000;
    static constexpr qint32 RecordBase = 200000;
    static constexpr qint32 SequenceBase = 300000;

private:
    enum class Kind
    {
        None,
        Object,
        Enumeration,
        Record,
        Sequence
    };
    static Kind kindOf(const QString &kind);
    static Kind kindOfId(qint32 id);
    qint32 countOf(Kind kind) const;
    static qint32 baseOf(Kind kind);
    QString nameOf(Kind kind, int index) const;

    std::shared_ptr<const DeviceDescription> m_description;
    std::shared_ptr<const ItemStore> m_store;
    Kind m_walkKind = Kind::None;
    qint32 m_walkPosition = 0;
};
