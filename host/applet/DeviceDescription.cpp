#include "DeviceDescription.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSet>

namespace {

const char *const TypeNames[] = {"String", "UInt", "Int",   "Float",
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

const EnumerationDefinition *DeviceDescription::findEnumeration(const QString &name) const
{
    for (const EnumerationDefinition &e : enumerations) {
        if (e.name.compare(name, Qt::CaseInsensitive) == 0)
            return &e;
    }
    return nullptr;
}

std::optional<DeviceDescription> DeviceDescription::fromJson(const QByteArray &json,
                                                             QString *error)
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
        const QJsonObject o = v.toObject();
        d.records.append({o.value(QLatin1String("name")).toString(),
                          o.value(QLatin1String("command")).toInt(-1),
                          o.value(QLatin1String("help")).toString()});
    }
    for (const QJsonValue &v : root.value(QLatin1String("sequences")).toArray()) {
        const QJsonObject o = v.toObject();
        SequenceDefinition s;
        s.name = o.value(QLatin1String("name")).toString();
        s.help = o.value(QLatin1String("help")).toString();
        for (const QJsonValue &r : o.value(QLatin1String("records")).toArray())
            s.records.append(r.toString());
        d.sequences.append(s);
    }
    return d;
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
