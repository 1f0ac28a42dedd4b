#include "DurationText.h"

#include <limits>

QString DurationText::format(qint64 seconds)
{
    seconds = qMax<qint64>(0, seconds);
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds % 3600 / 60;
    const QChar zero(u'0');
    return QStringLiteral("%1:%2:%3")
        .arg(hours, 2, 10, zero)
        .arg(minutes, 2, 10, zero)
        .arg(seconds % 60, 2, 10, zero);
}

QString DurationText::fromItemText(const QString &seconds)
{
    bool ok = false;
    const double value = seconds.trimmed().toDouble(&ok);
    if (!ok || !(value > 0.0))
        return format(0);
    return format(value >= 9.2e18 ? std::numeric_limits<qint64>::max() : qint64(value));
}
