#include "ChangeLogCsv.h"

#include <QIODevice>

namespace ChangeLogCsv {

QString field(const QString &text)
{
    QString value = text;
    // A spreadsheet runs a cell that starts like a formula: a tag or a
    // message written to the device must stay text.
    if (!value.isEmpty() && QStringLiteral("=+-@").contains(value.front()) &&
        !(value.size() > 1 && value.front() == QLatin1Char('-') && value[1].isDigit()))
        value.prepend(QLatin1Char('\''));
    const bool quote = value.contains(QLatin1Char(',')) || value.contains(QLatin1Char('"')) ||
                       value.contains(QLatin1Char('\n')) || value.contains(QLatin1Char('\r')) ||
                       value != value.trimmed();
    if (!quote)
        return value;
    value.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + value + QLatin1Char('"');
}

bool write(QIODevice &out, const QStringList &header, const QList<ChangeEntry> &entries,
           const Cells &cells)
{
    const auto line = [&out](const QStringList &fields) {
        QStringList quoted;
        for (const QString &f : fields)
            quoted << field(f);
        const QByteArray bytes = (quoted.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8();
        return out.write(bytes) == bytes.size();
    };
    if (!line(header))
        return false;
    for (const ChangeEntry &e : entries) {
        if (!line(QStringList{e.time.toUTC().toString(Qt::ISODate)} + cells(e)))
            return false;
    }
    return true;
}

} // namespace ChangeLogCsv
