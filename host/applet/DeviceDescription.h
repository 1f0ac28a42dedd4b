#pragma once

#include "ItemDefinition.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct RecordDefinition
{
    QString name;
    int command = -1; // HART command number
    QString help;
};

struct SequenceDefinition
{
    QString name;
    QStringList records; // in running order
    QString help;
};

// What the host knows of the device type: its items, enumerations, records
// and sequences. Read from a JSON data file at start-up.
class DeviceDescription
{
public:
    QString deviceType;
    int deviceRevision = 0;
    QList<ItemDefinition> items;
    QList<EnumerationDefinition> enumerations;
    QList<RecordDefinition> records;
    QList<SequenceDefinition> sequences;

    // Reads and checks a description; on failure returns nothing and says why.
    static std::optional<DeviceDescription> fromJson(const QByteArray &json, QString *error);
    static std::optional<DeviceDescription> load(const QString &path, QString *error);

    const EnumerationDefinition *findEnumeration(const QString &name) const;

    static std::optional<ItemType> typeFromName(const QString &name);
    static QString typeName(ItemType type);
};
