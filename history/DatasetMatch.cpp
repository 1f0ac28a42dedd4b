#include "DatasetMatch.h"

#include "CompareItems.h"
#include "DatasetComparison.h"
#include "ItemStore.h"

DatasetMatch DatasetMatch::of(const ItemStore &store, bool connected)
{
    DatasetMatch match;
    if (!connected)
        return match;
    bool allRead = true;
    for (const CompareItem &item : CompareItems::all()) {
        const int index = store.indexOf(QLatin1String(item.item));
        if (index < 0)
            continue;
        if (!store.fromDevice(index)) {
            allRead = false;
            continue;
        }
        if (!DatasetComparison::equal(store.definition(index), store.text(index, true),
                                      store.text(index, false)))
            match.differing << store.definition(index).name;
    }
    match.kind = !match.differing.isEmpty() ? Kind::Differs
                 : allRead                  ? Kind::Matches
                                            : Kind::NotCompared;
    return match;
}
