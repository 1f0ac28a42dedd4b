#include "ProgramLanguage.h"

#include "ProgramTranslations.h"
#include "WorkbenchLog.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QPointer>
#include <QTranslator>

namespace {

QPointer<QTranslator> &installed()
{
    static QPointer<QTranslator> translator;
    return translator;
}

} // namespace

bool ProgramLanguage::apply(const QString &option)
{
    if (option == QLatin1String("de"))
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    else if (option == QLatin1String("en"))
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));

    if (QTranslator *previous = installed()) {
        QCoreApplication::removeTranslator(previous);
        delete previous;
    }
    const QLocale locale;
    ProgramTranslations::install(locale);
    if (locale.language() == QLocale::English || locale.language() == QLocale::C)
        return true;
    auto *translator = new QTranslator(QCoreApplication::instance());
    if (!translator->load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        qCInfo(lcWorkbench).noquote() << "no Qt translations for" << locale.name() << "in"
                                      << QLibraryInfo::path(QLibraryInfo::TranslationsPath);
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    installed() = translator;
    return true;
}
