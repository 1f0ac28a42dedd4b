#pragma once

#include "DatasetWriter.h"
#include "ExitCode.h"

#include <QCoreApplication>

class Console;
class DeviceSession;
struct CommandLine;

// hartctl write FILE.vexds and hartctl set NAME=VALUE...: the values the
// device holds otherwise are shown first, then written (with --yes, or
// once the person at the terminal agreed) and read back.
class WriteCommand
{
    Q_DECLARE_TR_FUNCTIONS(WriteCommand)

public:
    static ExitCode writeFile(const CommandLine &line, DeviceSession &session, Console &console);
    static ExitCode set(const CommandLine &line, DeviceSession &session, Console &console);

    static DatasetWriter::Consent consent(const CommandLine &line);
    // Connected to this family's transmitter: Done; otherwise the reason told.
    static ExitCode connectTransmitter(int address, DeviceSession &session, Console &console);
    // The result told, and in the JSON document.
    static ExitCode report(const DatasetWriter::Outcome &outcome, const CommandLine &line,
                           Console &console);
};
