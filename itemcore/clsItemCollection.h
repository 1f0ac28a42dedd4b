#pragma once

#include "MessageBoxSeam.h"
#include "VexException.h"

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

class AppletItemManager;

// The ordered, key-addressable store behind the three item collections. Keys
// are compared without regard to case; insertion order is the order of
// registration and enumeration.
template <class E> class clsItemCollection
{
public:
    virtual ~clsItemCollection() = default;

    // Registers every element in order; an element's error stops the walk.
    void Register(const std::shared_ptr<AppletItemManager> &appletItemManagerRef)
    {
        for (const Slot &slot : m_slots)
            slot.element->Register1(appletItemManagerRef);
    }

    void UnRegister()
    {
        for (const Slot &slot : m_slots)
            slot.element->UnRegister();
    }

    // By key or by 1-based position. A missing element is reported to the
    // user and gives null.
    std::shared_ptr<E> Item(const QVariant &vntIndexKey) const
    {
        const qsizetype index = indexOf(vntIndexKey);
        if (index >= 0)
            return m_slots[index].element;
        MessageBoxSeam::show(
            nullptr, QMessageBox::NoIcon, QString(),
            m_messagePrefix + vntIndexKey.toString() + QStringLiteral(", ") +
                QStringLiteral("Ungültiger Prozeduraufruf oder ungültiges Argument"),
            QMessageBox::Ok);
        return nullptr;
    }

    qint32 Count() const { return qint32(m_slots.size()); }

    // A missing key is ignored. The element unregisters itself when its last
    // holder lets it go.
    void Remove(const QVariant &vntIndexKey)
    {
        const qsizetype index = indexOf(vntIndexKey);
        if (index >= 0)
            m_slots.removeAt(index);
    }

    QList<std::shared_ptr<E>> NewEnum() const
    {
        QList<std::shared_ptr<E>> elements;
        for (const Slot &slot : m_slots)
            elements.append(slot.element);
        return elements;
    }

protected:
    explicit clsItemCollection(QString messagePrefix, QString className)
        : m_messagePrefix(std::move(messagePrefix)), m_className(std::move(className))
    {
    }

    std::shared_ptr<E> find(const QString &key) const
    {
        const qsizetype index = indexOfKey(key);
        return index >= 0 ? m_slots[index].element : nullptr;
    }

    // The element under name if there is one; else a new one, configured by
    // init and appended under alias (or name when alias is empty).
    template <class Init>
    std::shared_ptr<E> addElement(const QString &name, const QString &alias, Init init)
    {
        if (auto present = find(name))
            return present;
        auto element = std::make_shared<E>();
        init(*element);
        insert(name, alias, element);
        return element;
    }

    void insert(const QString &name, const QString &alias, std::shared_ptr<E> element)
    {
        const QString key = alias.isEmpty() ? name : alias;
        if (indexOfKey(key) >= 0)
            throw VexException(457, m_className + QStringLiteral(".Add"),
                               QStringLiteral("Dieser Schlüssel ist bereits einem Element "
                                              "dieser Auflistung zugeordnet"));
        m_slots.append({key, std::move(element)});
    }

private:
    struct Slot
    {
        QString key;
        std::shared_ptr<E> element;
    };

    qsizetype indexOfKey(const QString &key) const
    {
        for (qsizetype i = 0; i < m_slots.size(); ++i) {
            if (m_slots[i].key.compare(key, Qt::CaseInsensitive) == 0)
                return i;
        }
        return -1;
    }

    qsizetype indexOf(const QVariant &vntIndexKey) const
    {
        const auto type = vntIndexKey.typeId();
        if (type == QMetaType::Int || type == QMetaType::LongLong || type == QMetaType::Short ||
            type == QMetaType::UInt || type == QMetaType::Double) {
            const qsizetype position = vntIndexKey.toLongLong();
            return position >= 1 && position <= m_slots.size() ? position - 1 : -1;
        }
        return indexOfKey(vntIndexKey.toString());
    }

    QString m_messagePrefix;
    QString m_className;
    QList<Slot> m_slots;
};
