// The real links measured against hartsim. Over HART-IP on localhost: how
// many round trips a second the host manages and its own processor time for
// each (the floor below which no link goes). Over a pseudo-terminal pair at
// 1200 bit/s: how long a whole-dataset upload takes on the wire against the
// time the bit rate alone allows for the same bytes (the physical limit).

#include "RatioReporter.h"

#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "SequenceEngine.h"
#include "hart/HartIpLink.h"
#include "hart/HartMaster.h"
#include "hart/HartProtocol.h"
#include "hart/SerialHartLink.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

// Runs the event loop until done() holds or the time is up. It sleeps
// between events: the processor time measured is the host's own work.
bool waitFor(const std::function<bool()> &done, int ms)
{
    const QDeadlineTimer deadline(ms);
    QTimer wake; // an event at the deadline, should nothing else come
    wake.setSingleShot(true);
    wake.start(ms);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return true;
}

// A program the bench starts and ends again; each line it prints kept.
struct Process
{
    QProcess process;
    QStringList lines;

    bool start(const QString &program, const QStringList &arguments, const QString &readyLine)
    {
        process.setProgram(program);
        process.setArguments(arguments);
        process.start();
        if (!process.waitForStarted(5000))
            return false;
        return waitFor(
            [&] {
                while (process.canReadLine())
                    lines << QString::fromUtf8(process.readLine()).trimmed();
                return readyLine.isEmpty() ||
                       (!lines.isEmpty() && lines.last().startsWith(readyLine));
            },
            10000);
    }
    ~Process()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        process.terminate();
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
    }
};

QStringList hartsimArguments(const QStringList &more)
{
    return QStringList{QStringLiteral("--end-with-input")} + more;
}

void BM_HartIpRoundTrip(benchmark::State &state)
{
    const bool udp = state.range(0) != 0;
    Process sim;
    if (!sim.start(QStringLiteral(HARTSIM_PATH),
                   hartsimArguments({QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                                     QStringLiteral("--tcp"), QStringLiteral("0"),
                                     QStringLiteral("--udp"), QStringLiteral("0")}),
                   QStringLiteral("hartsim: ready"))) {
        state.SkipWithError("hartsim did not start");
        return;
    }
    static const QRegularExpression Port(QStringLiteral("hart-ip (tcp|udp) \\S+ port (\\d+)"));
    HartIpLink::Settings settings;
    for (const QString &line : sim.lines) {
        const QRegularExpressionMatch m = Port.match(line);
        if (m.hasMatch() && (m.captured(1) == QLatin1String("udp")) == udp)
            settings.port = quint16(m.captured(2).toUInt());
    }
    settings.transport = udp ? HartIpLink::Transport::Udp : HartIpLink::Transport::Tcp;
    HartIpLink link(settings);
    HartMaster master(&link);
    bool identified = false;
    link.open();
    master.identify(0, [&](const HartMaster::Outcome &) { identified = master.isIdentified(); });
    if (!waitFor([&] { return identified; }, 5000)) {
        state.SkipWithError("no device over HART-IP");
        return;
    }
    const double cpu = processCpuSeconds();
    for (auto _ : state) {
        bool answered = false;
        master.transact(1, {}, [&](const HartMaster::Outcome &o) {
            answered = o.kind == HartMaster::Outcome::Kind::Response;
        });
        if (!waitFor([&] { return answered; }, 5000)) {
            state.SkipWithError("a round trip went unanswered");
            break;
        }
    }
    const double cpuPerTransaction = (processCpuSeconds() - cpu) / double(state.iterations());
    state.counters["round trips/s"] =
        benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["host cpu us/transaction"] = cpuPerTransaction * 1e6;
    link.close();
}
BENCHMARK(BM_HartIpRoundTrip)
    ->ArgName("udp")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();

double g_wireSeconds = 0;
double g_limitSeconds = 0;
int g_transactions = 0;

