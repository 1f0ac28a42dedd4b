#include "StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QMainWindow>
#include <QTimer>
#include <cstdio>
#include <ctime>
#include <unistd.h>

void StartupProbe::installIfRequested()
{
    if (qEnvironmentVariableIsEmpty("VEX_STARTUP_PROBE"))
        return;
    qApp->installEventFilter(new StartupProbe(qApp));
}

double StartupProbe::processUptimeMs()
{
    // Field 22 of /proc/self/stat: start time in clock ticks after boot.
    QFile stat(QStringLiteral("/proc/self/stat"));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return -1;
    const double startTicks = fields.at(19).toDouble();
    timespec now{};
    clock_gettime(CLOCK_BOOTTIME, &now);
    const double nowMs = double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
    return nowMs - startTicks * 1000.0 / double(sysconf(_SC_CLK_TCK));
}

long StartupProbe::peakResidentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

bool StartupProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (!m_done && event->type() == QEvent::Show && qobject_cast<QMainWindow *>(watched)) {
        m_done = true;
        // Let the window paint once before the clock stops.
        QTimer::singleShot(0, this, [] {
            std::printf("shown %.1f ms, peak resident %ld kB\n", processUptimeMs(),
                        peakResidentKb());
            std::fflush(stdout);
            QCoreApplication::exit(0);
        });
    }
    return QObject::eventFilter(watched, event);
}
