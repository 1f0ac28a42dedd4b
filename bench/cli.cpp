// hartctl commissioning 15 transmitters on a simulated 1200 bit/s loop:
// hartsim as a serial slave that answers as late as the wire would, behind
// a socat pseudo-terminal pair. The run's traffic record gives the bytes
// that travelled; at 11 bits a character their wire time is the least the
// commissioning can take; a primary master must besides leave the line
// quiet for 8 character times after each answer before its next request.
// Printed: the run, the frames' wire time, the same with those gaps, and
// the ratio of the run to the latter (goal: 1.05 or less).

#include "RatioReporter.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtEndian>
#include <chrono>
#include <cstdio>

namespace {

constexpr int Devices = 15;
constexpr double BitsPerCharacter = 11; // 8 data bits, odd parity, start and stop bit
constexpr double BitRate = 1200;
constexpr int GapCharacters = 8;      // after each answer, before the next request
constexpr quint16 MasterPort = 49152; // the record's port of the master's side
// Each record packet: Ethernet, IPv4 and UDP headers, then the HART-IP
// header, then the bytes as the serial line carried them.
constexpr int PacketOverhead = 14 + 20 + 8 + 8;

double g_runSeconds = 0;
double g_wireSeconds = 0;
double g_gapSeconds = 0;
int g_requests = 0;

struct Wire
{
    qint64 bytes = 0;
    int requests = 0;
};

// The bytes on the wire in a traffic record, and how many requests went out.
Wire wireOf(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QByteArray bytes = file.readAll();
    Wire wire;
    constexpr int SourcePort = 14 + 20; // in the packet: behind Ethernet and IPv4
    for (qsizetype at = 24; at + 16 <= bytes.size();) {
        const quint32 length = qFromLittleEndian<quint32>(bytes.constData() + at + 8);
        if (at + 16 + qsizetype(length) > bytes.size() || length < PacketOverhead)
            break;
        wire.bytes += qint64(length) - PacketOverhead;
        if (qFromBigEndian<quint16>(bytes.constData() + at + 16 + SourcePort) == MasterPort)
            ++wire.requests;
        at += 16 + length;
    }
    return wire;
}

bool waitForFile(const QString &path)
{
    const QDeadlineTimer deadline(5000);
    while (!QFile::exists(path) && !deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return QFile::exists(path);
}

void BM_CommissionFifteenOverPty1200(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString modem = dir.filePath(QStringLiteral("modem"));
    const QString device = dir.filePath(QStringLiteral("device"));
    QProcess socat;
    socat.start(QStringLiteral("socat"), {QStringLiteral("pty,raw,echo=0,link=") + modem,
                                          QStringLiteral("pty,raw,echo=0,link=") + device});
    if (!socat.waitForStarted(5000) || !waitForFile(modem) || !waitForFile(device)) {
        state.SkipWithError("socat made no pseudo-terminal pair");
        return;
    }
    QStringList addresses;
    QByteArray sheet = "address,current_tag,tag,lrv,urv,unit,damping\n";
    for (int i = 0; i < Devices; ++i) {
        addresses << QString::number(i);
        sheet += QByteArray::number(i) + ",PT-1,PT-" + QByteArray::number(200 + i) + ",0," +
                 QByteArray::number(100 + 10 * i) + ",mbar," + QByteArray::number(i % 4) + "\n";
    }
    QFile sheetFile(dir.filePath(QStringLiteral("sheet.csv")));
    if (!sheetFile.open(QIODevice::WriteOnly) || sheetFile.write(sheet) != sheet.size()) {
        state.SkipWithError("the sheet cannot be written");
        return;
    }
    sheetFile.close();
    QProcess sim;
    sim.start(QStringLiteral(HARTSIM_PATH),
              {QStringLiteral("--end-with-input"), QStringLiteral("--tcp"), QStringLiteral("-1"),
               QStringLiteral("--udp"), QStringLiteral("-1"), QStringLiteral("--serial"), device,
               QStringLiteral("--wire-time"), QStringLiteral("--devices"),
               addresses.join(QLatin1Char(','))});
    if (!sim.waitForStarted(5000) || !sim.waitForReadyRead(5000)) {
        state.SkipWithError("hartsim did not start on the pty");
        return;
    }
    const QString record = dir.filePath(QStringLiteral("run.pcap"));
    for (auto _ : state) {
        QProcess hartctl;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), dir.filePath(QStringLiteral("config")));
        env.insert(QStringLiteral("XDG_DATA_HOME"), dir.filePath(QStringLiteral("data")));
        hartctl.setProcessEnvironment(env);
        hartctl.setStandardOutputFile(QProcess::nullDevice());
        const auto start = std::chrono::steady_clock::now();
        hartctl.start(QStringLiteral(HARTCTL_PATH),
                      {QStringLiteral("commission"), QStringLiteral("--link"),
                       QStringLiteral("serial:") + modem, QStringLiteral("--yes"),
                       QStringLiteral("--capture"), record, QStringLiteral("--history"),
                       dir.filePath(QStringLiteral("history.db")), sheetFile.fileName()});
        if (!hartctl.waitForFinished(30 * 60 * 1000) || hartctl.exitCode() != 0) {
            std::fprintf(stderr, "%s\n", hartctl.readAllStandardError().constData());
            state.SkipWithError("the commissioning failed");
            break;
        }
        g_runSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const Wire wire = wireOf(record);
        g_wireSeconds = double(wire.bytes) * BitsPerCharacter / BitRate;
        g_gapSeconds = wire.requests * GapCharacters * BitsPerCharacter / BitRate;
        g_requests = wire.requests;
    }
    state.counters["run s"] = g_runSeconds;
    state.counters["wire s"] = g_wireSeconds;
    state.counters["gaps s"] = g_gapSeconds;
    sim.closeWriteChannel();
    sim.waitForFinished(5000);
    socat.terminate();
    socat.waitForFinished(5000);
}
BENCHMARK(BM_CommissionFifteenOverPty1200)
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (g_runSeconds > 0 && g_wireSeconds > 0) {
        const double needed = g_wireSeconds + g_gapSeconds;
        std::printf("hartctl commission of %d transmitters at 1200 bit/s: %.2f s\n"
                    "  %d transactions: frames %.2f s on the wire, with the gaps a master must "
                    "leave %.2f s\n"
                    "  ratio to the wire time with gaps %.3f (goal: 1.05 or less), to the frames "
                    "alone %.3f\n",
                    Devices, g_runSeconds, g_requests, g_wireSeconds, needed, g_runSeconds / needed,
                    g_runSeconds / g_wireSeconds);
    }
    benchmark::Shutdown();
    return 0;
}
