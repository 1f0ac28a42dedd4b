#include "DeviceDescription.h"

#include "hart/HartDeviceIdentity.h"
#include "hart/HartManufacturers.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

const char *const TypeNames[] = {"String", "UInt",   "Int", "Float",
                                 "BCD",    "Octets", "PCA", "HartDate"};

QVariant jsonToVariant(const QJsonValue &value)
{
    return value.isUndefined() || value.isNull() ? QVariant() : value.toVariant();
}

bool readItem(const QJsonObject &o, ItemDefinition &item, QString *error)
{
    item.name = o.value(QLatin1String("name")).toString();
    const auto type = DeviceDescription::typeFromName(o.value(QLatin1String("type")).toString());
    if (item.name.isEmpty() || !type) {
        *error = QStringLiteral("item \"%1\": missing name or unknown type \"%2\"")
                     .arg(item.name, o.value(QLatin1String("type")).toString());
        return false;
    }
    item.type = *type;
    item.length = o.value(QLatin1String("length")).toInt(0);
    item.enumeration = o.value(QLatin1String("enum")).toString();
    item.defaultValue = jsonToVariant(o.value(QLatin1String("default")));
    item.minimum = jsonToVariant(o.value(QLatin1String("min")));
    item.maximum = jsonToVariant(o.value(QLatin1String("max")));
    item.help = o.value(QLatin1String("help")).toString();
    item.dataset = o.value(QLatin1String("dataset")).toBool(true);
    item.identity = o.value(QLatin1String("identity")).toBool(false);
    return true;
}

struct WireName
{
    const char *name;
    FieldDefinition::Wire wire;
    int size;
};

const WireName WireNames[] = {
    {"u8", FieldDefinition::Wire::U8, 1},          {"u16", FieldDefinition::Wire::U16, 2},
    {"u24", FieldDefinition::Wire::U24, 3},        {"u32", FieldDefinition::Wire::U32, 4},
    {"i8", FieldDefinition::Wire::I8, 1},          {"i16", FieldDefinition::Wire::I16, 2},
    {"i32", FieldDefinition::Wire::I32, 4},        {"f32", FieldDefinition::Wire::F32, 4},
    {"pa", FieldDefinition::Wire::PackedAscii, 0}, {"ascii", FieldDefinition::Wire::Ascii, 0},
    {"date", FieldDefinition::Wire::Date, 3},      {"bytes", FieldDefinition::Wire::Bytes, 0},
};

bool readTextOrBytesSize(const QJsonObject &o, FieldDefinition &field, QString *error)
{
    if (field.wire == FieldDefinition::Wire::PackedAscii ||
        field.wire == FieldDefinition::Wire::Ascii) {
        field.chars = o.value(QLatin1String("chars")).toInt();
        const bool packed = field.wire == FieldDefinition::Wire::PackedAscii;
        if (field.chars <= 0 || (packed && field.chars % 4 != 0)) {
            *error = QStringLiteral("text field with a bad character count");
            return false;
        }
        field.size = packed ? field.chars * 3 / 4 : field.chars;
    } else if (field.wire == FieldDefinition::Wire::Bytes) {
        field.size = o.value(QLatin1String("length")).toInt();
        if (field.size <= 0) {
            *error = QStringLiteral("a bytes field needs a length");
            return false;
        }
    }
    return true;
}

bool readField(const QJsonObject &o, const QSet<QString> &items, FieldDefinition &field,
               QString *error)
{
    if (o.contains(QLatin1String("skip"))) {
        field.wire = FieldDefinition::Wire::Skip;
        field.size = o.value(QLatin1String("skip")).toInt();
        if (field.size <= 0) {
            *error = QStringLiteral("a skip needs a byte count");
            return false;
        }
        return true;
    }
    const QString wire = o.value(QLatin1String("wire")).toString();
    const WireName *found = nullptr;
    for (const WireName &w : WireNames) {
        if (wire == QLatin1String(w.name))
            found = &w;
    }
    if (!found) {
        *error = QStringLiteral("unknown wire type \"%1\"").arg(wire);
        return false;
    }
    field.wire = found->wire;
    field.size = found->size;
    if (!readTextOrBytesSize(o, field, error))
        return false;
    if (o.contains(QLatin1String("const"))) {
        field.isConstant = true;
        field.constant = o.value(QLatin1String("const")).toDouble();
        return true;
    }
    field.item = o.value(QLatin1String("item")).toString();
    if (!items.contains(field.item.toLower())) {
        *error = QStringLiteral("unknown item \"%1\"").arg(field.item);
        return false;
    }
    return true;
}