// Counts the bytes of every transaction both ways as they travel on the
// wire, from the link's own traffic record.
struct WireCounter : HartTrafficSink
{
    void take(const HartTraffic &traffic) override
    {
        bytes += traffic.bytes.size();
        if (traffic.direction == HartTraffic::Direction::FromDevice &&
            traffic.shape == HartTraffic::Shape::Frame)
            ++transactions;
    }
    qint64 bytes = 0;
    int transactions = 0;
};

void BM_UploadOverPty1200(benchmark::State &state)
{
    QTemporaryDir dir;
    const QString modem = dir.filePath(QStringLiteral("modem"));
    const QString device = dir.filePath(QStringLiteral("device"));
    Process socat;
    if (QStandardPaths::findExecutable(QStringLiteral("socat")).isEmpty() ||
        !socat.start(QStringLiteral("socat"),
                     {QStringLiteral("pty,raw,echo=0,link=") + modem,
                      QStringLiteral("pty,raw,echo=0,link=") + device},
                     {}) ||
        !waitFor([&] { return QFile::exists(modem) && QFile::exists(device); }, 5000)) {
        state.SkipWithError("socat made no pseudo-terminal pair");
        return;
    }
    Process sim;
    if (!sim.start(
            QStringLiteral(HARTSIM_PATH),
            hartsimArguments({QStringLiteral("--tcp"), QStringLiteral("-1"),
                              QStringLiteral("--udp"), QStringLiteral("-1"),
                              QStringLiteral("--serial"), device, QStringLiteral("--wire-time")}),
            QStringLiteral("hartsim: ready"))) {
        state.SkipWithError("hartsim did not start on the pty");
        return;
    }
    SerialHartLink::Settings settings;
    settings.portName = modem;
    // The simulated slave hands its whole answer over when its last bit
    // would have left: the link waits for that, not for the start.
    settings.responseTimeoutMs = 1000;
    SerialHartLink link(settings);
    WireCounter wire;
    link.setTrafficSink(&wire);
    const DeviceDescription description =
        *DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), nullptr);
    DeviceInstance instance(description, &link);
    instance.connection().connectDevice();
    if (!waitFor([&] { return instance.connection().status() == ConnectionController::Connected; },
                 10000)) {
        state.SkipWithError("no device over the pty");
        return;
    }
    for (auto _ : state) {
        wire.bytes = 0;
        wire.transactions = 0;
        bool ended = false;
        bool completed = false;
        QObject::connect(&instance.engine(), &SequenceEngine::sequenceEnded, &link,
                         [&](const QString &, bool ok) {
                             ended = true;
                             completed = ok;
                         });
        const auto start = std::chrono::steady_clock::now();
        if (instance.engine().start(QStringLiteral("UPLOAD")) != 0 ||
            !waitFor([&] { return ended; }, 120000) || !completed) {
            state.SkipWithError("upload failed");
            break;
        }
        g_wireSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        g_limitSeconds =
            double(wire.bytes) * SerialHartLink::BitsPerCharacter / SerialHartLink::BitRate;
        g_transactions = wire.transactions;
    }
    state.counters["wire s"] = g_wireSeconds;
    state.counters["limit s"] = g_limitSeconds;
    instance.connection().disconnectDevice();
}
BENCHMARK(BM_UploadOverPty1200)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const char *name :
         {"BM_HartIpRoundTrip/udp:0/real_time", "BM_HartIpRoundTrip/udp:1/real_time"}) {
        const double ns = reporter.nanosecondsPerIteration(name);
        if (ns > 0)
            std::printf("HART-IP %s on localhost: %.0f round trips per second (%.1f us each)\n",
                        std::string(name).find("udp:1") != std::string::npos ? "UDP" : "TCP",
                        1e9 / ns, ns / 1e3);
    }
    if (g_wireSeconds > 0 && g_limitSeconds > 0)
        std::printf("upload over the pty at 1200 bit/s: %d transactions in %.2f s on the wire; "
                    "the bit rate alone allows %.2f s; ratio %.2f\n",
                    g_transactions, g_wireSeconds, g_limitSeconds, g_wireSeconds / g_limitSeconds);
    benchmark::Shutdown();
    return 0;
}
