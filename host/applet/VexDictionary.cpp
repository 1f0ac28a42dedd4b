#include "VexDictionary.h"

#include "DescriptionTexts.h"
#include "DeviceDescription.h"
#include "HostResult.h"
#include "ItemStore.h"

VexDictionary::VexDictionary(std::shared_ptr<const DeviceDescription> description,
                             std::shared_ptr<const ItemStore> store)
    : m_description(std::move(description)), m_store(std::move(store))
{
}

VexDictionary::Kind VexDictionary::kindOf(const QString &kind)
{
    static const std::pair<const char *, Kind> kinds[] = {{"object", Kind::Object},
                                                          {"enumeration", Kind::Enumeration},
                                                          {"Record", Kind::Record},
                                                          {"Sequence", Kind::Sequence}};
    for (const auto &[name, value] : kinds) {
        if (kind.compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return value;
    }
    return Kind::None;
}

VexDictionary::Kind VexDictionary::kindOfId(qint32 id)
{
    if (id > SequenceBase)
        return Kind::Sequence;
    if (id > RecordBase)
        return Kind::Record;
    if (id > EnumerationBase)
        return Kind::Enumeration;
    return id > 0 ? Kind::Object : Kind::None;
}

qint32 VexDictionary::baseOf(Kind kind)
{
    switch (kind) {
    case Kind::Enumeration:
        return EnumerationBase;
    case Kind::Record:
        return RecordBase;
    case Kind::Sequence:
        return SequenceBase;
    default:
        return 0;
    }
}

qint32 VexDictionary::countOf(Kind kind) const
{
    switch (kind) {
    case Kind::Object:
        return m_store->count();
    case Kind::Enumeration:
        return qint32(m_description->enumerations.size());
    case Kind::Record:
        return qint32(m_description->records.size());
    case Kind::Sequence:
        return qint32(m_description->sequences.size());
    case Kind::None:
        break;
    }
    return 0;
}

QString VexDictionary::nameOf(Kind kind, int index) const
{
    switch (kind) {
    case Kind::Object:
        return m_store->definition(index).name;
    case Kind::Enumeration:
        return m_description->enumerations[index].name;
    case Kind::Record:
        return m_description->records[index].name;
    case Kind::Sequence:
        return m_description->sequences[index].name;
    case Kind::None:
        break;
    }
    return QString();
}

void VexDictionary::fncGetObjectCount(const QString &kind, qint32 &count, qint32 &rc)
{
    const Kind k = kindOf(kind);
    count = countOf(k);
    rc = k == Kind::None ? HostResult::UnknownItem : HostResult::Ok;
}

void VexDictionary::fncGetFirstObject(const QString &kind, qint32 &id, qint32 &rc)
{
    m_walkKind = kindOf(kind);
    m_walkPosition = 0;
    fncGetNextObject(id, rc);
}

void VexDictionary::fncGetNextObject(qint32 &id, qint32 &rc)
{
    if (m_walkPosition >= countOf(m_walkKind)) {
        id = 0;
        rc = HostResult::UnknownItem;
        return;
    }
    id = baseOf(m_walkKind) + ++m_walkPosition;
    rc = HostResult::Ok;
}

void VexDictionary::fncFindObject(const QString &kind, const QString &name, qint32 &id, qint32 &rc)
{
    id = 0;
    rc = HostResult::UnknownItem;
    const Kind k = kindOf(kind);
    if (k == Kind::Object) {
        const int index = m_store->indexOf(name);
        if (index >= 0) {
            id = index + 1;
            rc = HostResult::Ok;
        }
        return;
    }
    for (int i = 0; i < countOf(k); ++i) {
        if (nameOf(k, i).compare(name, Qt::CaseInsensitive) == 0) {
            id = baseOf(k) + i + 1;
            rc = HostResult::Ok;
            return;
        }
    }
}

void VexDictionary::fncGetObjectName(qint32 id, QString &name, qint32 &rc)
{
    const Kind k = kindOfId(id);
    const int index = id - baseOf(k) - 1;
    if (k == Kind::None || index >= countOf(k)) {
        rc = HostResult::UnknownItem;
        return;
    }
    name = nameOf(k, index);
    rc = HostResult::Ok;
}

void VexDictionary::fncGetObjectInfo(qint32 id, QString &info, qint32 &dataType, QVariant &value1,
                                     QVariant &value2, QString &enumName, qint32 &rc)
{
    const Kind k = kindOfId(id);
    const int index = id - baseOf(k) - 1;
    if (k == Kind::None || index >= countOf(k)) {
        rc = HostResult::UnknownItem;
        return;
    }
    rc = HostResult::Ok;
    dataType = 0;
    value1 = value2 = QVariant();
    enumName.clear();
    switch (k) {
    case Kind::Object: {
        const ItemDefinition &d = m_store->definition(index);
        info = d.help;
        dataType = qint32(d.type);
        value1 = d.minimum;
        value2 = d.maximum;
        enumName = d.enumeration;
        break;
    }
    case Kind::Record:
        info = m_description->records[index].help;
        break;
    case Kind::Sequence:
        info = m_description->sequences[index].help;
        break;
    default:
        info.clear();
        break;
    }
}

void VexDictionary::fncGetEnumTable(qint32 enumId, QString &name, QList<EnumTableEntry> &table,
                                    qint32 &rc)
{
    const int index = enumId - EnumerationBase - 1;
    if (kindOfId(enumId) != Kind::Enumeration || index >= countOf(Kind::Enumeration)) {
        rc = HostResult::UnknownItem;
        return;
    }
    const EnumerationDefinition &e = m_description->enumerations[index];
    name = e.name;
    table.clear();
    // In the user's language: every window that shows an enumerated value
    // (combos, summary, messages, report) reads it from here.
    for (const EnumerationEntry &entry : e.entries)
        table.append({entry.value, DescriptionTexts::translated(entry.text)});
    rc = HostResult::Ok;
}

void VexDictionary::fncGetObjectMembers(qint32 id, const QString &memberKind, qint32 &count,
                                        QStringList &members, qint32 &rc)
{
    const int index = id - SequenceBase - 1;
    const Kind wanted = memberKind.isEmpty() ? Kind::Record : kindOf(memberKind);
    members.clear();
    count = 0;
    if (kindOfId(id) != Kind::Sequence || index >= countOf(Kind::Sequence) ||
        wanted != Kind::Record) {
        rc = HostResult::UnknownItem;
        return;
    }
    members = m_description->sequences[index].records;
    count = qint32(members.size());
    rc = HostResult::Ok;
}
