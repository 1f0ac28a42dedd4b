#pragma once

#include "CompareItems.h"
#include "ItemDefinition.h"

#include <QHash>
#include <QList>
#include <QLocale>
#include <QString>

class ItemStore;

// The device's values beside those of a dataset or a snapshot, item by item
// in the groups of CompareItems. Values are compared in the item's own
// precision: a float that reads back the same is equal, a text is equal
// without the padding the device adds (and packed text without case, which
// the device cannot keep).
class DatasetComparison
{
public:
    // By item name, in the host's string form; an item a side lacks is
    // unknown there (never read from the device, or not in the snapshot).
    using Values = QHash<QString, QString>;

    struct Row
    {
        const CompareItem *item = nullptr;
        QString name;
        QString device; // host string form
        QString other;
        bool deviceKnown = false;
        bool otherKnown = false;
        QString deviceShown; // in the user's format, with enumeration text and unit
        QString otherShown;
        bool differs = false;
    };

    static QList<Row> compare(const ItemStore &store, const Values &device, const Values &other,
                              const QLocale &locale = QLocale());
    static bool equal(const ItemDefinition &definition, const QString &a, const QString &b);
    // A value as the user reads it; unitValue is the unit item's value on the
    // same side (empty when the unit is fixed or there is none).
    static QString shown(const ItemStore &store, int index, const CompareItem &item,
                         const QString &value, const QString &unitValue, const QLocale &locale);
    // The same without a unit: the enumeration text in the user's language,
    // a number in the user's format, a bit mask in hexadecimal.
    static QString shownValue(const ItemStore &store, int index, const QString &value, bool hex,
                              const QLocale &locale);
};
