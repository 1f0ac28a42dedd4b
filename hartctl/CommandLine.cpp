#include "CommandLine.h"

#include <QHash>

#include <cmath>

namespace {

enum class Takes
{
    Nothing,
    Value
};

const QHash<QString, Takes> &options()
{
    static const QHash<QString, Takes> known = {
        {QStringLiteral("link"), Takes::Value},
        {QStringLiteral("address"), Takes::Value},
        {QStringLiteral("tag"), Takes::Value},
        {QStringLiteral("out"), Takes::Value},
        {QStringLiteral("pdf"), Takes::Value},
        {QStringLiteral("history"), Takes::Value},
        {QStringLiteral("capture"), Takes::Value},
        {QStringLiteral("lang"), Takes::Value},
        {QStringLiteral("link-speed"), Takes::Value},
        {QStringLiteral("hold"), Takes::Value},
        {QStringLiteral("json"), Takes::Nothing},
        {QStringLiteral("yes"), Takes::Nothing},
        {QStringLiteral("dry-run"), Takes::Nothing},
        {QStringLiteral("continue-on-error"), Takes::Nothing},
        {QStringLiteral("help"), Takes::Nothing},
    };
    return known;
}

// Numbers on the command line are always in the C form, whatever the language.
std::optional<double> number(const QString &text)
{
    bool ok = false;
    const double value = text.trimmed().toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

bool apply(CommandLine &line, const QString &name, const QString &value, QString *error)
{
    if (name == QLatin1String("link")) {
        const auto profile = HartLinkProfile::parse(value, error);
        if (!profile)
            return false;
        line.link.kind = profile->kind;
        line.link.serialPort = profile->serialPort;
        line.link.host = profile->host;
        line.link.port = profile->port;
        line.link.udp = profile->udp;
    } else if (name == QLatin1String("address")) {
        bool ok = false;
        line.address = value.toInt(&ok);
        if (!ok || line.address < 0 || line.address > 15) {
            *error = CommandLine::tr("--address takes a polling address from 0 to 15, not %1")
                         .arg(value);
            return false;
        }
    } else if (name == QLatin1String("link-speed")) {
        bool ok = false;
        line.linkBitRate = value.toInt(&ok);
        if (!ok || line.linkBitRate < 0) {
            *error =
                CommandLine::tr("--link-speed takes bit/s (0: no wire time), not %1").arg(value);
            return false;
        }
    } else if (name == QLatin1String("hold")) {
        const auto seconds = number(value);
        if (!seconds || *seconds < 0 || *seconds > 3600) {
            *error = CommandLine::tr("--hold takes seconds from 0 to 3600, not %1").arg(value);
            return false;
        }
        line.holdSeconds = *seconds;
    } else if (name == QLatin1String("lang")) {
        if (value != QLatin1String("de") && value != QLatin1String("en")) {
            *error = CommandLine::tr("--lang takes de or en, not %1").arg(value);
            return false;
        }
        line.language = value;
    } else if (name == QLatin1String("tag")) {
        line.tag = value;
    } else if (name == QLatin1String("out")) {
        line.outFile = value;
    } else if (name == QLatin1String("pdf")) {
        line.pdfFile = value;
    } else if (name == QLatin1String("history")) {
        line.history = value;
    } else if (name == QLatin1String("capture")) {
        line.captureFile = value;
    } else if (name == QLatin1String("json")) {
        line.json = true;
    } else if (name == QLatin1String("yes")) {
        line.yes = true;
    } else if (name == QLatin1String("dry-run")) {
        line.dryRun = true;
    } else if (name == QLatin1String("continue-on-error")) {
        line.continueOnError = true;
    } else if (name == QLatin1String("help")) {
        line.help = true;
    }
    return true;
}

// Which options make sense for which command: one given elsewhere is a
// mistake in the script, better named than ignored.
bool allowed(const QString &command, const QString &option)
{
    static const QHash<QString, QStringList> only = {
        {QStringLiteral("tag"), {QStringLiteral("scan")}},
        {QStringLiteral("out"), {QStringLiteral("identify"), QStringLiteral("read")}},
        {QStringLiteral("pdf"), {QStringLiteral("report")}},
        {QStringLiteral("hold"), {QStringLiteral("loop-test")}},
        {QStringLiteral("dry-run"),
         {QStringLiteral("write"), QStringLiteral("set"), QStringLiteral("commission")}},
        {QStringLiteral("yes"),
         {QStringLiteral("write"), QStringLiteral("set"), QStringLiteral("commission"),
          QStringLiteral("loop-test")}},
        {QStringLiteral("continue-on-error"), {QStringLiteral("commission")}},
    };
    const auto it = only.find(option);
    return it == only.end() || it->contains(command);
}

} // namespace

QStringList CommandLine::commands()
{
    return {QStringLiteral("scan"),      QStringLiteral("identify"), QStringLiteral("read"),
            QStringLiteral("write"),     QStringLiteral("set"),      QStringLiteral("commission"),
            QStringLiteral("loop-test"), QStringLiteral("report")};
}

std::optional<CommandLine> CommandLine::parse(const QStringList &arguments, QString *error)
{
    CommandLine line;
    bool linkGiven = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &word = arguments.at(i);
        if (!word.startsWith(QLatin1String("--")) || word == QLatin1String("--")) {
            if (line.command.isEmpty())
                line.command = word;
            else if (word != QLatin1String("--"))
                line.arguments << word;
            continue;
        }
        QString name = word.mid(2);
        QString value;
        const qsizetype equals = name.indexOf(QLatin1Char('='));
        const bool inline_ = equals >= 0;
        if (inline_) {
            value = name.mid(equals + 1);
            name.truncate(equals);
        }
        const auto known = options().find(name);
        if (known == options().end()) {
            *error = tr("unknown option --%1").arg(name);
            return std::nullopt;
        }
        if (*known == Takes::Value && !inline_) {
            if (i + 1 >= arguments.size()) {
                *error = tr("--%1 needs a value").arg(name);
                return std::nullopt;
            }
            value = arguments.at(++i);
        }
        if (!apply(line, name, value, error))
            return std::nullopt;
        linkGiven = linkGiven || name == QLatin1String("link");
        if (!line.command.isEmpty() && !allowed(line.command, name)) {
            *error = tr("--%1 does not go with %2").arg(name, line.command);
            return std::nullopt;
        }
    }
    if (line.help)
        return line;
    if (line.command.isEmpty()) {
        *error = tr("no command given");
        return std::nullopt;
    }
    if (!commands().contains(line.command)) {
        *error = tr("unknown command %1").arg(line.command);
        return std::nullopt;
    }
    // A script names its loop: the program's last choice may be another plant's.
    if (!linkGiven) {
        *error = tr("%1 needs --link").arg(line.command);
        return std::nullopt;
    }
    const bool needsAddress =
        line.command != QLatin1String("scan") && line.command != QLatin1String("commission");
    if (needsAddress && line.address < 0) {
        *error = tr("%1 needs --address").arg(line.command);
        return std::nullopt;
    }
    if (!needsAddress && line.address >= 0) {
        *error = tr("--address does not go with %1").arg(line.command);
        return std::nullopt;
    }
    line.link.pollingAddress = qMax(0, line.address);
    return line;
}

