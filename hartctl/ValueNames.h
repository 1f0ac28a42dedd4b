#pragma once

#include <QCoreApplication>
#include <QString>
#include <QStringList>
#include <optional>

class ItemStore;

// The names a person or a commissioning sheet gives the values by (tag,
// lrv, unit, ...), the items they stand for, and the check each value
// passes before anything goes to the device: the one the program's entry
// boxes and the host apply (type, length, limits, unit table, field width).
class ValueNames
{
    Q_DECLARE_TR_FUNCTIONS(ValueNames)

public:
    static QStringList names();
    // The item of a name (without regard to case); empty for no such name.
    static QString item(const QString &name);
    // The value in the host's string form; nothing and the reason when the
    // device cannot take it. Numbers in the C form always, or in the
    // language's; units and other choices by their text or code.
    static std::optional<QString> hostValue(const ItemStore &store, const QString &name,
                                            const QString &text, QString *refusal);
};
