#include "ProgramTranslations.h"

#include "ItemcoreLog.h"

#include <QCoreApplication>
#include <QDir>
#include <QList>
#include <QPointer>
#include <QTranslator>

namespace {

QList<QPointer<QTranslator>> &installed()
{
    static QList<QPointer<QTranslator>> translators;
    return translators;
}

void removeInstalled()
{
    for (const QPointer<QTranslator> &translator : installed()) {
        if (!translator)
            continue;
        QCoreApplication::removeTranslator(translator);
        delete translator.data();
    }
    installed().clear();
}

} // namespace

int ProgramTranslations::install(const QLocale &locale)
{
    removeInstalled();
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return 0;
    // Each library brings its own catalogue; whichever are linked are there.
    const QString suffix =
        QLatin1Char('_') + QLocale::languageToCode(locale.language()) + QLatin1String(".qm");
    const QDir folder(QStringLiteral(":/i18n"));
    const QStringList files = folder.entryList({QLatin1Char('*') + suffix}, QDir::Files);
    for (const QString &file : files) {
        auto *translator = new QTranslator(QCoreApplication::instance());
        if (!translator->load(folder.filePath(file))) {
            qCWarning(lcItemcore) << "the translations cannot be read:" << folder.filePath(file);
            delete translator;
            continue;
        }
        QCoreApplication::installTranslator(translator);
        installed().append(translator);
    }
    if (files.isEmpty())
        qCInfo(lcItemcore).noquote() << "no translations of the program for" << locale.name();
    return int(installed().size());
}
