#include "MenuAccessKeys.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

namespace MenuAccessKeys {

namespace {

// The letter after a single "&" ("&&" is a literal ampersand); null for none.
QChar keyOf(const QString &text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != QLatin1Char('&'))
            continue;
        if (text[i + 1] != QLatin1Char('&'))
            return text[i + 1].toLower();
        ++i;
    }
    return {};
}

qsizetype freeLetter(const QString &text, const QSet<QChar> &taken)
{
    const auto usable = [&](qsizetype i) {
        return text[i].isLetterOrNumber() && !taken.contains(text[i].toLower()) &&
               text[i] != QLatin1Char('&');
    };
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool wordStart = i == 0 || !text[i - 1].isLetterOrNumber();
        if (wordStart && usable(i))
            return i;
    }
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (usable(i))
            return i;
    }
    return -1;
}

void assignTo(const QList<QAction *> &actions)
{
    QStringList texts;
    QList<QAction *> named;
    for (QAction *action : actions) {
        if (action->isSeparator() || action->text().isEmpty())
            continue;
        texts << action->text();
        named << action;
    }
    const QStringList keyed = assign(texts);
    for (qsizetype i = 0; i < named.size(); ++i) {
        if (keyed[i] != texts[i])
            named[i]->setText(keyed[i]);
        if (QMenu *menu = named[i]->menu())
            assignTo(menu->actions());
    }
}

} // namespace

QStringList assign(const QStringList &texts)
{
    QSet<QChar> taken;
    for (const QString &text : texts) {
        if (const QChar key = keyOf(text); !key.isNull())
            taken.insert(key);
    }
    QStringList result = texts;
    for (QString &text : result) {
        if (!keyOf(text).isNull())
            continue;
        const qsizetype at = freeLetter(text, taken);
        if (at < 0)
            continue;
        taken.insert(text[at].toLower());
        text.insert(at, QLatin1Char('&'));
    }
    return result;
}

void assign(QMenuBar *bar)
{
    if (bar)
        assignTo(bar->actions());
}

} // namespace MenuAccessKeys
