#include "Hartctl.h"

#include "CommandLine.h"
#include "CommissionCommand.h"
#include "Console.h"
#include "ConsoleMessageBox.h"
#include "DeviceSession.h"
#include "Interruption.h"
#include "LoopTestCommand.h"
#include "ReadCommand.h"
#include "ReportCommand.h"
#include "ScanCommand.h"
#include "WriteCommand.h"
#include "frame/ProgramLanguage.h"

#include <QTextStream>

namespace {

ExitCode dispatch(const CommandLine &line, DeviceSession &session, Console &console)
{
    const QString &c = line.command;
    if (c == QLatin1String("scan"))
        return ScanCommand::run(line, session, console);
    if (c == QLatin1String("identify"))
        return ReadCommand::identify(line, session, console);
    if (c == QLatin1String("read"))
        return ReadCommand::read(line, session, console);
    if (c == QLatin1String("write"))
        return WriteCommand::writeFile(line, session, console);
    if (c == QLatin1String("set"))
        return WriteCommand::set(line, session, console);
    if (c == QLatin1String("commission"))
        return CommissionCommand::run(line, session, console);
    if (c == QLatin1String("loop-test"))
        return LoopTestCommand::run(line, session, console);
    return ReportCommand::run(line, session, console);
}

// --lang before anything is said, also for the message about a bad command line.
QString languageOption(const QStringList &arguments)
{
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == QLatin1String("--lang") && i + 1 < arguments.size())
            return arguments.at(i + 1);
        if (arguments.at(i).startsWith(QLatin1String("--lang=")))
            return arguments.at(i).mid(7);
    }
    return {};
}

} // namespace

int Hartctl::run(const QStringList &arguments)
{
    ProgramLanguage::apply(languageOption(arguments));
    QString error;
    const auto line = CommandLine::parse(arguments, &error);
    if (!line) {
        QTextStream(stderr) << "hartctl: " << error << Qt::endl
                            << CommandLine::tr("hartctl --help lists the commands and options.")
                            << Qt::endl;
        return toInt(ExitCode::BadInput);
    }
    if (line->help) {
        QTextStream(stdout) << CommandLine::usage();
        return toInt(ExitCode::Done);
    }
    Interruption::instance().install();
    Console console(line->json);
    ConsoleMessageBox questions(console);
    MessageBoxSeam::install(&questions);
    if (line->command == QLatin1String("report"))
        ReportCommand::prepare();
    ExitCode code = ExitCode::LinkFailure;
    {
        DeviceSession session(*line);
        session.setProgress(
            [&console](int percent, const QString &what) { console.progress(percent, 100, what); });
        if (!session.open(&error))
            console.error(error);
        else
            code = dispatch(*line, session, console);
    }
    // Whatever was cut short by Ctrl+C says so, whichever way it ended.
    if (code != ExitCode::Done && Interruption::instance().requested())
        code = ExitCode::Interrupted;
    MessageBoxSeam::install(nullptr);
    console.document().insert(QStringLiteral("exitCode"), toInt(code));
    console.finish();
    return toInt(code);
}
