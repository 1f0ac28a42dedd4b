#include "DescriptionTexts.h"

#include "HostLog.h"

#include <QFile>
#include <QHash>

namespace {

// "English<TAB>German" a line; lines starting with '#' are notes.
QHash<QString, QString> loadGerman()
{
    QHash<QString, QString> texts;
    QFile file(QStringLiteral(":/device/transmitter.de.tsv"));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        qCWarning(lcHost) << "the German texts of the device description are missing:"
                          << file.fileName();
        return texts;
    }
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    for (const QString &line : lines) {
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype tab = line.indexOf(QLatin1Char('\t'));
        if (tab <= 0) {
            qCWarning(lcHost) << "line without a German text in" << file.fileName() << line;
            continue;
        }
        texts.insert(line.left(tab), line.mid(tab + 1));
    }
    return texts;
}

const QHash<QString, QString> &german()
{
    static const QHash<QString, QString> texts = loadGerman();
    return texts;
}

} // namespace

QString DescriptionTexts::translated(const QString &english, const QLocale &locale)
{
    if (locale.language() != QLocale::German)
        return english;
    return german().value(english, english);
}

bool DescriptionTexts::hasGerman(const QString &english)
{
    return german().contains(english);
}
