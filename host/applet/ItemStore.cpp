#include "ItemStore.h"

ItemStore::ItemStore(const DeviceDescription &description)
    : m_enumerations(description.enumerations.begin(), description.enumerations.end()),
      m_check(description)
{
    for (const ItemDefinition &item : description.items)
        addItem(item, description);
    // Items the host itself works with, should the description lack them.
    addHostItem(QStringLiteral("&&private&&Connect"), ItemType::UInt);
    addHostItem(QStringLiteral("&&private&&CurrentSource"), ItemType::UInt);
    addHostItem(QStringLiteral("&&private_PM&&Address"), ItemType::UInt);
    addHostItem(QStringLiteral("&&private_PM&&FileName"), ItemType::String);
    addHostItem(QStringLiteral("&&private_PM&&VexDPath"), ItemType::String);
    addHostItem(QStringLiteral("&&private_FDT&&EngineeringContext"), ItemType::String);
    // The host's own parts of each record and sequence.
    for (const RecordDefinition &record : description.records) {
        addHostItem(QStringLiteral("&&Record_State&&") + record.name, ItemType::UInt);
        addHostItem(QStringLiteral("&&Record_Response&&") + record.name, ItemType::Octets);
        addHostItem(QStringLiteral("&&Record_Response_Control&&") + record.name, ItemType::UInt);
    }
    for (const SequenceDefinition &sequence : description.sequences) {
        addHostItem(QStringLiteral("&&Sequence_State&&") + sequence.name, ItemType::UInt);
        addHostItem(QStringLiteral("&&Sequence_Control&&") + sequence.name, ItemType::UInt);
        addHostItem(QStringLiteral("&&Sequence_Progress&&") + sequence.name, ItemType::UInt);
    }
}

void ItemStore::addItem(const ItemDefinition &definition, const DeviceDescription &)
{
    if (m_index.contains(definition.name.toLower()))
        return;
    Slot slot;
    slot.definition = definition;
    for (const EnumerationDefinition &e : m_enumerations) {
        if (e.name.compare(definition.enumeration, Qt::CaseInsensitive) == 0)
            slot.enumeration = &e.entries;
    }
    slot.values[0] = slot.values[1] = ItemValue::initial(definition);
    m_index.insert(definition.name.toLower(), int(m_slots.size()));
    m_slots.push_back(slot);
    m_count = int(m_slots.size());
}

void ItemStore::addHostItem(const QString &name, ItemType type)
{
    ItemDefinition definition;
    definition.name = name;
    definition.type = type;
    definition.dataset = false;
    addItem(definition, DeviceDescription());
}

int ItemStore::indexOf(const QString &name) const
{
    return m_index.value(name.toLower(), -1);
}

const ItemValue &ItemStore::value(int index, bool shadow) const
{
    const Slot &slot = m_slots[index];
    return slot.values[slot.definition.dataset && shadow ? 1 : 0];
}

const QString &ItemStore::formattedText(const Slot &slot, int copy)
{
    if (!slot.textValid[copy]) {
        slot.texts[copy] = slot.values[copy].toString(slot.definition);
        slot.textValid[copy] = true;
    }
    return slot.texts[copy];
}

void ItemStore::store(int index, bool shadow, const ItemValue &value, qint32 changeState, bool news)
{
    Slot &slot = m_slots[index];
    const int copy = slot.definition.dataset && shadow ? 1 : 0;
    storeCopy(index, copy, value, slot.values[copy] != value, changeState, news);
}

void ItemStore::storeCopy(int index, int copy, const ItemValue &value, bool changed,
                          qint32 changeState, bool news)
{
    Slot &slot = m_slots[index];
    const bool shadow = copy == 1;
    if (changed) {
        slot.values[copy] = value;
        slot.textValid[copy] = false;
    }
    // A host item repeats its reports (a sequence reports 0 again after an
    // adjust), so only dataset values are marked when nothing changed.
    const bool ignore = !changed && !news && slot.definition.dataset;
    notify(index, shadow, changeState | (ignore ? StateIgnore : 0));
}

void ItemStore::notify(int index, bool shadow, qint32 changeState)
{
    if (!m_listener)
        return;
    const qint32 state = m_slots[index].state | changeState;
    if (m_slots[index].definition.dataset) {
        m_listener->itemChanged(index, shadow, state);
    } else {
        // One value behind both copies: both kinds of registration hear of it.
        m_listener->itemChanged(index, false, state);
        m_listener->itemChanged(index, true, state);
    }
}

void ItemStore::writeDataset(int index, const ItemValue &value)
{
    // The program's edits are the busiest path of the store: one compare,
    // one copy, one report.
    Slot &slot = m_slots[index];
    const bool changed = slot.values[0] != value;
    if (changed) {
        slot.values[0] = value;
        slot.textValid[0] = false;
    }
    if (!slot.definition.dataset) {
        notify(index, false, 0);
        return;
    }
    if (changed)
        slot.state |= StateModified;
    if (m_listener)
        m_listener->itemChanged(index, false, slot.state | (changed ? 0 : StateIgnore));
}

void ItemStore::takeOverDataset(int index, const ItemValue &value, bool modified)
{
    Slot &slot = m_slots[index];
    if (slot.definition.dataset) {
        if (modified)
            slot.state |= StateModified;
        else
            slot.state &= ~StateModified;
    }
    store(index, false, value, StateTakeover);
}

void ItemStore::writeShadow(int index, const ItemValue &value)
{
    store(index, true, value, 0);
}

void ItemStore::readFromDevice(int index, const ItemValue &value)
{
    Slot &slot = m_slots[index];
    // The first answer of a connection is news even where it equals the
    // value an earlier device gave.
    const bool first = !slot.fromDevice;
    slot.fromDevice = true;
    store(index, true, value, 0, first);
    if (slot.definition.identity && slot.definition.dataset)
        takeOverDataset(index, value, false);
}

void ItemStore::forgetDevice()
{
    for (Slot &slot : m_slots)
        slot.fromDevice = false;
}

void ItemStore::adjust(int index)
{
    Slot &slot = m_slots[index];
    if (!slot.definition.dataset)
        return;
    const bool wasModified = slot.state & StateModified;
    slot.state &= ~StateModified;
    if (wasModified && slot.values[0] == slot.values[1]) {
        // The value stays; those who show the modified mark must hear that it went.
        notify(index, false, 0);
        return;
    }
    store(index, false, slot.values[1], 0);
}

void ItemStore::clearModified(int index)
{
    if (!(m_slots[index].state & StateModified))
        return;
    m_slots[index].state &= ~StateModified;
    // The value stays; those who show the modified mark must hear that it went.
    notify(index, false, 0);
}
