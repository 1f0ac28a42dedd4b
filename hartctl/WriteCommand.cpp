#include "WriteCommand.h"

#include "CommandLine.h"
#include "Console.h"
#include "DatasetFile.h"
#include "DeviceInstance.h"
#include "DeviceSession.h"
#include "HistoryService.h"
#include "ItemStore.h"
#include "ReadCommand.h"
#include "ValueNames.h"
#include "VexAppletItemManager.h"

#include <QFileInfo>

DatasetWriter::Consent WriteCommand::consent(const CommandLine &line)
{
    if (line.dryRun)
        return DatasetWriter::Consent::Preview;
    return line.yes ? DatasetWriter::Consent::Given : DatasetWriter::Consent::Ask;
}

ExitCode WriteCommand::connectTransmitter(int address, DeviceSession &session, Console &console)
{
    QString error;
    const ExitCode connected = session.connect(address, &error);
    if (connected != ExitCode::Done) {
        console.error(error);
        return connected;
    }
    if (session.isForeign()) {
        console.error(tr("not written: %1").arg(session.connectionMessage()));
        return ExitCode::DeviceRefused;
    }
    return ExitCode::Done;
}

ExitCode WriteCommand::report(const DatasetWriter::Outcome &outcome, const CommandLine &line,
                              Console &console)
{
    console.document().insert(QStringLiteral("changes"), outcome.changes);
    console.document().insert(QStringLiteral("written"), outcome.written);
    console.document().insert(QStringLiteral("dryRun"), line.dryRun);
    if (!outcome.message.isEmpty())
        console.error(outcome.message);
    else if (line.dryRun)
        console.message(tr("dry run: nothing written"));
    else if (outcome.written)
        console.message(tr("written and read back"));
    return outcome.code;
}

ExitCode WriteCommand::writeFile(const CommandLine &line, DeviceSession &session, Console &console)
{
    if (line.arguments.size() != 1) {
        console.error(tr("write takes one dataset file"));
        return ExitCode::BadInput;
    }
    const QString file = line.arguments.first();
    DeviceInstance &instance = session.instance();
    // The whole file is checked before a single value is taken, and before
    // anyone talks to the device.
    if (!QFileInfo::exists(file)) {
        console.error(tr("%1: no such file").arg(file));
        return ExitCode::BadInput;
    }
    const DatasetFile::Result loaded =
        DatasetFile::load(file, instance.manager()->store(), instance.description());
    if (!loaded.ok) {
        console.error(loaded.error);
        return ExitCode::BadInput;
    }
    if (!loaded.skipped.isEmpty())
        console.message(tr("left out, unknown to this device: %1")
                            .arg(loaded.skipped.join(QStringLiteral(", "))));
    const ExitCode connected = connectTransmitter(line.address, session, console);
    if (connected != ExitCode::Done)
        return connected;
    console.document().insert(QStringLiteral("identity"), ReadCommand::identity(session, console));
    DatasetWriter writer(session, console);
    return report(writer.write(session.history().datasetValues(), consent(line),
                               QStringLiteral("hartctl write")),
                  line, console);
}

ExitCode WriteCommand::set(const CommandLine &line, DeviceSession &session, Console &console)
{
    if (line.arguments.isEmpty()) {
        console.error(tr("set takes NAME=VALUE, one or more (names: %1)")
                          .arg(ValueNames::names().join(QStringLiteral(", "))));
        return ExitCode::BadInput;
    }
    const ItemStore &store = session.instance().manager()->store();
    DatasetComparison::Values target;
    for (const QString &argument : line.arguments) {
        const qsizetype equals = argument.indexOf(QLatin1Char('='));
        if (equals <= 0) {
            console.error(tr("%1: not NAME=VALUE").arg(argument));
            return ExitCode::BadInput;
        }
        QString refusal;
        const QString name = argument.left(equals);
        const auto value = ValueNames::hostValue(store, name, argument.mid(equals + 1), &refusal);
        if (!value) {
            console.error(refusal);
            return ExitCode::BadInput;
        }
        target.insert(ValueNames::item(name), *value);
    }
    const ExitCode connected = connectTransmitter(line.address, session, console);
    if (connected != ExitCode::Done)
        return connected;
    console.document().insert(QStringLiteral("identity"), ReadCommand::identity(session, console));
    DatasetWriter writer(session, console);
    return report(writer.write(target, consent(line), QStringLiteral("hartctl set")), line,
                  console);
}
