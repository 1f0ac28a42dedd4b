// The real links measured against hartsim. Over HART-IP on localhost: how
// many round trips a second the bare link manages (through its master) and
// its own processor time for each; how many a dataset upload through the
// whole host manages in the same run, and the ratio of the two; how long a
// scan of a loop without devices takes. Over a pseudo-terminal pair at
// 1200 bit/s: how long a whole-dataset upload takes on the wire against the
// time the bit rate alone allows for the same bytes (the physical limit).

#include "RatioReporter.h"

#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "SequenceEngine.h"
#include "hart/HartDeviceScan.h"
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
#include <optional>

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

// hartsim on any free port of 127.0.0.1; the settings of a link to it.
std::optional<HartIpLink::Settings> startHartsim(Process &sim, bool udp,
                                                 const QStringList &more = {})
{
    if (!sim.start(
            QStringLiteral(HARTSIM_PATH),
            hartsimArguments(QStringList{QStringLiteral("--listen"), QStringLiteral("127.0.0.1"),
                                         QStringLiteral("--tcp"), QStringLiteral("0"),
                                         QStringLiteral("--udp"), QStringLiteral("0")} +
                             more),
            QStringLiteral("hartsim: ready")))
        return std::nullopt;
    static const QRegularExpression Port(QStringLiteral("hart-ip (tcp|udp) \\S+ port (\\d+)"));
    HartIpLink::Settings settings;
    for (const QString &line : sim.lines) {
        const QRegularExpressionMatch m = Port.match(line);
        if (m.hasMatch() && (m.captured(1) == QLatin1String("udp")) == udp)
            settings.port = quint16(m.captured(2).toUInt());
    }
    settings.transport = udp ? HartIpLink::Transport::Udp : HartIpLink::Transport::Tcp;
    return settings;
}

void BM_HartIpRoundTrip(benchmark::State &state)
{
    const bool udp = state.range(0) != 0;
    Process sim;
    const std::optional<HartIpLink::Settings> settings = startHartsim(sim, udp);
    if (!settings) {
        state.SkipWithError("hartsim did not start");
        return;
    }
    HartIpLink link(*settings);
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
        master.transact(hart::command::ReadPrimaryVariable, {}, [&](const HartMaster::Outcome &o) {
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

// Counts the token-passing answers a HART-IP link reads: its round trips.
struct AnswerCounter : HartTrafficSink
{
    void take(const HartTraffic &traffic) override
    {
        answers += traffic.direction == HartTraffic::Direction::FromDevice &&
                   traffic.bytes.size() > 2 &&
                   quint8(traffic.bytes[2]) == quint8(HartIpMessage::Id::TokenPassingPdu);
    }
    qint64 answers = 0;
};

double g_hostRoundTripsPerSecond = 0;

// Whole-dataset uploads through the host (item store, records, sequence
// engine, master) over HART-IP/TCP: the round trips it keeps up a second.
void BM_UploadThroughHost(benchmark::State &state)
{
    Process sim;
    const std::optional<HartIpLink::Settings> settings = startHartsim(sim, false);
    if (!settings) {
        state.SkipWithError("hartsim did not start");
        return;
    }
    HartIpLink link(*settings);
    AnswerCounter counter;
    link.setTrafficSink(&counter);
    const DeviceDescription description =
        *DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), nullptr);
    DeviceInstance instance(description, &link);
    instance.connection().connectDevice();
    if (!waitFor([&] { return instance.connection().status() == ConnectionController::Connected; },
                 10000)) {
        state.SkipWithError("no device over HART-IP");
        return;
    }
    bool ended = false;
    bool completed = false;
    QObject::connect(&instance.engine(), &SequenceEngine::sequenceEnded, &link,
                     [&](const QString &, bool ok) {
                         ended = true;
                         completed = ok;
                     });
    counter.answers = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        ended = completed = false;
        if (instance.engine().start(QStringLiteral("UPLOAD")) != 0 ||
            !waitFor([&] { return ended; }, 60000) || !completed) {
            state.SkipWithError("upload failed");
            break;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    g_hostRoundTripsPerSecond = seconds > 0 ? double(counter.answers) / seconds : 0;
    state.counters["round trips/s"] = g_hostRoundTripsPerSecond;
    state.counters["round trips/upload"] =
        double(counter.answers) / double(qMax<benchmark::IterationCount>(1, state.iterations()));
    instance.connection().disconnectDevice();
}
BENCHMARK(BM_UploadThroughHost)->Unit(benchmark::kMillisecond)->UseRealTime();

double g_scanSeconds = 0;

// A scan of all sixteen polling addresses of a loop without devices, with
// the link's usual time-out of 3 s: the gateway answers each at once.
void BM_ScanEmptyHartIpLoop(benchmark::State &state)
{
    Process sim;
    const std::optional<HartIpLink::Settings> settings =
        startHartsim(sim, false, {QStringLiteral("--devices"), QString()});
    if (!settings) {
        state.SkipWithError("hartsim did not start");
        return;
    }
    HartIpLink link(*settings);
    for (auto _ : state) {
        HartDeviceScan scan(&link);
        bool done = false;
        QObject::connect(&scan, &HartDeviceScan::finished, &scan, [&](bool) { done = true; });
        const auto start = std::chrono::steady_clock::now();
        if (!scan.start() || !waitFor([&] { return done; }, 120000)) {
            state.SkipWithError("the scan did not end");
            break;
        }
        g_scanSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    state.counters["scan s"] = g_scanSeconds;
}
BENCHMARK(BM_ScanEmptyHartIpLoop)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

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
    double bareTcp = 0;
    for (const char *name :
         {"BM_HartIpRoundTrip/udp:0/real_time", "BM_HartIpRoundTrip/udp:1/real_time"}) {
        const double ns = reporter.nanosecondsPerIteration(name);
        const bool udp = std::string(name).find("udp:1") != std::string::npos;
        if (ns > 0 && !udp)
            bareTcp = 1e9 / ns;
        if (ns > 0)
            std::printf("HART-IP %s on localhost, the bare link: %.0f round trips per second "
                        "(%.1f us each)\n",
                        udp ? "UDP" : "TCP", 1e9 / ns, ns / 1e3);
    }
    if (g_hostRoundTripsPerSecond > 0 && bareTcp > 0)
        std::printf("dataset upload through the whole host over HART-IP/TCP: %.0f round trips "
                    "per second; the bare link in this run: %.0f; ratio %.2f (goal: 0.5 or "
                    "more)\n",
                    g_hostRoundTripsPerSecond, bareTcp, g_hostRoundTripsPerSecond / bareTcp);
    if (g_scanSeconds > 0)
        std::printf("scan of an empty HART-IP loop (16 addresses, 3 s time-out): %.0f ms "
                    "(goal: 2 s or less)\n",
                    g_scanSeconds * 1e3);
    if (g_wireSeconds > 0 && g_limitSeconds > 0)
        std::printf("upload over the pty at 1200 bit/s: %d transactions in %.2f s on the wire; "
                    "the bit rate alone allows %.2f s; ratio %.2f\n",
                    g_transactions, g_wireSeconds, g_limitSeconds, g_wireSeconds / g_limitSeconds);
    benchmark::Shutdown();
    return 0;
}
