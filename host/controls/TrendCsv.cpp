#include "TrendCsv.h"

QString TrendCsv::quoted(const QString &text)
{
    QString out = text;
    out.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + out + QLatin1Char('"');
}

QString TrendCsv::join(const QStringList &fields)
{
    return fields.join(QLatin1Char(','));
}

QStringList TrendCsv::split(const QString &line, bool *ok)
{
    QStringList fields;
    QString field;
    bool inQuotes = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (inQuotes) {
            if (c == QLatin1Char('"')) {
                if (i + 1 < line.size() && line[i + 1] == QLatin1Char('"')) {
                    field += c;
                    ++i;
                } else {
                    inQuotes = false;
                }
            } else {
                field += c;
            }
        } else if (c == QLatin1Char('"')) {
            inQuotes = true;
        } else if (c == QLatin1Char(',')) {
            fields << field;
            field.clear();
        } else {
            field += c;
        }
    }
    fields << field;
    *ok = !inQuotes;
    return fields;
}

QString TrendCsv::number(float value)
{
    return QString::number(double(value), 'g', 7);
}
