#include "VexaEntryCheck.h"

#include <QDate>
#include <QRegularExpression>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace {

VexaEntry refuse(VexaControlTexts::Id id, const QString &arg1 = QString(),
                 const QString &arg2 = QString())
{
    VexaEntry entry;
    entry.refusal = id;
    QString message = VexaControlTexts::text(id);
    if (message.contains(QLatin1String("%2")))
        message = message.arg(arg1, arg2);
    else if (message.contains(QLatin1String("%1")))
        message = message.arg(arg1);
    entry.message = message;
    return entry;
}

VexaEntry accept(const QString &hostText, double number = 0)
{
    VexaEntry entry;
    entry.hostText = hostText;
    entry.number = number;
    return entry;
}

QLocale plain(QLocale locale)
{
    locale.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return locale;
}

// The user's own format first, then the host's ('.'), so both are understood.
bool readNumber(const QString &typed, const QLocale &locale, double &number)
{
    const QString text = typed.trimmed();
    bool ok = false;
    number = plain(locale).toDouble(text, &ok);
    if (!ok)
        number = QLocale::c().toDouble(text, &ok);
    return ok && std::isfinite(number);
}

QString shown(double number, const QLocale &locale)
{
    if (std::fabs(number) < 1e15)
        return plain(locale).toString(number, 'f', QLocale::FloatingPointShortest);
    return plain(locale).toString(number, 'g', QLocale::FloatingPointShortest);
}

// The host's string form of a float: its shortest exact form with a '.'.
QString floatText(float value)
{
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    return QString::fromLatin1(buffer, result.ptr - buffer);
}

// The range the type itself can hold.
bool typeRange(qint32 type, double &low, double &high)
{
    switch (type) {
    case VexaItemFacts::UInt:
        low = 0;
        high = 4294967295.0;
        return true;
    case VexaItemFacts::Int:
        low = std::numeric_limits<qint32>::min();
        high = std::numeric_limits<qint32>::max();
        return true;
    case VexaItemFacts::BCD:
        low = 0;
        high = 99999999.0;
        return true;
    case VexaItemFacts::Float:
        low = -std::numeric_limits<float>::max();
        high = std::numeric_limits<float>::max();
        return true;
    default:
        return false;
    }
}

} // namespace

QString VexaEntryCheck::dateFormat(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QLatin1String("yyyy")))
        format.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return format;
}

bool VexaEntryCheck::isNumber(const VexaItemFacts &facts)
{
    switch (facts.dataType) {
    case VexaItemFacts::UInt:
    case VexaItemFacts::Int:
    case VexaItemFacts::BCD:
    case VexaItemFacts::Float:
        return true;
    default:
        return false;
    }
}

VexaEntry VexaEntryCheck::check(const VexaItemFacts &facts, const QString &typed,
                                const QLocale &locale)
{
    switch (facts.dataType) {
    case VexaItemFacts::UInt:
    case VexaItemFacts::Int:
    case VexaItemFacts::BCD:
    case VexaItemFacts::Float:
        return checkNumber(facts, typed, locale);
    case VexaItemFacts::PCA:
        return checkPacked(facts, typed);
    case VexaItemFacts::HartDate:
        return checkDate(typed, locale);
    case VexaItemFacts::Octets:
        return checkOctets(facts, typed);
    default:
        return checkText(facts, typed);
    }
}

VexaEntry VexaEntryCheck::checkNumber(const VexaItemFacts &facts, const QString &typed,
                                      const QLocale &locale)
{
    // An enumerated item also takes the text of one of its entries.
    for (const EnumTableEntry &entry : facts.enumeration) {
        if (entry.text.compare(typed.trimmed(), Qt::CaseInsensitive) == 0)
            return checkLimits(facts, entry.value, locale);
    }
    double number = 0;
    if (!readNumber(typed, locale, number))
        return refuse(VexaControlTexts::NotANumber, typed.trimmed());
    if (facts.dataType != VexaItemFacts::Float && std::floor(number) != number)
        return refuse(VexaControlTexts::NotWholeNumber);
    if (!facts.enumeration.isEmpty()) {
        const bool known = std::any_of(facts.enumeration.begin(), facts.enumeration.end(),
                                       [&](const EnumTableEntry &e) { return e.value == number; });
        if (!known)
            return refuse(VexaControlTexts::NotInEnumeration, typed.trimmed());
    }
    return checkLimits(facts, number, locale);
}

