// A whole-dataset upload through the real host and the simulated transmitter:
// at zero link delay (how many HART transactions the host manages a second)
// and at the modelled 1200 bit/s wire, where the host's own processor time
// must stay a small share of the wire time.

#include "RatioReporter.h"

#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "SequenceEngine.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

double processCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) * 1e-9;
}

const DeviceDescription &description()
{
    static const DeviceDescription d =
        *DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), nullptr);
    return d;
}

int uploadRecords()
{
    return int(description().findSequence(QStringLiteral("UPLOAD"))->records.size());
}

// One device instance on its own simulated transmitter, connected.
struct Bench
{
    explicit Bench(int bitRate) : link(&device)
    {
        device.setRealTimeClock(false);
        link.setBitRate(bitRate);
        instance = std::make_unique<DeviceInstance>(description(), &link);
        instance->connection().connectDevice();
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (instance->connection().status() == ConnectionController::Connected)
                loop.quit();
        });
        poll.start(1);
        loop.exec();
    }

    bool upload()
    {
        QEventLoop loop;
        bool completed = false;
        QObject::connect(&instance->engine(), &SequenceEngine::sequenceEnded, &loop,
                         [&](const QString &, bool ok) {
                             completed = ok;
                             loop.quit();
                         });
        if (instance->engine().start(QStringLiteral("UPLOAD")) != 0)
            return false;
        loop.exec();
        instance->engine().adjust(QStringLiteral("UPLOAD"));
        return completed;
    }

    SimulatedTransmitter device;
    InProcessHartLink link;
    std::unique_ptr<DeviceInstance> instance;
};

double g_wireSeconds = 0;
double g_cpuSeconds = 0;

void BM_UploadZeroDelay(benchmark::State &state)
{
    Bench bench(0);
    for (auto _ : state) {
        if (!bench.upload())
            state.SkipWithError("upload failed");
    }
    state.counters["transactions/s"] = benchmark::Counter(
        double(state.iterations() * uploadRecords()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_UploadZeroDelay)->Unit(benchmark::kMillisecond);

void BM_Upload1200(benchmark::State &state)
{
    Bench bench(InProcessHartLink::DefaultBitRate);
    for (auto _ : state) {
        const double cpu = processCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        if (!bench.upload())
            state.SkipWithError("upload failed");
        g_wireSeconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        g_cpuSeconds = processCpuSeconds() - cpu;
    }
    state.counters["host cpu %"] = 100.0 * g_cpuSeconds / g_wireSeconds;
}
BENCHMARK(BM_Upload1200)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double zero = reporter.nanosecondsPerIteration("BM_UploadZeroDelay");
    if (zero > 0)
        std::printf("\nupload at zero delay: %d records in %.2f ms, %.0f transactions per second\n",
                    uploadRecords(), zero / 1e6, uploadRecords() * 1e9 / zero);
    if (g_wireSeconds > 0)
        std::printf("upload at 1200 bit/s: %.2f s on the wire, host processor time %.1f ms "
                    "(%.3f %% of the wire time)\n",
                    g_wireSeconds, g_cpuSeconds * 1e3, 100.0 * g_cpuSeconds / g_wireSeconds);
    benchmark::Shutdown();
    return 0;
}
