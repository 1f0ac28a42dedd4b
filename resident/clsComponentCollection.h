#pragma once

#include <QList>
#include <QString>
#include <QVariant>
#include <memory>

class IStartAlwaysComponent;
class clsStartAlwaysView;

// The always-started components in the order they were added; each may also
// carry a key.
class clsComponentCollection
{
public:
    void Register(clsStartAlwaysView *myView);
    void UnRegister();

    // An empty key adds the component without one.
    void Add(std::shared_ptr<IStartAlwaysComponent> component, const QString &sKey = QString());
    // By 1-based position or by key; null when there is none.
    std::shared_ptr<IStartAlwaysComponent> Item(const QVariant &vntIndexKey) const;
    qint32 Count() const { return qint32(m_slots.size()); }
    void Remove(const QVariant &vntIndexKey);
    QList<std::shared_ptr<IStartAlwaysComponent>> NewEnum() const;

private:
    struct Slot
    {
        QString key;
        std::shared_ptr<IStartAlwaysComponent> component;
    };

    qsizetype indexOf(const QVariant &vntIndexKey) const;

    QList<Slot> m_slots;
};
