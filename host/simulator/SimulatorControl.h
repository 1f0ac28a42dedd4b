#pragma once

#include <QString>
#include <QStringList>

class TransmitterLoop;

// The simulator's control side as short text commands, one a line, so that a
// test or a person can steer a running simulator from outside:
//   pressure MBAR [ADDR]      temperature DEGC [ADDR]
//   busy N [ADDR]             noanswer N [ADDR]       checksum N [ADDR]
//   commerror BITS [ADDR]     writeprotect on|off [ADDR]
//   drop N                    garble N                clear [ADDR]
//   devices
// ADDR is a polling address (all devices when left out); N = -1 lasts until clear.
class SimulatorControl
{
public:
    explicit SimulatorControl(TransmitterLoop &loop) : m_loop(loop) {}

    // "ok", a listing, or "error: ..." saying what is wrong with the line.
    QString execute(const QString &line);
    static QString help();

private:
    QString perDevice(const QString &verb, const QStringList &args);

    TransmitterLoop &m_loop;
};