bool readFields(const QJsonArray &array, const QSet<QString> &items, QList<FieldDefinition> &fields,
                QString *error)
{
    for (const QJsonValue &v : array) {
        FieldDefinition field;
        if (!readField(v.toObject(), items, field, error))
            return false;
        fields.append(field);
    }
    return true;
}

bool readRecord(const QJsonObject &o, const QSet<QString> &items, RecordDefinition &record,
                QString *error)
{
    record.name = o.value(QLatin1String("name")).toString();
    record.command = o.value(QLatin1String("command")).toInt(-1);
    record.help = o.value(QLatin1String("help")).toString();
    if (record.name.isEmpty() || record.command < 0 || record.command > 255) {
        *error = QStringLiteral("record \"%1\": missing name or bad command").arg(record.name);
        return false;
    }
    if (!readFields(o.value(QLatin1String("request")).toArray(), items, record.request, error) ||
        !readFields(o.value(QLatin1String("response")).toArray(), items, record.response, error)) {
        *error = QStringLiteral("record \"%1\": ").arg(record.name) + *error;
        return false;
    }
    return true;
}

bool readStep(const QJsonObject &o, const DeviceDescription &d, SequenceStep &step, QString *error)
{
    if (o.contains(QLatin1String("read")) || o.contains(QLatin1String("write"))) {
        const bool read = o.contains(QLatin1String("read"));
        step.kind = read ? SequenceStep::Kind::Read : SequenceStep::Kind::Write;
        step.record = o.value(QLatin1String(read ? "read" : "write")).toString();
        if (!d.findRecord(step.record)) {
            *error = QStringLiteral("unknown record \"%1\"").arg(step.record);
            return false;
        }
        return true;
    }
    if (o.contains(QLatin1String("wait"))) {
        step.kind = SequenceStep::Kind::Wait;
        step.waitState = o.value(QLatin1String("wait")).toInt();
        if (step.waitState != 1 && step.waitState != 2) {
            *error = QStringLiteral("a wait reports state 1 or 2");
            return false;
        }
        return true;
    }
    if (o.contains(QLatin1String("adjust"))) {
        step.kind = SequenceStep::Kind::Adjust;
        return true;
    }
    if (o.contains(QLatin1String("disconnect"))) {
        step.kind = SequenceStep::Kind::Disconnect;
        return true;
    }
    *error = QStringLiteral("unknown step");
    return false;
}

bool readSequence(const QJsonObject &o, const DeviceDescription &d, SequenceDefinition &sequence,
                  QString *error)
{
    sequence.name = o.value(QLatin1String("name")).toString();
    sequence.help = o.value(QLatin1String("help")).toString();
    sequence.busy = o.value(QLatin1String("busy")).toBool(true);
    if (sequence.name.isEmpty()) {
        *error = QStringLiteral("a sequence without a name");
        return false;
    }
    for (const QJsonValue &v : o.value(QLatin1String("steps")).toArray()) {
        SequenceStep step;
        if (!readStep(v.toObject(), d, step, error)) {
            *error = QStringLiteral("sequence \"%1\": ").arg(sequence.name) + *error;
            return false;
        }
        if (!step.record.isEmpty() && !sequence.records.contains(step.record, Qt::CaseInsensitive))
            sequence.records.append(step.record);
        sequence.steps.append(step);
    }
    // A plain list of records reads them in that order.
    for (const QJsonValue &r : o.value(QLatin1String("records")).toArray()) {
        if (!d.findRecord(r.toString())) {
            *error = QStringLiteral("sequence \"%1\": unknown record \"%2\"")
                         .arg(sequence.name, r.toString());
            return false;
        }
        if (sequence.records.contains(r.toString(), Qt::CaseInsensitive))
            continue;
        sequence.records.append(r.toString());
        sequence.steps.append({SequenceStep::Kind::Read, r.toString(), 0});
    }
    return true;
}

} // namespace

std::optional<ItemType> DeviceDescription::typeFromName(const QString &name)
{
    for (int i = 0; i < 8; ++i) {
        if (name.compare(QLatin1String(TypeNames[i]), Qt::CaseInsensitive) == 0)
            return ItemType(i + 1);
    }
    return std::nullopt;
}

