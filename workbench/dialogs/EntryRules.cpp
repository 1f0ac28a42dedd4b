#include "EntryRules.h"

#include <algorithm>
#include <cmath>

namespace EntryRules {

std::optional<double> toNumber(const QString &text, const QLocale &locale)
{
    QString plain = text.trimmed();
    if (plain.isEmpty())
        return std::nullopt;
    plain.replace(locale.decimalPoint(), QStringLiteral("."));
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double value = c.toDouble(plain, &ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool acceptRangeKey(QChar typed, const QString &textAfter, const QLocale &locale)
{
    if (typed == QChar(8) || typed == u'.' || typed == u',' || typed == u'-')
        return true;
    return typed.isDigit() && toNumber(textAfter, locale).has_value();
}

bool acceptNumericKey(QChar typed, bool allowMinus)
{
    if (typed == QChar(8) || typed == u'.' || typed == u',' || typed.isDigit())
        return true;
    return allowMinus && typed == u'-';
}

QString singleText(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(double(float(value)), 'g', 7);
}

double clampSimulation(double milliamps)
{
    return std::clamp(milliamps, SimulationMin, SimulationMax);
}

int sliderPosition(double milliamps)
{
    // A float 3.6 is 3.5999999; a margin well below the slider's step keeps
    // it at 36.
    return int(std::floor(milliamps * 10.0 + 1e-4));
}

} // namespace EntryRules
