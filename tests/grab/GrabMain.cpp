#include "GrabRegistry.h"
#include "Grabber.h"

#include "PlatformNoise.h"
#include "ScriptedMessageBox.h"
#include "frame/ProgramLanguage.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

// Pictures of the program's windows, offscreen, in English and German, for a
// person to look at: ./dev grab [folder] [-- --list | names...].

namespace vexgrab {
std::vector<Entry> &registry()
{
    static std::vector<Entry> entries;
    return entries;
}
} // namespace vexgrab

namespace {

QtMessageHandler printMessage = nullptr;

void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!isPlatformNoise(message))
        printMessage(type, context, message);
}

// As the program does: its locale and Qt's own translations.
void useLanguage(const QString &language)
{
    ProgramLanguage::apply(language);
}

std::vector<const vexgrab::Entry *> chosen(const QStringList &names, QStringList *unknown)
{
    std::vector<const vexgrab::Entry *> entries;
    for (const auto &entry : vexgrab::registry()) {
        if (names.isEmpty() || names.contains(QLatin1String(entry.name)))
            entries.push_back(&entry);
    }
    std::sort(entries.begin(), entries.end(),
              [](const auto *a, const auto *b) { return qstrcmp(a->name, b->name) < 0; });
    for (const QString &name : names) {
        if (std::none_of(entries.begin(), entries.end(),
                         [&](const auto *e) { return name == QLatin1String(e->name); }))
            *unknown << name;
    }
    return entries;
}

} // namespace

int main(int argc, char **argv)
{
    // Settings and user files the windows write go to a home of their own.
    QTemporaryDir home;
    if (home.isValid()) {
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    printMessage = qInstallMessageHandler(quietPlatform);
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Pictures of the program's windows."));
    parser.addHelpOption();
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("Folder for the pictures."),
                                 QStringLiteral("folder"), QStringLiteral("/tmp/vex-grabs"));
    const QCommandLineOption lang(QStringLiteral("lang"),
                                  QStringLiteral("Only this language (en, de)."),
                                  QStringLiteral("language"));
    const QCommandLineOption list(QStringLiteral("list"), QStringLiteral("List the grabs."));
    parser.addOptions({out, lang, list});
    parser.addPositionalArgument(QStringLiteral("names"),
                                 QStringLiteral("Grabs to run (all if none)."));
    parser.process(app);

    QStringList unknown;
    const auto entries = chosen(parser.positionalArguments(), &unknown);
    if (!unknown.isEmpty()) {
        std::fprintf(stderr, "vexgrab: no grab named %s (--list lists them)\n",
                     qPrintable(unknown.join(QStringLiteral(", "))));
        return 2;
    }
    if (parser.isSet(list)) {
        for (const auto *entry : entries)
            std::printf("%-22s %s\n", entry->name, entry->what);
        return 0;
    }
    QStringList languages{QStringLiteral("en"), QStringLiteral("de")};
    if (parser.isSet(lang))
        languages = QStringList{parser.value(lang)};
    const QString folder = QDir(parser.value(out)).absolutePath();
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "vexgrab: cannot make %s\n", qPrintable(folder));
        return 2;
    }

    // Nothing waits for a person: a question is answered with its default.
    ScriptedMessageBox answers;
    int failed = 0;
    int written = 0;
    for (const QString &language : languages) {
        for (const auto *entry : entries) {
            useLanguage(language);
            Grabber grabber(folder, language);
            try {
                entry->run(grabber);
            } catch (const std::exception &e) {
                std::fprintf(stderr, "vexgrab: %s (%s) failed: %s\n", entry->name,
                             qPrintable(language), e.what());
                ++failed;
            }
            for (const QString &path : grabber.written())
                std::printf("%s\n", qPrintable(path));
            written += int(grabber.written().size());
        }
    }
    std::printf("vexgrab: %d pictures in %s%s\n", written, qPrintable(folder),
                failed ? qPrintable(QStringLiteral(", %1 grabs failed").arg(failed)) : "");
    return failed == 0 ? 0 : 1;
}
