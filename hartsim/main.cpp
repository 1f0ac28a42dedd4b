// hartsim: simulated transmitters at polling addresses 0 to 15, served as a
// HART-IP server on TCP and UDP, steered by control commands given with
// --control at start and read line by line from standard input; and as a
// HART slave on a serial device.

#include "simulator/HartIpServer.h"
#include "simulator/SerialHartSlave.h"
#include "simulator/SimulatedTransmitter.h"
#include "simulator/SimulatorControl.h"
#include "simulator/TransmitterLoop.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <QTextStream>
#include <unistd.h>

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

const char *const Description =
    "Serves simulated HART pressure transmitters for trying the program without\n"
    "hardware. Each transmitter answers at its own polling address (0 to 15) with\n"
    "a unique id of its own.\n\n"
    "Control commands, given with --control or typed on standard input one a line\n"
    "(each answered with \"ok\", a listing or \"error: ...\"; \"quit\" ends):\n";

void addOptions(QCommandLineParser &parser)
{
    parser.setApplicationDescription(QString::fromLatin1(Description) + SimulatorControl::help());
    parser.addHelpOption();
    parser.addOptions({
        {QStringLiteral("devices"),
         QStringLiteral("Polling addresses of the transmitters, comma separated (default 0; "
                        "empty: a loop without devices)."),
         QStringLiteral("list"), QStringLiteral("0")},
        {QStringLiteral("listen"),
         QStringLiteral("Address the HART-IP server listens on (default 127.0.0.1)."),
         QStringLiteral("address"), QStringLiteral("127.0.0.1")},
        {QStringLiteral("tcp"), QStringLiteral("HART-IP TCP port (0: any free port, -1: none)."),
         QStringLiteral("port"), QStringLiteral("5094")},
        {QStringLiteral("udp"), QStringLiteral("HART-IP UDP port (0: any free port, -1: none)."),
         QStringLiteral("port"), QStringLiteral("5094")},
        {QStringLiteral("serial"),
         QStringLiteral("Serve as a HART slave on this serial device (a modem or a pty)."),
         QStringLiteral("device")},
        {QStringLiteral("wire-time"),
         QStringLiteral("On the serial device, answer as late as a 1200 bit/s loop would.")},
        {QStringLiteral("control"), QStringLiteral("A control command to apply at start."),
         QStringLiteral("command")},
        {QStringLiteral("id-offset"),
         QStringLiteral("Add N to each transmitter's unique id, to stand in for other "
                        "transmitters of the same kind (default 0)."),
         QStringLiteral("N"), QStringLiteral("0")},
        {QStringLiteral("end-with-input"),
         QStringLiteral("End when standard input closes (started by another program).")},
    });
}

bool addDevices(TransmitterLoop &loop, const QString &list)
{
    for (const QString &part : list.split(QLatin1Char(','), Qt::SkipEmptyParts)) {
        bool ok = false;
        const int address = part.trimmed().toInt(&ok);
        if (!ok || address < 0 || address > TransmitterLoop::MaxPollingAddress ||
            !loop.add(quint8(address))) {
            out() << "hartsim: --devices: " << part << " is no free polling address 0 to 15"
                  << Qt::endl;
            return false;
        }
    }
    return true;
}

bool listen(HartIpServer &server, const QCommandLineParser &parser)
{
    const QHostAddress address(parser.value(QStringLiteral("listen")));
    if (address.isNull()) {
        out() << "hartsim: --listen takes an IP address" << Qt::endl;
        return false;
    }
    for (const char *kind : {"tcp", "udp"}) {
        bool ok = false;
        const int port = parser.value(QLatin1String(kind)).toInt(&ok);
        if (!ok || port < -1 || port > 65535) {
            out() << "hartsim: --" << kind << " takes a port number" << Qt::endl;
            return false;
        }
        if (port < 0)
            continue;
        QString error;
        const bool tcp = QLatin1String(kind) == QLatin1String("tcp");
        if (!(tcp ? server.listenTcp(address, quint16(port), &error)
                  : server.listenUdp(address, quint16(port), &error))) {
            out() << "hartsim: " << kind << " port " << port << ": " << error << Qt::endl;
            return false;
        }
        // Tests read the port from this line when they asked for any free one.
        out() << "hartsim: hart-ip " << kind << " " << address.toString() << " port "
              << (tcp ? server.tcpPort() : server.udpPort()) << Qt::endl;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("hartsim"));
    QCommandLineParser parser;
    addOptions(parser);
    parser.process(app);

    TransmitterLoop loop;
    if (!addDevices(loop, parser.value(QStringLiteral("devices"))))
        return 2;
    bool offsetOk = false;
    const uint offset = parser.value(QStringLiteral("id-offset")).toUInt(&offsetOk);
    if (!offsetOk || offset > 0xFF) {
        out() << "hartsim: --id-offset takes a number 0 to 255" << Qt::endl;
        return 2;
    }
    for (SimulatedTransmitter *d : loop.devices())
        d->setLoopPosition(d->pollingAddress(), (quint32(d->pollingAddress()) << 8) + offset);
    SimulatorControl control(loop);
    for (const QString &command : parser.values(QStringLiteral("control"))) {
        const QString reply = control.execute(command);
        if (reply.startsWith(QLatin1String("error")))
            out() << "hartsim: --control " << command << ": " << reply << Qt::endl;
    }
    HartIpServer server([&loop](QByteArrayView request) { return loop.respond(request); });
    // A gateway answers at once for an address where nobody is; the serial
    // line below stays silent, as a real one does.
    server.setPresence([&loop](const HartFrame &request) { return loop.takes(request); });
    if (!listen(server, parser))
        return 2;

    SerialHartSlave slave([&loop](QByteArrayView request) { return loop.respond(request); });
    if (parser.isSet(QStringLiteral("serial"))) {
        QString error;
        const QString device = parser.value(QStringLiteral("serial"));
        if (!slave.open(device, &error)) {
            out() << "hartsim: --serial " << device << ": " << error << Qt::endl;
            return 2;
        }
        slave.setModelledBitRate(parser.isSet(QStringLiteral("wire-time")) ? 1200 : 0);
        QObject::connect(&slave, &SerialHartSlave::portLost, &app, [](const QString &reason) {
            out() << "hartsim: serial device lost: " << reason << Qt::endl;
        });
        out() << "hartsim: serial " << device << Qt::endl;
    }

    // Commands from standard input, read as they come; lines may arrive in pieces.
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QByteArray pending;
    const bool endWithInput = parser.isSet(QStringLiteral("end-with-input"));
    QObject::connect(&input, &QSocketNotifier::activated, &app, [&] {
        char chunk[512];
        const ssize_t n = ::read(STDIN_FILENO, chunk, sizeof chunk);
        if (n <= 0) {
            // Standard input closed: the program that started us is gone, or
            // we run in the background and go on serving.
            input.setEnabled(false);
            if (endWithInput)
                app.quit();
            return;
        }
        pending.append(chunk, n);
        qsizetype end;
        while ((end = pending.indexOf('\n')) >= 0) {
            const QString line = QString::fromUtf8(pending.left(end)).trimmed();
            pending.remove(0, end + 1);
            if (line == QLatin1String("quit")) {
                app.quit();
                return;
            }
            if (!line.isEmpty())
                out() << control.execute(line) << Qt::endl;
        }
    });
    out() << "hartsim: ready, " << loop.devices().size() << " transmitter(s)" << Qt::endl;
    return app.exec();
}
