#pragma once

#include <QString>
#include <span>

// The items that the device and a dataset are compared by, in the groups
// the dialogs show them in, each with the text id of its label and how its
// unit is found.
struct CompareItem
{
    enum class Group
    {
        Identification,
        RangeAndUnits,
        Output,
        Damping,
        DiagnosisConfiguration,
        LocalOperation,
    };

    const char *item;
    Group group;
    qint16 labelId;
    const char *unitItem = "";  // an item whose value (enumeration text) is the unit
    const char *fixedUnit = ""; // a unit that never changes
    bool hex = false;           // a bit mask: shown in hexadecimal
};

namespace CompareItems {
std::span<const CompareItem> all();
// The text id of a group's heading.
qint16 groupLabelId(CompareItem::Group group);
const CompareItem *find(const QString &item);
} // namespace CompareItems
