// The history's costs beside one HART transaction (300 ms at 1200 bit/s):
// storing the snapshot taken before a write, logging one written value (its
// entry stored and completed), and filling the Compare window for the whole
// dataset. Each must stay far below one transaction.

#include "RatioReporter.h"

#include "ChangeLog.h"
#include "CompareController.h"
#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "HistoryService.h"
#include "ItemStore.h"
#include "VexAppletItemManager.h"
#include "history/CompareTable.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>

namespace {

constexpr double TransactionNs = 300e6;

// A connected device instance whose values were all read, with its history.
struct Bench
{
    Bench() : link(&device)
    {
        device.setRealTimeClock(false);
        link.setBitRate(0);
        const auto description =
            DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), nullptr);
        instance = std::make_unique<DeviceInstance>(*description, &link);
        service = std::make_unique<HistoryService>(*instance, dir.filePath("history.sqlite"));
        instance->connection().connectDevice();
        waitFor([this] { return service->isConnected(); });
        bool read = false;
        QObject::connect(service.get(), &HistoryService::deviceRead, service.get(),
                         [&read](bool) { read = true; });
        service->readDevice();
        waitFor([&read] { return read; });
    }

    static void waitFor(const std::function<bool()> &done)
    {
        QEventLoop loop;
        QTimer poll;
        QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
            if (done())
                loop.quit();
        });
        poll.start(1);
        loop.exec();
    }

    QTemporaryDir dir;
    SimulatedTransmitter device;
    InProcessHartLink link;
    std::unique_ptr<DeviceInstance> instance;
    std::unique_ptr<HistoryService> service;
};

std::unique_ptr<Bench> g_bench;

// Made on first use, inside the application's life.
Bench &bench()
{
    if (!g_bench)
        g_bench = std::make_unique<Bench>();
    return *g_bench;
}

void BM_StoreSnapshot(benchmark::State &state)
{
    Snapshot snapshot;
    snapshot.device = bench().service->identity().key();
    snapshot.taken = QDateTime::currentDateTimeUtc();
    snapshot.reason = QStringLiteral("DOWNLOAD");
    const ItemStore &store = bench().instance->manager()->store();
    for (int i = 0; i < store.count(); ++i) {
        if (store.definition(i).dataset)
            snapshot.values.insert(store.definition(i).name, store.text(i, true));
    }
    for (auto _ : state) {
        if (bench().service->snapshots().store(snapshot) == 0)
            state.SkipWithError("snapshot not stored");
    }
    state.counters["values"] = double(snapshot.values.size());
}
BENCHMARK(BM_StoreSnapshot)->Unit(benchmark::kMicrosecond);

void BM_LogOneWrite(benchmark::State &state)
{
    ChangeEntry entry;
    entry.time = QDateTime::currentDateTimeUtc();
    entry.device = bench().service->identity().key();
    entry.item = QStringLiteral("filterTime");
    entry.oldValue = QStringLiteral("0");
    entry.newValue = QStringLiteral("2.5");
    ChangeLog &log = bench().service->changeLog();
    for (auto _ : state) {
        const QList<qint64> ids = log.begin({entry});
        if (ids.isEmpty() || !log.complete(ids, ChangeEntry::Outcome::Accepted, 0))
            state.SkipWithError("entry not stored");
    }
}
BENCHMARK(BM_LogOneWrite)->Unit(benchmark::kMicrosecond);

void BM_CompareFill(benchmark::State &state)
{
    CompareController controller;
    controller.setService(bench().service.get());
    CompareTable table(&controller, true);
    for (auto _ : state)
        controller.compareWithDataset();
    state.counters["rows"] = double(controller.rows().size());
}
BENCHMARK(BM_CompareFill)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nshare of one HART transaction (300 ms):\n");
    for (const char *name : {"BM_StoreSnapshot", "BM_LogOneWrite", "BM_CompareFill"}) {
        const double ns = reporter.nanosecondsPerIteration(name);
        if (ns > 0)
            std::printf("  %-18s %9.3f ms  ratio %.5f\n", name + 3, ns / 1e6, ns / TransactionNs);
    }
    g_bench.reset();
    benchmark::Shutdown();
    return 0;
}
