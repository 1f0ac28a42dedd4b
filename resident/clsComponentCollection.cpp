#include "clsComponentCollection.h"

#include "IStartAlwaysComponent.h"

void clsComponentCollection::Register(clsStartAlwaysView *myView)
{
    // Work on a copy: a component may not change the list it is walked from.
    const auto components = NewEnum();
    for (const auto &component : components)
        component->Register(myView);
}

void clsComponentCollection::UnRegister()
{
    const auto components = NewEnum();
    for (const auto &component : components)
        component->UnRegister();
}

void clsComponentCollection::Add(std::shared_ptr<IStartAlwaysComponent> component,
                                 const QString &sKey)
{
    m_slots.append({sKey, std::move(component)});
}

qsizetype clsComponentCollection::indexOf(const QVariant &vntIndexKey) const
{
    const auto type = vntIndexKey.typeId();
    if (type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Short ||
        type == QMetaType::UInt || type == QMetaType::Double) {
        const qsizetype position = vntIndexKey.toLongLong();
        return position >= 1 && position <= m_slots.size() ? position - 1 : -1;
    }
    const QString key = vntIndexKey.toString();
    if (key.isEmpty())
        return -1; // components added without a key are found by position only
    for (qsizetype i = 0; i < m_slots.size(); ++i) {
        if (m_slots[i].key.compare(key, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

std::shared_ptr<IStartAlwaysComponent>
clsComponentCollection::Item(const QVariant &vntIndexKey) const
{
    const qsizetype index = indexOf(vntIndexKey);
    return index >= 0 ? m_slots[index].component : nullptr;
}

void clsComponentCollection::Remove(const QVariant &vntIndexKey)
{
    const qsizetype index = indexOf(vntIndexKey);
    if (index >= 0)
        m_slots.removeAt(index);
}

QList<std::shared_ptr<IStartAlwaysComponent>> clsComponentCollection::NewEnum() const
{
    QList<std::shared_ptr<IStartAlwaysComponent>> components;
    for (const Slot &slot : m_slots)
        components.append(slot.component);
    return components;
}
