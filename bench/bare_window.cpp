// The yardstick of the start-up benchmark: a bare Qt main window, probed the
// same way as the program.

#include "frame/StartupProbe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    StartupProbe::installIfRequested();
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("bare")));
    window.resize(800, 600);
    window.show();
    return app.exec();
}
