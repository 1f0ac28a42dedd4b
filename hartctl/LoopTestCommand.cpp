#include "LoopTestCommand.h"

#include "CommandLine.h"
#include "ConnectionController.h"
#include "Console.h"
#include "DeviceInstance.h"
#include "DeviceSession.h"
#include "HistoryService.h"
#include "Interruption.h"
#include "dialogs/EntryRules.h"
#include "generic/GenericDevice.h"
#include "generic/GenericTexts.h"

#include <QJsonArray>
#include <QJsonObject>
#include <QPointer>

#include <cmath>

namespace {

// Waits for the end of one action of the device; nothing when none came.
std::optional<GenericDevice::Result> awaitAction(GenericDevice &device,
                                                 GenericDevice::Action action)
{
    std::optional<GenericDevice::Result> result;
    const auto heard = QObject::connect(&device, &GenericDevice::finished, &device,
                                        [&result, action](const GenericDevice::Result &r) {
                                            if (r.action == action)
                                                result = r;
                                        });
    DeviceSession::waitUntil([&result] { return result.has_value(); }, 30000);
    QObject::disconnect(heard);
    return result;
}

} // namespace

std::optional<QList<double>> LoopTestCommand::currents(const QStringList &arguments, QString *error)
{
    if (arguments.isEmpty()) {
        *error = tr("loop-test takes the currents to fix in mA, e.g. 4 12 20");
        return std::nullopt;
    }
    QList<double> values;
    for (const QString &argument : arguments) {
        bool ok = false;
        const double mA = argument.toDouble(&ok);
        if (!ok || !std::isfinite(mA) || mA < EntryRules::SimulationMin ||
            mA > EntryRules::SimulationMax) {
            *error = tr("%1: a current from %2 to %3 mA")
                         .arg(argument, Console::number(EntryRules::SimulationMin),
                              Console::number(EntryRules::SimulationMax));
            return std::nullopt;
        }
        values << mA;
    }
    return values;
}

ExitCode LoopTestCommand::run(const CommandLine &line, DeviceSession &session, Console &console)
{
    QString error;
    const auto milliamperes = currents(line.arguments, &error);
    if (!milliamperes) {
        console.error(error);
        return ExitCode::BadInput;
    }
    if (line.holdSeconds < 0 && !console.interactive()) {
        console.error(tr("without a terminal to press Enter on, give --hold SECONDS"));
        return ExitCode::BadInput;
    }
    const ExitCode connected = session.connect(line.address, &error);
    if (connected != ExitCode::Done) {
        console.error(error);
        return connected;
    }
    // The loop leaves automatic control only when someone agreed.
    if (!line.yes && !console.confirm(tr("The loop current leaves automatic control: alarms and "
                                         "control may react. Go on?"))) {
        console.error(tr("nothing done: confirm with --yes when no one is at a terminal"));
        return ExitCode::BadInput;
    }

    GenericDevice device(&session.instance().master());
    ConnectionController &connection = session.instance().connection();
    device.setHostStatus([&connection] { return connection.status(); });
    QPointer<HistoryService> history = &session.history();
    // The fixed currents go to the change log as the generic view's do.
    device.changeLog().setJournal(
        {[history](const QList<ChangeEntry> &entries, QString *problem) {
             return history ? history->changesStarting(entries, problem) : 0;
         },
         [history](qint64 token, DeviceWriteJournal::Outcome outcome, int responseCode) {
             if (history)
                 history->changesEnded(token, outcome, responseCode);
         }});
    device.start();
    const auto ready = awaitAction(device, GenericDevice::Action::Read);
    ExitCode code = ExitCode::LinkFailure;
    if (!ready || device.state() != GenericDevice::State::Ready)
        console.error(tr("the device did not answer"));
    else
        code = steps(*milliamperes, line, device, console);
    // Whatever happened above: the loop goes back to the process value.
    if (!release(device, console) && code == ExitCode::Done)
        code = ExitCode::DeviceRefused;
    if (Interruption::instance().requested())
        code = ExitCode::Interrupted;
    return code;
}

ExitCode LoopTestCommand::steps(const QList<double> &milliamperes, const CommandLine &line,
                                GenericDevice &device, Console &console)
{
    QJsonArray done;
    for (const double mA : milliamperes) {
        if (Interruption::instance().requested())
            return ExitCode::Interrupted;
        if (!device.fixCurrent(mA)) {
            console.error(tr("the device is busy"));
            return ExitCode::DeviceRefused;
        }
        const auto result = awaitAction(device, GenericDevice::Action::FixCurrent);
        if (!result || !result->accepted()) {
            console.error(result ? GenericTexts::result(*result) : tr("the device did not answer"));
            return result ? ExitCode::DeviceRefused : ExitCode::LinkFailure;
        }
        const double held = device.heldCurrent().value_or(float(mA));
        done.append(
            QJsonObject{{QStringLiteral("requested"), mA}, {QStringLiteral("fixed"), held}});
        console.document().insert(QStringLiteral("steps"), done);
        const QString text =
            tr("Loop current fixed at %1 mA: read the meter.").arg(Console::number(held, 4));
        if (line.holdSeconds >= 0) {
            console.message(text);
            DeviceSession::waitUntil([] { return false; }, int(line.holdSeconds * 1000));
        } else if (!console.waitForEnter(text + QLatin1Char(' ') + tr("Enter: next step"))) {
            return Interruption::instance().requested() ? ExitCode::Interrupted
                                                        : ExitCode::BadInput;
        }
    }
    return ExitCode::Done;
}

bool LoopTestCommand::release(GenericDevice &device, Console &console)
{
    std::optional<std::optional<GenericDevice::Result>> stopped;
    const bool held = device.heldCurrent().has_value();
    device.stop([&stopped](const std::optional<GenericDevice::Result> &r) { stopped = r; });
    DeviceSession::waitUntil([&stopped] { return stopped.has_value(); }, 60000, false);
    if (!held)
        return true;
    const bool released = stopped && *stopped && (*stopped)->accepted();
    if (released) {
        console.message(tr("loop current back under automatic control"));
        console.document().insert(QStringLiteral("released"), true);
    } else {
        console.error(tr("the loop current could not be given back: the device may still hold "
                         "a fixed current; check it"));
        console.document().insert(QStringLiteral("released"), false);
    }
    return released;
}
