#pragma once

#include "ItemDefinition.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// One field of a record's request or response bytes.
struct FieldDefinition
{
    enum class Wire
    {
        U8,
        U16,
        U24,
        U32,
        I8,
        I16,
        I32,
        F32,
        PackedAscii,
        Ascii,
        Date,
        Bytes,
        Skip
    };
    Wire wire = Wire::U8;
    QString item;  // empty for constants and skipped bytes
    int size = 1;  // bytes on the wire
    int chars = 0; // characters of text fields
    double constant = 0;
    bool isConstant = false;
};

struct RecordDefinition
{
    QString name;
    int command = -1; // HART command number
    QString help;
    QList<FieldDefinition> request;
    QList<FieldDefinition> response;
};

struct SequenceStep
{
    enum class Kind
    {
        Read,
        Write,
        Wait,
        Adjust,
        Disconnect
    };
    Kind kind = Kind::Read;
    QString record;    // Read and Write
    int waitState = 0; // Wait: 1 or 2
};

struct SequenceDefinition
{
    QString name;
    QStringList records; // in running order, each once
    QString help;
    bool busy = true; // false: runs without a busy window (state 128)
    QList<SequenceStep> steps;
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
    // The description of the transmitter family this host is built for.
    static constexpr const char *BuiltInPath = ":/device/transmitter.json";

    const EnumerationDefinition *findEnumeration(const QString &name) const;
    const RecordDefinition *findRecord(const QString &name) const;
    const SequenceDefinition *findSequence(const QString &name) const;

    static std::optional<ItemType> typeFromName(const QString &name);
    static QString typeName(ItemType type);
};
