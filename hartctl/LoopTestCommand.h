#pragma once

#include "ExitCode.h"

#include <QCoreApplication>
#include <QList>
#include <optional>

class Console;
class DeviceSession;
class GenericDevice;
struct CommandLine;

// hartctl loop-test N MA...: the loop current fixed at each value in turn
// (command 40, any HART device), held while the meter is read (until Enter,
// or --hold seconds), and always given back to the process value at the
// end: also after a refusal, a lost answer or Ctrl+C.
class LoopTestCommand
{
    Q_DECLARE_TR_FUNCTIONS(LoopTestCommand)

public:
    static ExitCode run(const CommandLine &line, DeviceSession &session, Console &console);
    // The currents to fix, in the C form; nothing and why when one is not a current to fix.
    static std::optional<QList<double>> currents(const QStringList &arguments, QString *error);

private:
    static ExitCode steps(const QList<double> &milliamperes, const CommandLine &line,
                          GenericDevice &device, Console &console);
    static bool release(GenericDevice &device, Console &console);
};