VexaEntry VexaEntryCheck::checkLimits(const VexaItemFacts &facts, double number,
                                      const QLocale &locale)
{
    double low = 0, high = 0;
    typeRange(facts.dataType, low, high);
    // The dictionary's limits narrow what the type holds, never widen it.
    if (facts.minimum.isValid())
        low = std::max(low, facts.minimum.toDouble());
    if (facts.maximum.isValid())
        high = std::min(high, facts.maximum.toDouble());
    if (facts.dataType == VexaItemFacts::Float)
        number = double(float(number));
    if (number < low || number > high) {
        const bool bothLimits = facts.minimum.isValid() && facts.maximum.isValid();
        if (bothLimits || facts.dataType != VexaItemFacts::Float)
            return refuse(VexaControlTexts::OutOfRange, shown(low, locale), shown(high, locale));
        return number < low ? refuse(VexaControlTexts::BelowMinimum, shown(low, locale))
                            : refuse(VexaControlTexts::AboveMaximum, shown(high, locale));
    }
    if (facts.dataType == VexaItemFacts::Float)
        return accept(floatText(float(number)), number);
    return accept(QString::number(qint64(number)), number);
}

VexaEntry VexaEntryCheck::checkText(const VexaItemFacts &facts, const QString &typed)
{
    if (facts.maxLength > 0 && typed.size() > facts.maxLength)
        return refuse(VexaControlTexts::TooLong, QString::number(facts.maxLength));
    return accept(typed);
}

VexaEntry VexaEntryCheck::checkPacked(const VexaItemFacts &facts, const QString &typed)
{
    // Packed ASCII holds capitals, digits, blank and the signs from '!' to '_'.
    const QString text = typed.toUpper();
    QString refused;
    for (QChar c : text) {
        if ((c.unicode() < 0x20 || c.unicode() > 0x5F) && !refused.contains(c))
            refused.append(c);
    }
    if (!refused.isEmpty())
        return refuse(VexaControlTexts::BadCharacters, refused);
    if (facts.maxLength > 0 && text.size() > facts.maxLength)
        return refuse(VexaControlTexts::TooLong, QString::number(facts.maxLength));
    return accept(text);
}

VexaEntry VexaEntryCheck::checkDate(const QString &typed, const QLocale &locale)
{
    const QString text = typed.trimmed();
    QDate date = locale.toDate(text, dateFormat(locale));
    if (!date.isValid())
        date = QDate::fromString(text, Qt::ISODate);
    // A HART date keeps the year as an offset from 1900 in one byte.
    if (!date.isValid() || date.year() < 1900 || date.year() > 2155)
        return refuse(VexaControlTexts::BadDate, dateFormat(locale));
    return accept(date.toString(Qt::ISODate));
}

VexaEntry VexaEntryCheck::checkOctets(const VexaItemFacts &facts, const QString &typed)
{
    const QStringList parts = typed.simplified().split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        bool ok = false;
        const uint value = part.toUInt(&ok, 16);
        if (!ok || value > 255)
            return refuse(VexaControlTexts::BadOctets);
    }
    if (facts.maxLength > 0 && parts.size() > facts.maxLength)
        return refuse(VexaControlTexts::TooLong, QString::number(facts.maxLength));
    return accept(parts.join(QLatin1Char(' ')).toUpper());
}

QString VexaEntryCheck::display(const VexaItemFacts &facts, const QString &hostText,
                                const QLocale &locale, int decimals)
{
    switch (facts.dataType) {
    case VexaItemFacts::Float: {
        bool ok = false;
        const double number = QLocale::c().toDouble(hostText, &ok);
        if (!ok)
            return hostText;
        return decimals >= 0 ? plain(locale).toString(number, 'f', decimals)
                             : shown(number, locale);
    }
    case VexaItemFacts::UInt:
        for (const EnumTableEntry &entry : facts.enumeration) {
            if (QString::number(entry.value) == hostText)
                return entry.text;
        }
        return hostText;
    case VexaItemFacts::HartDate: {
        const QDate date = QDate::fromString(hostText, Qt::ISODate);
        return date.isValid() ? locale.toString(date, dateFormat(locale)) : hostText;
    }
    case VexaItemFacts::PCA:
        // Packed ASCII comes padded with blanks to its full length.
        return QString(hostText).remove(QRegularExpression(QStringLiteral(" +$")));
    default:
        return hostText;
    }
}
