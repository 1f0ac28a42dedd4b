#pragma once

#include "ExitCode.h"

#include <QCoreApplication>
#include <QJsonObject>

class Console;
class DeviceSession;
class GenericDevice;
struct CommandLine;

// hartctl identify and read: who answers at the address; and what it
// holds: this family's dataset (into a dataset file with --out), or, for a
// device of any other kind, the values every HART device shares.
class ReadCommand
{
    Q_DECLARE_TR_FUNCTIONS(ReadCommand)

public:
    static ExitCode identify(const CommandLine &line, DeviceSession &session, Console &console);
    static ExitCode read(const CommandLine &line, DeviceSession &session, Console &console);

    // The identity of the device connected, printed and as JSON.
    static QJsonObject identity(DeviceSession &session, Console &console);

private:
    static ExitCode readDataset(const CommandLine &line, DeviceSession &session, Console &console);
    static ExitCode readUniversal(DeviceSession &session, Console &console);
    static ExitCode save(const QString &file, DeviceSession &session, Console &console);
};
