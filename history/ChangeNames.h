#pragma once

#include <QString>
#include <optional>

// How the change log and the snapshots name what was written to a device,
// as the user knows it from the dialogs: the compared items, the values the
// device dialogs send, the commands that carry no value (by their record)
// and the dialog actions (sequences) a snapshot is taken before. Labels are
// ids of the program's string table; one with a context reads
// "context: label" ("Adjustment 4 mA: Measured Current").
namespace ChangeNames {

struct Label
{
    qint16 contextId = 0;
    qint16 labelId = 0;
};

struct Item
{
    Label label;
    QString unitItem;      // an item whose value (enumeration text) is the unit
    QString fixedUnit;     // a unit that never changes
    bool hex = false;      // a bit mask: shown in hexadecimal
    qint16 zeroTextId = 0; // what 0 means where it means more than the number
    bool command = false;  // a record that carries no value
    // The value's text form: a number with '.' or an ISO date, shown in the
    // user's format. Values of the device's own items have their type.
    enum class Form
    {
        Text,
        Number,
        Date,
    };
    Form form = Form::Text;
};

// The values the generic HART view writes with the universal and
// common-practice commands, to any device: named apart from this family's
// items, which such a device does not have.
namespace universal {
constexpr const char *Tag = "HART.Tag";
constexpr const char *Descriptor = "HART.Descriptor";
constexpr const char *Date = "HART.Date";
constexpr const char *Message = "HART.Message";
constexpr const char *LongTag = "HART.LongTag";
constexpr const char *UpperRange = "HART.UpperRange";
constexpr const char *LowerRange = "HART.LowerRange";
constexpr const char *Damping = "HART.Damping";
constexpr const char *Unit = "HART.Unit";
constexpr const char *Zero = "HART.Zero";
constexpr const char *FixedCurrent = "HART.FixedCurrent";
constexpr const char *TrimZero = "HART.Trim4mA";
constexpr const char *TrimGain = "HART.Trim20mA";
} // namespace universal

// A compared or written item, or a record that carries no value.
std::optional<Item> item(const QString &name);
// The action a sequence performs, for the snapshot taken before it.
std::optional<Label> action(const QString &sequence);

// A record that writes a fixed value of an item (the transfer function
// switches): logged as that item taking that value.
struct FixedWrite
{
    const char *item;
    const char *value;
};
std::optional<FixedWrite> fixedWrite(const QString &record);

} // namespace ChangeNames
