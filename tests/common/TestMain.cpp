#include "StrictMessages.h"
#include "TestRegistry.h"
#include "UnexpectedMessageBox.h"

#include <QApplication>
#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>
#include <cstdio>
#include <cstring>

namespace vextest {
std::vector<Entry> &registry()
{
    static std::vector<Entry> entries;
    return entries;
}
} // namespace vextest

namespace {

// The build asks for the classes to make one test entry of each.
bool listClasses(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-listclasses") == 0) {
            for (const auto &entry : vextest::registry())
                std::printf("%s\n", entry.name);
            return true;
        }
    }
    return false;
}

bool isRegistered(const QString &name)
{
    for (const auto &entry : vextest::registry()) {
        if (name == QLatin1String(entry.name))
            return true;
    }
    return false;
}

} // namespace

int main(int argc, char **argv)
{
    if (listClasses(argc, argv))
        return 0;
    // Test runs go on side by side: each has a home of its own for settings
    // and user files, gone when it ends.
    QTemporaryDir home;
    if (home.isValid()) {
        qputenv("HOME", QFile::encodeName(home.path()));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    StrictMessages messages;
    QApplication app(argc, argv);
    QStandardPaths::setTestModeEnabled(true);

    // "-class Name" picks one class; every other argument goes to QtTest.
    QStringList only;
    QStringList pass{QString::fromLocal8Bit(argv[0])};
    const QStringList args = app.arguments();
    for (int i = 1; i < args.size(); ++i) {
        if (args[i] == QLatin1String("-class") && i + 1 < args.size())
            only << args[++i];
        else
            pass << args[i];
    }
    for (const QString &name : only) {
        if (!isRegistered(name)) {
            std::fprintf(stderr, "no test class %s here (-listclasses lists them)\n",
                         qPrintable(name));
            return 2;
        }
    }

    // No test waits for a person: every message box is answered, and one no
    // test expects fails the test that raised it.
    UnexpectedMessageBox unexpected;

    int failed = 0;
    for (const auto &entry : vextest::registry()) {
        if (!only.isEmpty() && !only.contains(QLatin1String(entry.name)))
            continue;
        auto test = entry.make();
        failed += messages.exec(test.get(), pass);
    }
    if (messages.strayMessages() > 0) {
        std::fprintf(stderr, "%d unexpected messages outside the test functions\n",
                     messages.strayMessages());
        return 1;
    }
    return failed == 0 ? 0 : 1;
}
