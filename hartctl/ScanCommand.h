#pragma once

#include "ExitCode.h"

#include <QCoreApplication>

class Console;
class DeviceSession;
struct CommandLine;

// hartctl scan: who answers on the loop, address by address (or where the
// device with a tag is), as the connection settings' Scan... finds them.
class ScanCommand
{
    Q_DECLARE_TR_FUNCTIONS(ScanCommand)

public:
    static ExitCode run(const CommandLine &line, DeviceSession &session, Console &console);
};
