#pragma once

#include "ExitCode.h"

#include <QCoreApplication>

class Console;
class DeviceSession;
struct CommandLine;

// hartctl report --pdf FILE: the device read, and the program's printed
// report of it (File > Print Preview, Export PDF) written to the file,
// whole or not at all.
class ReportCommand
{
    Q_DECLARE_TR_FUNCTIONS(ReportCommand)

public:
    // The report needs the always-started components: registered before the session opens.
    static void prepare();
    static ExitCode run(const CommandLine &line, DeviceSession &session, Console &console);

private:
    static bool writePdf(const QString &file, QString *error);
};
