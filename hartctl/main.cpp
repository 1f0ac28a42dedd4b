// hartctl: the host from a terminal and from scripts (see hartctl --help).

#include "Hartctl.h"

#include <QApplication>

namespace {

QtMessageHandler qtHandler = nullptr;

// The report's window is laid out offscreen: the platform's notes that it
// cannot raise or size a window are no news for the person at the terminal.
void messages(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type == QtWarningMsg && text.startsWith(QLatin1String("This plugin does not support")))
        return;
    qtHandler(type, context, text);
}

} // namespace

int main(int argc, char **argv)
{
    // It never shows a window, and it runs where there is no display: the
    // report is laid out offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    qtHandler = qInstallMessageHandler(messages);
    QApplication app(argc, argv);
    // The program's settings and history, as the window program keeps them.
    QApplication::setApplicationName(QStringLiteral("Workbench"));
    QApplication::setOrganizationName(QStringLiteral("Workbench"));
    return Hartctl::run(QApplication::arguments());
}
