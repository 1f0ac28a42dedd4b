#include "Toolkit.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <QStringList>

namespace {
struct Texts
{
    QString english;
    QString german;
};

QHash<int, Texts> loadTable()
{
    QHash<int, Texts> table;
    QFile file(QStringLiteral(":/resident/strings.tsv"));
    if (!file.open(QIODevice::ReadOnly))
        return table;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList fields = line.split(QLatin1Char('\t'));
        bool ok = false;
        const int id = fields.value(0).toInt(&ok);
        if (ok && fields.size() >= 3)
            table.insert(id, {fields[1], fields[2].trimmed()});
    }
    return table;
}
} // namespace

QString Toolkit_LoadResource(int id)
{
    static const QHash<int, Texts> table = loadTable();
    const auto it = table.constFind(id);
    if (it == table.constEnd())
        return QString();
    // The English text stands in for a missing German one.
    if (QLocale().language() == QLocale::German && !it->german.isEmpty())
        return it->german;
    return it->english;
}