QString CommandLine::usage()
{
    return tr("Usage: hartctl COMMAND --link LINK [options] [arguments]\n"
              "\n"
              "Commands:\n"
              "  scan [--tag TAG]                  the devices on the loop\n"
              "  identify --address N              who answers at the polling address\n"
              "  read --address N [--out FILE]     the dataset (or a device's universal values)\n"
              "  write --address N FILE.vexds      writes a dataset file (--dry-run, --yes)\n"
              "  set --address N NAME=VALUE...     writes single values: tag, descriptor,\n"
              "                                    message, lrv, urv, unit, damping, transfer\n"
              "  commission SHEET.csv              one row a device (--continue-on-error)\n"
              "  loop-test --address N MA...       fixed currents (--hold SECONDS or Enter)\n"
              "  report --address N --pdf FILE     the printed report\n"
              "\n"
              "Options:\n"
              "  --link sim|serial:DEV|hartip:HOST[:PORT][/udp]\n"
              "  --json              machine-readable output\n"
              "  --yes               write without asking\n"
              "  --history FILE      the history database (default: the user's)\n"
              "  --capture FILE      a traffic record (pcap) of everything sent and received\n"
              "  --lang de|en        the language of the output\n"
              "  --link-speed BIT/S  wire time of the built-in simulated transmitter\n"
              "\n"
              "Exit codes: 0 done, 1 a device refused or differed, 2 bad input,\n"
              "3 link failure, 130 interrupted (Ctrl+C; a fixed loop current is released).\n");
}
