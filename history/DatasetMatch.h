#pragma once

#include <QStringList>

class ItemStore;

// Whether the dataset is what the connected device holds, computed from the
// values read from it since it connected, never assumed: the items that
// differ, and whether every compared item was read at all.
struct DatasetMatch
{
    enum class Kind
    {
        NoDevice,    // nothing connected
        NotCompared, // connected, not every value read, none read differs
        Matches,     // every compared value read and equal
        Differs,     // at least one value read differs
    };

    Kind kind = Kind::NoDevice;
    QStringList differing; // item names, in the order they are compared in

    static DatasetMatch of(const ItemStore &store, bool connected);
};
