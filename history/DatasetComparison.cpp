#include "DatasetComparison.h"

#include "DescriptionTexts.h"
#include "ItemStore.h"
#include "RangeUnits.h"

#include <QDate>
#include <cmath>
#include <optional>

namespace {

std::optional<float> toFloat(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    if (!ok)
        return text.trimmed().compare(QLatin1String("nan"), Qt::CaseInsensitive) == 0
                   ? std::optional<float>(std::nanf(""))
                   : std::nullopt;
    return float(value);
}

QString withoutPadding(const QString &text)
{
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1] == QLatin1Char(' ') || text[end - 1] == QChar(0)))
        --end;
    return text.left(end);
}

QString enumerationText(const ItemStore &store, int index, const QString &value)
{
    const QList<EnumerationEntry> *entries = store.enumeration(index);
    if (!entries)
        return QString();
    bool ok = false;
    const qint32 number = qint32(value.toDouble(&ok));
    for (const EnumerationEntry &e : *entries) {
        if (ok && e.value == number)
            return e.text;
    }
    return QString();
}

} // namespace

bool DatasetComparison::equal(const ItemDefinition &definition, const QString &a, const QString &b)
{
    switch (definition.type) {
    case ItemType::Float: {
        const auto x = toFloat(a);
        const auto y = toFloat(b);
        if (!x || !y)
            return a == b;
        return (std::isnan(*x) && std::isnan(*y)) || *x == *y;
    }
    case ItemType::String:
        return withoutPadding(a) == withoutPadding(b);
    case ItemType::PCA:
        return withoutPadding(a).compare(withoutPadding(b), Qt::CaseInsensitive) == 0;
    default:
        return a == b;
    }
}

QString DatasetComparison::shownValue(const ItemStore &store, int index, const QString &value,
                                      bool hex, const QLocale &locale)
{
    const ItemDefinition &definition = store.definition(index);
    if (const QString e = enumerationText(store, index, value); !e.isEmpty())
        return DescriptionTexts::translated(e, locale);
    if (definition.type == ItemType::Float) {
        const auto number = toFloat(value);
        return number ? QString(value).replace(QLatin1Char('.'), locale.decimalPoint()) : value;
    }
    if (hex) {
        QString text =
            QStringLiteral("0x%1").arg(value.toUInt(), 2, 16, QLatin1Char('0')).toUpper();
        text[1] = QLatin1Char('x');
        return text;
    }
    if (definition.type == ItemType::HartDate) {
        const QDate date = QDate::fromString(value, Qt::ISODate);
        return date.isValid() ? locale.toString(date, QLocale::ShortFormat) : value;
    }
    return withoutPadding(value);
}

QString DatasetComparison::shown(const ItemStore &store, int index, const CompareItem &item,
                                 const QString &value, const QString &unitValue,
                                 const QLocale &locale)
{
    const QString text = shownValue(store, index, value, item.hex, locale);
    QString unit = QLatin1String(item.fixedUnit);
    if (*item.unitItem) {
        const int unitIndex = store.indexOf(QLatin1String(item.unitItem));
        unit = unitIndex < 0 ? QString()
                             : DescriptionTexts::translated(
                                   enumerationText(store, unitIndex, unitValue), locale);
    }
    return unit.isEmpty() ? text : text + QLatin1Char(' ') + unit;
}

QList<DatasetComparison::Row> DatasetComparison::compare(const ItemStore &store,
                                                         const Values &device, const Values &other,
                                                         const QLocale &locale)
{
    QList<Row> rows;
    for (const CompareItem &item : CompareItems::all()) {
        const int index = store.indexOf(QLatin1String(item.item));
        if (index < 0)
            continue;
        Row row;
        row.item = &item;
        row.name = store.definition(index).name;
        const auto d = device.constFind(row.name);
        const auto o = other.constFind(row.name);
        row.deviceKnown = d != device.constEnd();
        row.otherKnown = o != other.constEnd();
        row.device = row.deviceKnown ? *d : QString();
        row.other = row.otherKnown ? *o : QString();
        const QString unitItem = QLatin1String(item.unitItem);
        if (row.deviceKnown)
            row.deviceShown = shown(store, index, item, row.device, device.value(unitItem), locale);
        if (row.otherKnown)
            row.otherShown = shown(store, index, item, row.other, other.value(unitItem), locale);
        // What one side does not know cannot be taken as equal. A range value
        // is a pressure: 400 mbar and 0.4 bar are the same.
        const bool same =
            equal(store.definition(index), row.device, row.other) ||
            (!unitItem.isEmpty() && RangeUnits::samePressure(row.device, device.value(unitItem),
                                                             row.other, other.value(unitItem)));
        row.differs = row.deviceKnown != row.otherKnown || (row.deviceKnown && !same);
        rows.append(row);
    }
    return rows;
}
