#include "FrameOptions.h"

#include "hart/HartLinkProfile.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

QList<QCommandLineOption> options()
{
    return {
        {QStringLiteral("lang"), QStringLiteral("Language of the user interface (de, en)."),
         QStringLiteral("language")},
        {QStringLiteral("file"), QStringLiteral("Dataset file to open."), QStringLiteral("path")},
        {QStringLiteral("address"), QStringLiteral("HART polling address (0 to 15)."),
         QStringLiteral("n"), QStringLiteral("0")},
        {QStringLiteral("context"), QStringLiteral("Engineering context of the frame."),
         QStringLiteral("code")},
        {QStringLiteral("link-speed"),
         QStringLiteral("Modelled link speed in bit/s; 0 for no wire time."), QStringLiteral("bps"),
         QStringLiteral("1200")},
        {QStringLiteral("country"), QStringLiteral("Country code of the report and datasets."),
         QStringLiteral("code"), QStringLiteral("0")},
        {QStringLiteral("history"),
         QStringLiteral("History database of snapshots and changes (default: in the user's "
                        "data folder), or a team's server: postgresql://user@host:port/db "
                        "(its password from ~/.pgpass or a service file)."),
         QStringLiteral("path|url")},
        {QStringLiteral("connect"), QStringLiteral("Connect to the device at start-up.")},
        {QStringLiteral("link"),
         QStringLiteral("The link to the device: sim, serial:/dev/ttyUSB0 or "
                        "hartip:HOST[:PORT][/udp] (remembered for the next start)."),
         QStringLiteral("link")},
        {QStringLiteral("capture"),
         QStringLiteral("Record every HART frame as HART-IP messages in this pcap file."),
         QStringLiteral("file.pcap")},
        {QStringLiteral("quit"),
         QStringLiteral("Start the device instance, report what happened and end.")},
    };
}

bool readNumber(const QCommandLineParser &parser, const QString &name, int low, int high, int &out,
                QString *error)
{
    bool ok = false;
    const int value = parser.value(name).toInt(&ok);
    if (!ok || value < low || value > high) {
        *error = QStringLiteral("--%1 takes a number from %2 to %3").arg(name).arg(low).arg(high);
        return false;
    }
    out = value;
    return true;
}

} // namespace

std::optional<FrameOptions> FrameOptions::parse(const QStringList &arguments, QString *error)
{
    QCommandLineParser parser;
    parser.addOptions(options());
    parser.addHelpOption();
    if (!parser.parse(arguments)) {
        *error = parser.errorText();
        return std::nullopt;
    }
    FrameOptions o;
    o.language = parser.value(QStringLiteral("lang")).toLower();
    if (!o.language.isEmpty() && o.language != QLatin1String("de") &&
        o.language != QLatin1String("en")) {
        *error = QStringLiteral("--lang takes de or en");
        return std::nullopt;
    }
    o.datasetFile = parser.value(QStringLiteral("file"));
    o.historyDatabase = parser.value(QStringLiteral("history"));
    o.engineeringContext = parser.value(QStringLiteral("context"));
    o.connect = parser.isSet(QStringLiteral("connect"));
    o.quit = parser.isSet(QStringLiteral("quit"));
    o.help = parser.isSet(QStringLiteral("help"));
    o.pollingAddressGiven = parser.isSet(QStringLiteral("address"));
    o.link = parser.value(QStringLiteral("link"));
    o.captureFile = parser.value(QStringLiteral("capture"));
    if (!o.link.isEmpty() && !HartLinkProfile::parse(o.link, error))
        return std::nullopt;
    if (!readNumber(parser, QStringLiteral("address"), 0, 15, o.pollingAddress, error) ||
        !readNumber(parser, QStringLiteral("link-speed"), 0, 115200, o.linkBitRate, error) ||
        !readNumber(parser, QStringLiteral("country"), 0, 9999, o.countryCode, error))
        return std::nullopt;
    return o;
}

bool FrameOptions::asksForHelp(int argc, const char *const *argv)
{
    for (int i = 1; i < argc; ++i) {
        const QByteArray argument(argv[i]);
        if (argument == "--")
            return false;
        if (argument == "-h" || argument == "--help" || argument == "-?" ||
            argument == "--help-all")
            return true;
    }
    return false;
}

QString FrameOptions::usage()
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configuration and diagnosis of HART pressure transmitters, on the "
                       "simulated transmitter."));
    parser.addOptions(options());
    parser.addHelpOption();
    return parser.helpText();
}
