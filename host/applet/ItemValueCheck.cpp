#include "ItemValueCheck.h"

#include "HostTexts.h"

#include <cmath>

namespace {

using Wire = FieldDefinition::Wire;

bool isNumeric(ItemType type)
{
    return type == ItemType::UInt || type == ItemType::Int || type == ItemType::BCD ||
           type == ItemType::Float;
}

bool integerRange(const FieldDefinition &field, double &low, double &high)
{
    const int bits = field.size * 8;
    switch (field.wire) {
    case Wire::U8:
    case Wire::U16:
    case Wire::U24:
    case Wire::U32:
        low = 0;
        high = std::ldexp(1.0, bits) - 1;
        return true;
    case Wire::I8:
    case Wire::I16:
    case Wire::I32:
        low = -std::ldexp(1.0, bits - 1);
        high = std::ldexp(1.0, bits - 1) - 1;
        return true;
    default:
        return false;
    }
}

// The part of a padded value that must reach the device.
qsizetype meaningfulLength(const QByteArray &bytes, char padding)
{
    qsizetype n = bytes.size();
    while (n > 0 && bytes[n - 1] == padding)
        --n;
    return n;
}

qsizetype meaningfulLength(const QString &text)
{
    qsizetype n = text.size();
    while (n > 0 && text[n - 1] == QLatin1Char(' '))
        --n;
    return n;
}

} // namespace

ItemValueCheck::ItemValueCheck(const DeviceDescription &description)
{
    for (const RecordDefinition &record : description.records) {
        for (const QList<FieldDefinition> *fields : {&record.request, &record.response}) {
            for (const FieldDefinition &field : *fields) {
                if (!field.item.isEmpty() && !field.isConstant && field.wire != Wire::Skip)
                    m_carriers[field.item.toLower()].append({record.name, field});
            }
        }
    }
}

QString ItemValueCheck::refusal(const ItemDefinition &item,
                                const QList<EnumerationEntry> *enumeration,
                                const ItemValue &value) const
{
    if (QString problem = limitRefusal(item, value); !problem.isEmpty())
        return problem;
    if (QString problem = enumerationRefusal(item, enumeration, value); !problem.isEmpty())
        return problem;
    for (const Carrier &carrier : m_carriers.value(item.name.toLower())) {
        if (!fits(carrier.field, item, value))
            return HostTexts::text(HostTexts::DoesNotFitField)
                .arg(value.toString(item), item.name, carrier.record);
    }
    return QString();
}

QString ItemValueCheck::limitRefusal(const ItemDefinition &item, const ItemValue &value)
{
    if (!isNumeric(item.type) || (!item.minimum.isValid() && !item.maximum.isValid()))
        return QString();
    const double v = value.number();
    // NaN passes every comparison: a limited value must be a number first.
    if (!std::isfinite(v))
        return HostTexts::text(HostTexts::NotFinite).arg(value.toString(item), item.name);
    // A float item holds its limits in single precision too.
    const auto limit = [&](const QVariant &l) {
        return item.type == ItemType::Float ? double(float(l.toDouble())) : l.toDouble();
    };
    if ((item.minimum.isValid() && v < limit(item.minimum)) ||
        (item.maximum.isValid() && v > limit(item.maximum)))
        return HostTexts::text(HostTexts::OutsideLimits)
            .arg(value.toString(item), item.name, item.minimum.toString(), item.maximum.toString());
    return QString();
}

QString ItemValueCheck::enumerationRefusal(const ItemDefinition &item,
                                           const QList<EnumerationEntry> *enumeration,
                                           const ItemValue &value)
{
    if (!enumeration || enumeration->isEmpty() || !isNumeric(item.type))
        return QString();
    for (const EnumerationEntry &entry : *enumeration) {
        if (entry.value == value.number())
            return QString();
    }
    return HostTexts::text(HostTexts::NotACode)
        .arg(value.toString(item), item.name, item.enumeration);
}

bool ItemValueCheck::fits(const FieldDefinition &field, const ItemDefinition &item,
                          const ItemValue &value)
{
    switch (field.wire) {
    case Wire::PackedAscii:
    case Wire::Ascii: {
        const qsizetype length = item.type == ItemType::String
                                     ? meaningfulLength(value.text())
                                     : meaningfulLength(value.bytes(), ' ');
        return length <= field.chars;
    }
    case Wire::Bytes:
        return meaningfulLength(value.bytes(), '\0') <= field.size;
    case Wire::F32:
    case Wire::Date:
        return true; // f32 holds every float; a date is always three bytes
    default:
        return fitsInteger(field, value.number());
    }
}

bool ItemValueCheck::fitsInteger(const FieldDefinition &field, double value)
{
    double low = 0, high = 0;
    return integerRange(field, low, high) && std::isfinite(value) && std::floor(value) == value &&
           value >= low && value <= high;
}
