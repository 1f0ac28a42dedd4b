#pragma once

#include "DeviceDescription.h"
#include "ItemValue.h"
#include "ItemValueCheck.h"

#include <QHash>
#include <QList>
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

    // Hears of every change; called for each one, so it is a plain
    // interface rather than a stored function.
    class Listener
    {
    public:
        virtual void itemChanged(int index, bool shadow, qint32 state) = 0;

    protected:
        ~Listener() = default;
    };

    explicit ItemStore(const DeviceDescription &description);
    ItemStore(const ItemStore &) = delete;
    ItemStore &operator=(const ItemStore &) = delete;

    // The listener must stay until it is replaced or removed (nullptr).
    void setListener(Listener *listener) { m_listener = listener; }

    int count() const { return m_count; }
    int indexOf(const QString &name) const;
    const ItemDefinition &definition(int index) const { return m_slots[index].definition; }
    const QList<EnumerationEntry> *enumeration(int index) const
    {
        return m_slots[index].enumeration;
    }
    const ItemValue &value(int index, bool shadow) const;
    const QString &text(int index, bool shadow) const
    {
        const Slot &slot = m_slots[index];
        const int copy = slot.definition.dataset && shadow ? 1 : 0;
        // A string is its own text form.
        if (slot.definition.type == ItemType::String)
            return slot.values[copy].text();
        return formattedText(slot, copy);
    }
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
        // What a write and a read touch, together: the values, the state,
        // and the definition, whose type and flags come first.
        ItemValue values[2]; // dataset, shadow
        qint32 state = 0;
        mutable bool textValid[2] = {false, false};
        bool fromDevice = false;
        ItemDefinition definition;
        const QList<EnumerationEntry> *enumeration = nullptr;
        mutable QString texts[2];
    };

    static const QString &formattedText(const Slot &slot, int copy);
    void addItem(const ItemDefinition &definition, const DeviceDescription &description);
    void addHostItem(const QString &name, ItemType type);
    void store(int index, bool shadow, const ItemValue &value, qint32 changeState,
               bool news = false);
    void storeCopy(int index, int copy, const ItemValue &value, bool changed, qint32 changeState,
                   bool news);
    void notify(int index, bool shadow, qint32 state);

    std::vector<Slot> m_slots;   // never shared: no copy-on-write checks on the hot path
    int m_count = 0;             // m_slots' size, asked at every access by handle
    QHash<QString, int> m_index; // lower-case name -> slot
    std::vector<EnumerationDefinition> m_enumerations; // slots point into it: never resized
    Listener *m_listener = nullptr;
    ItemValueCheck m_check;
};
