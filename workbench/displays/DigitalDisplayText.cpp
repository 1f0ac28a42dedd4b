#include "DigitalDisplayText.h"

int DigitalDisplayText::maskLength(int current, int valueLength)
{
    if (valueLength > current - 1 || valueLength < current - 3)
        return valueLength + 2;
    return current;
}

QString DigitalDisplayText::rightAligned(const QString &text, int width)
{
    return text.rightJustified(width, QLatin1Char(' '));
}

QString DigitalDisplayText::compose(const QString &code, const QString &value, const QString &unit,
                                    int width)
{
    return code + rightAligned(value, width) + QStringLiteral("\r\n") + rightAligned(unit, width);
}
