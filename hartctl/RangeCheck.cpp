#include "RangeCheck.h"

#include "ItemStore.h"
#include "hart/HartUnits.h"

#include <QLocale>

#include <cmath>
#include <optional>

namespace {

std::optional<double> number(const DatasetComparison::Values &values, const char *item)
{
    const auto it = values.find(QLatin1String(item));
    bool ok = false;
    const double value = it == values.end() ? 0.0 : it->toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

// The store's values as last read from the device, for the sensor's items.
std::optional<double> deviceNumber(const ItemStore &store, const char *item)
{
    const int index = store.indexOf(QLatin1String(item));
    if (index < 0 || !store.fromDevice(index))
        return std::nullopt;
    bool ok = false;
    const double value = store.text(index, true).toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

} // namespace

QStringList RangeCheck::sensorItems()
{
    return {QStringLiteral("sensorRangeLoLim"), QStringLiteral("sensorRangeHiLim"),
            QStringLiteral("minSpan")};
}

QString RangeCheck::refusal(const ItemStore &store, const DatasetComparison::Values &device,
                            const DatasetComparison::Values &target)
{
    const auto targetLow = number(target, "scaleInLoLim");
    const auto targetHigh = number(target, "scaleInHiLim");
    if (!targetLow && !targetHigh)
        return {};
    const auto deviceUnit = number(device, "primaryValueUnit");
    const auto low = deviceNumber(store, "sensorRangeLoLim");
    const auto high = deviceNumber(store, "sensorRangeHiLim");
    const auto minSpan = deviceNumber(store, "minSpan");
    if (!deviceUnit || !low || !high || !minSpan)
        return {}; // not known: the device's own check stands
    const quint8 unit = quint8(number(target, "primaryValueUnit").value_or(*deviceUnit));
    if (!HartUnits::isPressureUnit(unit) || !HartUnits::isPressureUnit(quint8(*deviceUnit)))
        return {};
    // Everything in mbar: the sensor's limits are in the device's unit, the
    // range values given in the unit they go with.
    const auto mbar = [](double value, quint8 code) {
        return HartUnits::pressureToMbar(value, code);
    };
    const double lowMbar = mbar(*low, quint8(*deviceUnit));
    const double highMbar = mbar(*high, quint8(*deviceUnit));
    const double lrv = targetLow
                           ? mbar(*targetLow, unit)
                           : mbar(number(device, "scaleInLoLim").value_or(0), quint8(*deviceUnit));
    const double urv = targetHigh
                           ? mbar(*targetHigh, unit)
                           : mbar(number(device, "scaleInHiLim").value_or(0), quint8(*deviceUnit));
    // A float's rounding at the limit is no reason to refuse.
    const double slack = (highMbar - lowMbar) * 1e-6;
    const QString limits =
        tr("the sensor measures from %1 to %2 %3")
            .arg(QLocale().toString(*low, 'g', 7), QLocale().toString(*high, 'g', 7),
                 HartUnits::symbol(quint8(*deviceUnit)));
    if (lrv < lowMbar - slack || lrv > highMbar + slack)
        return tr("lrv: outside the sensor's limits (%1)").arg(limits);
    if (urv < lowMbar - slack || urv > highMbar + slack)
        return tr("urv: outside the sensor's limits (%1)").arg(limits);
    const double minSpanMbar = mbar(*minSpan, quint8(*deviceUnit));
    if (std::abs(urv - lrv) < minSpanMbar - slack)
        return tr("the span from lrv to urv is smaller than the sensor's smallest span (%1 %2)")
            .arg(QLocale().toString(*minSpan, 'g', 7), HartUnits::symbol(quint8(*deviceUnit)));
    return {};
}
