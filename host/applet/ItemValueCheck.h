#pragma once

#include "DeviceDescription.h"
#include "ItemValue.h"

#include <QHash>
#include <QList>
#include <QString>

// Whether the device can take a value for an item: the item's limits (a
// limited number must be finite), its enumeration table, and the width of
// every field of every record that carries it. What the item's type holds
// is ItemValue's to check; this is what the device holds.
class ItemValueCheck
{
public:
    explicit ItemValueCheck(const DeviceDescription &description);

    // Whether a number goes into an integer field (u8 ... i32) unchanged.
    static bool fitsInteger(const FieldDefinition &field, double value);

    // Why the value does not fit; empty when it does.
    QString refusal(const ItemDefinition &item, const QList<EnumerationEntry> *enumeration,
                    const ItemValue &value) const;

private:
    struct Carrier
    {
        QString record;
        FieldDefinition field;
    };

    static QString limitRefusal(const ItemDefinition &item, const ItemValue &value);
    static QString enumerationRefusal(const ItemDefinition &item,
                                      const QList<EnumerationEntry> *enumeration,
                                      const ItemValue &value);
    static bool fits(const FieldDefinition &field, const ItemDefinition &item,
                     const ItemValue &value);

    QHash<QString, QList<Carrier>> m_carriers; // lower-case item name -> fields
};
