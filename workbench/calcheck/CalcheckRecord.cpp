#include "CalcheckRecord.h"

#include <QJsonArray>
#include <cmath>

namespace {

QJsonObject toJson(const CalcheckReading &reading)
{
    QJsonObject json{{QStringLiteral("percent"), reading.point.percent},
                     {QStringLiteral("rising"), reading.point.rising},
                     {QStringLiteral("reference"), reading.reference},
                     {QStringLiteral("pv"), reading.primaryValue},
                     {QStringLiteral("deviceCurrent"), reading.deviceCurrent},
                     {QStringLiteral("pvError"), reading.pvError},
                     {QStringLiteral("pass"), reading.pass}};
    // JSON has no NaN: a current error that does not apply is left out.
    if (reading.currentApplies())
        json.insert(QStringLiteral("currentError"), reading.currentError);
    if (reading.hasMeasuredCurrent())
        json.insert(QStringLiteral("measuredCurrent"), reading.measuredCurrent);
    return json;
}

CalcheckReading readingFromJson(const QJsonObject &json)
{
    CalcheckReading reading;
    reading.point = {json.value(QStringLiteral("percent")).toDouble(),
                     json.value(QStringLiteral("rising")).toBool()};
    reading.reference = json.value(QStringLiteral("reference")).toDouble();
    reading.primaryValue = json.value(QStringLiteral("pv")).toDouble();
    reading.deviceCurrent = json.value(QStringLiteral("deviceCurrent")).toDouble();
    if (json.contains(QStringLiteral("measuredCurrent")))
        reading.measuredCurrent = json.value(QStringLiteral("measuredCurrent")).toDouble();
    reading.pvError = json.value(QStringLiteral("pvError")).toDouble();
    reading.currentError = json.value(QStringLiteral("currentError")).toDouble(std::nan(""));
    reading.pass = json.value(QStringLiteral("pass")).toBool();
    return reading;
}

QJsonObject toJson(const CalcheckRun &run)
{
    QJsonArray readings;
    for (const CalcheckReading &reading : run.readings)
        readings.append(toJson(reading));
    return {{QStringLiteral("unitCode"), run.unitCode},
            {QStringLiteral("unit"), run.unitText},
            {QStringLiteral("lowerRange"), run.lowerRange},
            {QStringLiteral("upperRange"), run.upperRange},
            {QStringLiteral("tolerance"), run.tolerance},
            {QStringLiteral("pollingAddress"), run.pollingAddress},
            {QStringLiteral("complete"), run.complete},
            {QStringLiteral("readings"), readings}};
}

CalcheckRun runFromJson(const QJsonObject &json, CalcheckRun::Kind kind)
{
    CalcheckRun run;
    run.kind = kind;
    run.unitCode = json.value(QStringLiteral("unitCode")).toInt();
    run.unitText = json.value(QStringLiteral("unit")).toString();
    run.lowerRange = json.value(QStringLiteral("lowerRange")).toDouble();
    run.upperRange = json.value(QStringLiteral("upperRange")).toDouble();
    run.tolerance = json.value(QStringLiteral("tolerance")).toDouble();
    run.pollingAddress = json.value(QStringLiteral("pollingAddress")).toInt();
    run.complete = json.value(QStringLiteral("complete")).toBool();
    for (const QJsonValue &reading : json.value(QStringLiteral("readings")).toArray())
        run.readings.append(readingFromJson(reading.toObject()));
    return run;
}

} // namespace

QJsonObject CalcheckRecord::toJson() const
{
    const QJsonObject identity{{QStringLiteral("tag"), device.tag},
                               {QStringLiteral("longTag"), device.longTag},
                               {QStringLiteral("manufacturer"), device.manufacturer},
                               {QStringLiteral("model"), device.model},
                               {QStringLiteral("serialNumber"), device.serialNumber},
                               {QStringLiteral("sensorSerialNumber"), device.sensorSerialNumber},
                               {QStringLiteral("uniqueId"), device.uniqueId}};
    return {{QStringLiteral("device"), identity},
            {QStringLiteral("referenceName"), referenceName},
            {QStringLiteral("referenceSerial"), referenceSerial},
            {QStringLiteral("referenceDue"), referenceDue.toString(Qt::ISODate)},
            {QStringLiteral("technician"), technician},
            {QStringLiteral("checkedAt"), checkedAt.toString(Qt::ISODate)},
            {QStringLiteral("tolerance"), tolerance},
            {QStringLiteral("asFound"), ::toJson(asFound)},
            {QStringLiteral("asLeft"), ::toJson(asLeft)}};
}

std::optional<CalcheckRecord> CalcheckRecord::fromJson(const QJsonObject &json)
{
    if (!json.value(QStringLiteral("device")).isObject() ||
        !json.value(QStringLiteral("asFound")).isObject() ||
        !json.value(QStringLiteral("asLeft")).isObject())
        return std::nullopt;
    CalcheckRecord record;
    const QJsonObject identity = json.value(QStringLiteral("device")).toObject();
    record.device.tag = identity.value(QStringLiteral("tag")).toString();
    record.device.longTag = identity.value(QStringLiteral("longTag")).toString();
    record.device.manufacturer = identity.value(QStringLiteral("manufacturer")).toString();
    record.device.model = identity.value(QStringLiteral("model")).toString();
    record.device.serialNumber = identity.value(QStringLiteral("serialNumber")).toString();
    record.device.sensorSerialNumber =
        identity.value(QStringLiteral("sensorSerialNumber")).toString();
    record.device.uniqueId = identity.value(QStringLiteral("uniqueId")).toString();
    record.referenceName = json.value(QStringLiteral("referenceName")).toString();
    record.referenceSerial = json.value(QStringLiteral("referenceSerial")).toString();
    record.referenceDue =
        QDate::fromString(json.value(QStringLiteral("referenceDue")).toString(), Qt::ISODate);
    record.technician = json.value(QStringLiteral("technician")).toString();
    record.checkedAt =
        QDateTime::fromString(json.value(QStringLiteral("checkedAt")).toString(), Qt::ISODate);
    record.tolerance = json.value(QStringLiteral("tolerance")).toDouble();
    record.asFound =
        runFromJson(json.value(QStringLiteral("asFound")).toObject(), CalcheckRun::Kind::AsFound);
    record.asLeft =
        runFromJson(json.value(QStringLiteral("asLeft")).toObject(), CalcheckRun::Kind::AsLeft);
    return record;
}
