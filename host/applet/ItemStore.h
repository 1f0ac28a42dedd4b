#pragma once

#include "DeviceDescription.h"
#include "ItemValue.h"
#include "ItemValueCheck.h"

#include <QHash>
#include <QList>
#include <functional>
#include <vector>

// Every item of one device instance with its two copies: the dataset value
// (what the program edits and a download writes) and the shadow value (what
// was last read from the device). Host items keep a single value that both
// copies show. Each change is reported to one listener, the item manager.
class ItemStore
{
public:
    // Item state bits as the host reports them with a notification.
    static constexpr qint32 StateModified = 0x001; // dataset value not yet written
    static constexpr qint32 StateIgnore = 0x004;   // dataset value unchanged; listeners skip it
    static constexpr qint32 StateTakeover = 0x010; // host took data over; rules must not run

    using Listener = std::function<void(int index, bool shadow, qint32 state)>;

    explicit ItemStore(const DeviceDescription &description);
    ItemStore(const ItemStore &) = delete;
    ItemStore &operator=(const ItemStore &) = delete;

    void setListener(Listener listener) { m_listener = std::move(listener); }

    int count() const { return int(m_slots.size()); }
    int indexOf(const QString &name) const;
    const ItemDefinition &definition(int index) const { return m_slots[index].definition; }
    const QList<EnumerationEntry> *enumeration(int index) const
    {
        return m_slots[index].enumeration;
    }
    const ItemValue &value(int index, bool shadow) const;
    const QString &text(int index, bool shadow) const;
    qint32 state(int index) const { return m_slots[index].state; }
    bool isModified(int index) const { return m_slots[index].state & StateModified; }

    // Why the device could not take this value for the item (limits,
    // enumeration, field widths); empty when it can.
    QString refusal(int index, const ItemValue &value) const
    {
        return m_check.refusal(m_slots[index].definition, m_slots[index].enumeration, value);
    }

    // The program edits the dataset: the value is marked modified when it changed.
    void writeDataset(int index, const ItemValue &value);
    // Data the host takes over (a file, the device's values): no rules run.
    void takeOverDataset(int index, const ItemValue &value, bool modified);
    // A value into the shadow copy (host items: their one value).
    void writeShadow(int index, const ItemValue &value);
    // A value the device of this connection answered: it goes into the
    // shadow copy, counts as known from the device, and an identity item's
    // dataset value takes it too.
    void readFromDevice(int index, const ItemValue &value);
    // Whether the shadow value was read from the device since it connected;
    // before that it may be another device's, or nobody's.
    bool fromDevice(int index) const { return m_slots[index].fromDevice; }
    // A connection begins or ends: no shadow value is the device's any more.
    void forgetDevice();
    // The dataset value takes the shadow value; the item is no longer modified.
    void adjust(int index);
    // After a download: the device holds the dataset value.
    void clearModified(int index);

private:
    struct Slot
    {
        ItemDefinition definition;
        const QList<EnumerationEntry> *enumeration = nullptr;
        ItemValue values[2]; // dataset, shadow
        mutable QString texts[2];
        mutable bool textValid[2] = {false, false};
        qint32 state = 0;
        bool fromDevice = false;
    };

    void addItem(const ItemDefinition &definition, const DeviceDescription &description);
    void addHostItem(const QString &name, ItemType type);
    void store(int index, bool shadow, const ItemValue &value, qint32 changeState,
               bool news = false);
    void storeCopy(int index, int copy, const ItemValue &value, bool changed, qint32 changeState,
                   bool news);
    void notify(int index, bool shadow, qint32 state);

    std::vector<Slot> m_slots;   // never shared: no copy-on-write checks on the hot path
    QHash<QString, int> m_index; // lower-case name -> slot
    std::vector<EnumerationDefinition> m_enumerations; // slots point into it: never resized
    Listener m_listener;
    ItemValueCheck m_check;
};
