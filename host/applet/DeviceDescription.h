#pragma once

#include "ItemDefinition.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct HartDeviceIdentity;

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
    // Which HART devices the description is for: its maker's code and its
    // device type (expanded, as HART 7 states it; a maker's one-byte type
    // code of older revisions reads as the maker's code and the type code).
    struct HartCodes
    {
        quint16 manufacturer = 0;
        quint16 expandedDeviceType = 0;
    };

    QString deviceType;
    int deviceRevision = 0;
    // Nothing: the description does not say, and any device is taken for one.
    std::optional<HartCodes> hart;
    QList<ItemDefinition> items;
    QList<EnumerationDefinition> enumerations;
    QList<RecordDefinition> records;
    QList<SequenceDefinition> sequences;

    // Reads and checks a description; on failure returns nothing and says why.
    static std::optional<DeviceDescription> fromJson(const QByteArray &json, QString *error);
    static std::optional<DeviceDescription> load(const QString &path, QString *error);
    // The description of the transmitter family this host is built for.
    static constexpr const char *BuiltInPath = ":/device/transmitter.json";

    // Whether the device that answered command 0 is of the kind described:
    // only then may it be sent the device-specific commands.
    bool describes(const HartDeviceIdentity &device) const;
    // The maker's name as the description has it for its own code, else as
    // published, else the code in hex.
    QString manufacturerName(quint16 code) const;

    const EnumerationDefinition *findEnumeration(const QString &name) const;
    const RecordDefinition *findRecord(const QString &name) const;
    const SequenceDefinition *findSequence(const QString &name) const;

    static std::optional<ItemType> typeFromName(const QString &name);
    static QString typeName(ItemType type);
};