QString DeviceDescription::typeName(ItemType type)
{
    const int index = int(type) - 1;
    return index >= 0 && index < 8 ? QLatin1String(TypeNames[index]) : QString();
}

const RecordDefinition *DeviceDescription::findRecord(const QString &name) const
{
    for (const RecordDefinition &r : records) {
        if (r.name.compare(name, Qt::CaseInsensitive) == 0)
            return &r;
    }
    return nullptr;
}

const SequenceDefinition *DeviceDescription::findSequence(const QString &name) const
{
    for (const SequenceDefinition &s : sequences) {
        if (s.name.compare(name, Qt::CaseInsensitive) == 0)
            return &s;
    }
    return nullptr;
}

const EnumerationDefinition *DeviceDescription::findEnumeration(const QString &name) const
{
    for (const EnumerationDefinition &e : enumerations) {
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

std::optional<DeviceDescription> DeviceDescription::fromJson(const QByteArray &json, QString *error)
{
    QString ignored;
    if (!error)
        error = &ignored;
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (!doc.isObject()) {
        *error = parseError.errorString();
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    DeviceDescription d;
    d.deviceType = root.value(QLatin1String("deviceType")).toString();
    d.deviceRevision = root.value(QLatin1String("deviceRevision")).toInt();
    if (const QJsonValue hart = root.value(QLatin1String("hart")); hart.isObject()) {
        const int manufacturer = hart[QLatin1String("manufacturer")].toInt(-1);
        const int type = hart[QLatin1String("deviceType")].toInt(-1);
        if (manufacturer < 0 || manufacturer > 0xFFFF || type < 0 || type > 0xFFFF) {
            *error = QStringLiteral("\"hart\" needs a manufacturer and a device type code");
            return std::nullopt;
        }
        const int expanded = type > 0xFF ? type : (manufacturer & 0xFF) << 8 | type;
        d.hart = HartCodes{quint16(manufacturer), quint16(expanded)};
    }

    for (const QJsonValue &v : root.value(QLatin1String("enumerations")).toArray()) {
        EnumerationDefinition e;
        e.name = v.toObject().value(QLatin1String("name")).toString();
        for (const QJsonValue &entry : v.toObject().value(QLatin1String("entries")).toArray()) {
            const QJsonArray pair = entry.toArray();
            e.entries.append({pair.at(0).toInt(), pair.at(1).toString()});
        }
        d.enumerations.append(e);
    }

    QSet<QString> names;
    for (const QJsonValue &v : root.value(QLatin1String("items")).toArray()) {
        ItemDefinition item;
        if (!readItem(v.toObject(), item, error))
            return std::nullopt;
        if (!item.enumeration.isEmpty() && !d.findEnumeration(item.enumeration)) {
            *error = QStringLiteral("item \"%1\": unknown enumeration \"%2\"")
                         .arg(item.name, item.enumeration);
            return std::nullopt;
        }
        if (names.contains(item.name.toLower())) {
            *error = QStringLiteral("item \"%1\" declared twice").arg(item.name);
            return std::nullopt;
        }
        names.insert(item.name.toLower());
        d.items.append(item);
    }

    for (const QJsonValue &v : root.value(QLatin1String("records")).toArray()) {
        RecordDefinition record;
        if (!readRecord(v.toObject(), names, record, error))
            return std::nullopt;
        d.records.append(record);
    }
    for (const QJsonValue &v : root.value(QLatin1String("sequences")).toArray()) {
        SequenceDefinition sequence;
        if (!readSequence(v.toObject(), d, sequence, error))
            return std::nullopt;
        d.sequences.append(sequence);
    }
    return d;
}

bool DeviceDescription::describes(const HartDeviceIdentity &device) const
{
    return !hart || (device.manufacturerCode() == hart->manufacturer &&
                     device.expandedDeviceType() == hart->expandedDeviceType);
}

QString DeviceDescription::manufacturerName(quint16 code) const
{
    if (const EnumerationDefinition *makers = findEnumeration(QStringLiteral("Manufacturer"))) {
        for (const EnumerationEntry &e : makers->entries) {
            if (e.value == code)
                return QStringLiteral("%1 (%2)").arg(e.text, HartManufacturers::codeText(code));
        }
    }
    return HartManufacturers::describe(code);
}

std::optional<DeviceDescription> DeviceDescription::load(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        if (error)
            *error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    auto result = fromJson(file.readAll(), error);
    if (!result && error)
        *error = path + QStringLiteral(": ") + *error;
    return result;
}
