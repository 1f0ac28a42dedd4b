#include "TestRegistry.h"

#include "ScriptedMessageBox.h"

#include <QApplication>
#include <QStandardPaths>
#include <QStringList>
#include <QTest>

namespace vextest {
std::vector<Entry> &registry()
{
    static std::vector<Entry> entries;
    return entries;
}
} // namespace vextest

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
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

    // No test may wait for a person: every message box is answered, and those
    // no test expects are printed.
    ScriptedMessageBox unexpected;

    int failed = 0;
    for (const auto &entry : vextest::registry()) {
        if (!only.isEmpty() && !only.contains(QLatin1String(entry.name)))
            continue;
        auto test = entry.make();
        failed += QTest::qExec(test.get(), pass);
    }
    for (const MessageBoxRequest &r : unexpected.asked())
        qWarning("message box outside a test's script: %s", qPrintable(r.text));
    return failed == 0 ? 0 : 1;
}
