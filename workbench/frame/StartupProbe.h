#pragma once

#include <QObject>

// For the start-up benchmark: with VEX_STARTUP_PROBE set, the first main
// window that becomes visible makes the program print how long the process
// took to get there and its peak resident memory, and end.
class StartupProbe : public QObject
{
    Q_OBJECT

public:
    static void installIfRequested();
    // Milliseconds since the process started, from the kernel's start time.
    static double processUptimeMs();
    // Peak resident set size in kB (VmHWM), or -1.
    static long peakResidentKb();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    explicit StartupProbe(QObject *parent) : QObject(parent) {}
    bool m_done = false;
};
