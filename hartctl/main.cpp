// hartctl: the host from a terminal and from scripts (see hartctl --help).

#include "Hartctl.h"

#include <QApplication>

int main(int argc, char **argv)
{
    // It never shows a window, and it runs where there is no display: the
    // report is laid out offscreen.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // The program's settings and history, as the window program keeps them.
    QApplication::setApplicationName(QStringLiteral("Workbench"));
    QApplication::setOrganizationName(QStringLiteral("Workbench"));
    return Hartctl::run(QApplication::arguments());
}
