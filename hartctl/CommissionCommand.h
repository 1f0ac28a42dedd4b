#pragma once

#include "CommissionSheet.h"
#include "ExitCode.h"

#include <QCoreApplication>
#include <QJsonObject>

class Console;
class DeviceSession;
struct CommandLine;

// hartctl commission SHEET.csv: for each row the device found, checked to
// be the one the sheet means, its differences shown, written, read back and
// compared; a summary at the end. Stops at the first row that fails unless
// --continue-on-error.
class CommissionCommand
{
    Q_DECLARE_TR_FUNCTIONS(CommissionCommand)

public:
    static ExitCode run(const CommandLine &line, DeviceSession &session, Console &console);

private:
    struct Result
    {
        ExitCode code = ExitCode::Done;
        int address = -1;
        QString message;
        QJsonObject json;
    };

    static Result commission(const CommissionSheet::Row &row, const CommandLine &line,
                             DeviceSession &session, Console &console);
    // The polling address of the device carrying the tag; -1 and why when none does.
    static int findByTag(const QString &tag, DeviceSession &session, QString *error);
    // Why the device connected is not the one the row means; empty when it is.
    static QString checkExpected(const CommissionSheet::Row &row, int address,
                                 const QJsonObject &identity);
};
