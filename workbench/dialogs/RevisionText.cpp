#include "RevisionText.h"

#include <QStringList>

QString RevisionText::twoDigits(const QString &value)
{
    bool ok = false;
    const qlonglong number = value.trimmed().toLongLong(&ok);
    if (!ok)
        return value;
    return QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
}

QString RevisionText::dotted(const QByteArray &octets)
{
    QStringList parts;
    for (int i = 0; i < 3; ++i)
        parts << QString::number(i < octets.size() ? quint8(octets[i]) : 0);
    return parts.join(QLatin1Char('.'));
}
