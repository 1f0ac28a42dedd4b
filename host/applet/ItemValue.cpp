#include "ItemValue.h"

#include <QDate>
#include <QLocale>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

bool isIntegral(double v)
{
    return std::isfinite(v) && std::floor(v) == v;
}

bool parseDouble(const QString &text, double &out, bool userFormat)
{
    bool ok = false;
    const QString trimmed = text.trimmed();
    out = QLocale::c().toDouble(trimmed, &ok);
    if (ok || !userFormat)
        return ok;
    // What the user typed in their own number format, without group separators.
    QLocale user;
    user.setNumberOptions(QLocale::RejectGroupSeparator);
    out = user.toDouble(trimmed, &ok);
    return ok;
}

// The float a number stands for; one a hair beyond the largest float is it.
double roundToFloat(double number)
{
    if (!std::isfinite(number))
        return number;
    const double largest = std::numeric_limits<float>::max();
    return double(float(std::clamp(number, -largest, largest)));
}

QString hexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

bool parseHexBytes(const QString &text, QByteArray &out)
{
    QByteArray result;
    const QStringList parts = text.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        bool ok = false;
        const uint b = part.toUInt(&ok, 16);
        if (!ok || b > 255)
            return false;
        result.append(char(b));
    }
    out = result;
    return true;
}

} // namespace

ItemValue ItemValue::initial(const ItemDefinition &definition)
{
    ItemValue value;
    if (definition.defaultValue.isValid() &&
        value.parse(definition, definition.defaultValue.toString()))
        return value;
    value = ItemValue();
    switch (definition.type) {
    case ItemType::Octets:
        value.m_bytes = QByteArray(definition.length, '\0');
        break;
    case ItemType::PCA:
        value.m_bytes = QByteArray(definition.length, ' ');
        break;
    case ItemType::HartDate:
        value.m_bytes = QByteArray("\x01\x01\x00", 3);
        break;
    default:
        break;
    }
    return value;
}

QString ItemValue::floatToString(float value)
{
    // A NaN's sign would print as "-nan", which no parser reads back.
    if (std::isnan(value))
        return QStringLiteral("nan");
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString ItemValue::toString(const ItemDefinition &definition) const
{
    switch (definition.type) {
    case ItemType::UInt:
    case ItemType::Int:
    case ItemType::BCD:
        return QString::number(qint64(m_number));
    case ItemType::Float:
        return floatToString(float(m_number));
    case ItemType::String:
        return m_text;
    case ItemType::PCA:
        return QString::fromLatin1(m_bytes);
    case ItemType::Octets:
        return hexBytes(m_bytes);
    case ItemType::HartDate:
        if (m_bytes.size() == 3)
            return QDate(1900 + quint8(m_bytes[2]), quint8(m_bytes[1]), quint8(m_bytes[0]))
                .toString(Qt::ISODate);
        return QString();
    }
    return QString();
}

bool ItemValue::acceptNumber(ItemType type, double number)
{
    switch (type) {
    case ItemType::UInt:
        return isIntegral(number) && number >= 0 && number <= 4294967295.0;
    case ItemType::Int:
        return isIntegral(number) && number >= std::numeric_limits<qint32>::min() &&
               number <= std::numeric_limits<qint32>::max();
    case ItemType::BCD:
        return isIntegral(number) && number >= 0 && number <= 99999999.0;
    case ItemType::Float:
        // Below the midpoint to the next power of two a number rounds to a finite
        // float: the text of the largest float, "3.4028235e+38", is a hair above it.
        return !std::isfinite(number) || std::fabs(number) < 0x1.ffffffp127;
    default:
        return false;
    }
}

bool ItemValue::acceptBytes(const ItemDefinition &definition, QByteArray &bytes)
{
    const int length = definition.length;
    switch (definition.type) {
    case ItemType::Octets:
        if (length > 0 && bytes.size() > length)
            return false;
        if (length > 0)
            bytes.append(QByteArray(length - bytes.size(), '\0'));
        return true;
    case ItemType::PCA:
        // Packed ASCII holds the 64 characters from blank to underscore.
        bytes = bytes.toUpper();
        for (char c : bytes) {
            if (quint8(c) < 0x20 || quint8(c) > 0x5F)
                return false;
        }
        if (length > 0 && bytes.size() > length)
            return false;
        if (length > 0)
            bytes.append(QByteArray(length - bytes.size(), ' '));
        return true;
    case ItemType::HartDate:
        return bytes.size() == 3 &&
               QDate(1900 + quint8(bytes[2]), quint8(bytes[1]), quint8(bytes[0])).isValid();
    default:
        return false;
    }
}

bool ItemValue::parse(const ItemDefinition &definition, const QString &text,
                      const QList<EnumerationEntry> *enumeration)
{
    return parseWith(definition, text, enumeration, true);
}

bool ItemValue::parseExact(const ItemDefinition &definition, const QString &text)
{
    return parseWith(definition, text, nullptr, false);
}

bool ItemValue::parseWith(const ItemDefinition &definition, const QString &text,
                          const QList<EnumerationEntry> *enumeration, bool userFormat)
{
    switch (definition.type) {
    case ItemType::UInt:
        if (enumeration) {
            for (const EnumerationEntry &entry : *enumeration) {
                if (entry.text.compare(text.trimmed(), Qt::CaseInsensitive) == 0) {
                    m_number = entry.value;
                    return true;
                }
            }
        }
        [[fallthrough]];
    case ItemType::Int:
    case ItemType::BCD:
    case ItemType::Float: {
        double number = 0;
        if (!parseDouble(text, number, userFormat) || !acceptNumber(definition.type, number))
            return false;
        m_number = definition.type == ItemType::Float ? roundToFloat(number) : number;
        return true;
    }
    case ItemType::String:
        if (definition.length > 0 && text.size() > definition.length)
            return false;
        m_text = text;
        return true;
    case ItemType::PCA: {
        QByteArray bytes = text.toLatin1();
        if (QString::fromLatin1(bytes) != text || !acceptBytes(definition, bytes))
            return false;
        m_bytes = bytes;
        return true;
    }
    case ItemType::Octets: {
        QByteArray bytes;
        if (!parseHexBytes(text, bytes) || !acceptBytes(definition, bytes))
            return false;
        m_bytes = bytes;
        return true;
    }
    case ItemType::HartDate: {
        const QDate date = QDate::fromString(text.trimmed(), Qt::ISODate);
        if (!date.isValid() || date.year() < 1900 || date.year() > 2155)
            return false;
        m_bytes = QByteArray(3, '\0');
        m_bytes[0] = char(date.day());
        m_bytes[1] = char(date.month());
        m_bytes[2] = char(date.year() - 1900);
        return true;
    }
    }
    return false;
}
