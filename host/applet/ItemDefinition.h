#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

// The host's data type codes, as the dictionary reports them (fncGetObjectInfo).
enum class ItemType : qint32
{
    String = 1,
    UInt = 2,
    Int = 3,
    Float = 4,
    BCD = 5,
    Octets = 6,
    PCA = 7,     // packed ASCII: 'length' is the number of characters
    HartDate = 8 // three bytes: day, month, year - 1900
};

// One named item of the dataset as the device description declares it.
struct ItemDefinition
{
    // The type and the two flags first: every access of a value asks them,
    // and they then share a cache line with the item's values in the store.
    ItemType type = ItemType::UInt;
    bool dataset = true; // false for host and published items kept out of dataset files
    // A fact of the device (who it is, its revisions and serial numbers),
    // never written to it: the dataset takes it whenever the device is read,
    // so that every window shows the identity of the device connected.
    bool identity = false;
    int length = 0; // bytes for Octets, characters for String and PCA, 0 = any
    QString name;
    QString enumeration;   // name of an enumeration table, empty if none
    QVariant defaultValue; // in the item's type; invalid = zero / empty
    QVariant minimum;      // numeric limits, invalid = none
    QVariant maximum;
    QString help; // short description shown by the dictionary
};

struct EnumerationEntry
{
    qint32 value = 0;
    QString text;
};

struct EnumerationDefinition
{
    QString name;
    QList<EnumerationEntry> entries;
};
