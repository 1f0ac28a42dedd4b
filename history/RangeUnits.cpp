#include "RangeUnits.h"

#include "CompareItems.h"
#include "hart/HartUnits.h"

#include <algorithm>
#include <cmath>

bool RangeUnits::unitsDiffer(const QString &fromValue, const QString &toValue, quint8 &from,
                             quint8 &to)
{
    bool fromOk = false;
    bool toOk = false;
    const int fromCode = fromValue.toInt(&fromOk);
    const int toCode = toValue.toInt(&toOk);
    if (!fromOk || !toOk || fromCode == toCode || fromCode < 0 || fromCode > 255 || toCode < 0 ||
        toCode > 255)
        return false;
    from = quint8(fromCode);
    to = quint8(toCode);
    return HartUnits::isPressureUnit(from) && HartUnits::isPressureUnit(to);
}

QString RangeUnits::converted(const QString &value, quint8 from, quint8 to)
{
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok)
        return value;
    return QString::number(HartUnits::pressureFromMbar(HartUnits::pressureToMbar(number, from), to),
                           'g', 7);
}

bool RangeUnits::samePressure(const QString &value, const QString &unit, const QString &otherValue,
                              const QString &otherUnit)
{
    quint8 from = 0;
    quint8 to = 0;
    bool ok = false;
    bool otherOk = false;
    const double a = value.toDouble(&ok);
    const double b = otherValue.toDouble(&otherOk);
    if (!ok || !otherOk || !unitsDiffer(unit, otherUnit, from, to))
        return false;
    const double x = HartUnits::pressureToMbar(a, from);
    const double y = HartUnits::pressureToMbar(b, to);
    return std::abs(x - y) <= 1e-6 * std::max(std::abs(x), std::abs(y));
}

RangeUnits::Values RangeUnits::keepPressures(Values target, const Values &device)
{
    const Values given = target;
    for (auto unit = given.cbegin(); unit != given.cend(); ++unit) {
        quint8 from = 0;
        quint8 to = 0;
        if (!unitsDiffer(device.value(unit.key()), unit.value(), from, to))
            continue;
        // Only a value written with the unit brings the record's others
        // along; the unit alone goes by itself, and the device converts.
        QStringList missing;
        bool anyGiven = false;
        for (const CompareItem &item : CompareItems::all()) {
            if (unit.key().compare(QLatin1String(item.unitItem), Qt::CaseInsensitive) != 0)
                continue;
            const QString name = QLatin1String(item.item);
            if (given.contains(name))
                anyGiven = true;
            else if (device.contains(name))
                missing << name;
        }
        if (!anyGiven)
            continue;
        for (const QString &name : std::as_const(missing)) {
            bool number = false;
            device.value(name).toDouble(&number);
            if (number)
                target.insert(name, converted(device.value(name), from, to));
        }
    }
    return target;
}

RangeUnits::Values RangeUnits::inWrittenUnits(Values chosen, const Values &source,
                                              const Values &device)
{
    for (auto value = chosen.begin(); value != chosen.end(); ++value) {
        const CompareItem *item = CompareItems::find(value.key());
        if (!item || !*item->unitItem)
            continue;
        const QString unitItem = QLatin1String(item->unitItem);
        const QString written =
            chosen.contains(unitItem) ? chosen.value(unitItem) : device.value(unitItem);
        quint8 from = 0;
        quint8 to = 0;
        if (unitsDiffer(source.value(unitItem), written, from, to))
            value.value() = converted(value.value(), from, to);
    }
    return chosen;
}
