#include "ResStringTable.h"

#include "VexException.h"

#include <QFile>
#include <QLocale>

namespace {

QString unescape(const QString &cell)
{
    QString text;
    text.reserve(cell.size());
    for (qsizetype i = 0; i < cell.size(); ++i) {
        const QChar c = cell[i];
        if (c != QLatin1Char('\\') || i + 1 == cell.size()) {
            text += c;
            continue;
        }
        const QChar next = cell[++i];
        if (next == QLatin1Char('n'))
            text += QLatin1Char('\n');
        else if (next == QLatin1Char('t'))
            text += QLatin1Char('\t');
        else if (next == QLatin1Char('\\'))
            text += QLatin1Char('\\');
        else
            text += c, text += next;
    }
    return text;
}

} // namespace

ResStringTable ResStringTable::fromTsv(const QByteArray &tsv)
{
    ResStringTable table;
    const QStringList lines = QString::fromUtf8(tsv).split(QLatin1Char('\n'));
    for (QString line : lines) {
        if (line.endsWith(QLatin1Char('\r')))
            line.chop(1);
        if (line.trimmed().isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const QStringList cells = line.split(QLatin1Char('\t'));
        bool ok = false;
        const int id = cells[0].trimmed().toInt(&ok);
        if (!ok || id < -32768 || id > 32767 || cells.size() < 2)
            continue;
        table.m_languages[Neutral].insert(qint16(id), unescape(cells[1]));
        if (cells.size() > 2 && !cells[2].isEmpty())
            table.m_languages[German].insert(qint16(id), unescape(cells[2]));
    }
    return table;
}

ResStringTable ResStringTable::fromFile(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return ResStringTable();
    return fromTsv(file.readAll());
}

bool ResStringTable::load(qint16 id, qint32 languageId, QString &text) const
{
    const auto language = m_languages.constFind(languageId);
    if (language == m_languages.constEnd())
        return false;
    const auto entry = language->constFind(id);
    if (entry == language->constEnd())
        return false;
    text = *entry;
    return true;
}

QString ResStringTable::text(qint16 id) const
{
    QString text;
    for (qint32 language : {userLanguageId(), English, Neutral}) {
        if (load(id, language, text))
            return text;
    }
    throw VexException(ResourceNotFound, QStringLiteral("LoadResString"),
                       QStringLiteral("Ressource mit dem Bezeichner '%1' nicht gefunden").arg(id));
}

qint32 ResStringTable::userLanguageId()
{
    return QLocale().language() == QLocale::German ? German : English;
}
