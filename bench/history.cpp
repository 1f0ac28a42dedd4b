// The history's costs beside one HART transaction (300 ms at 1200 bit/s):
// storing the snapshot taken before a write, logging one written value (its
// entry stored and completed), and filling the Compare window for the whole
// dataset. Each must stay far below one transaction.
//
// A team's history, each on a PostgreSQL server (started for the run) beside
// the same on SQLite: the fleet list of 5,000 devices with 100,000 change-log
// entries (goal 200 ms), and 10,000 waiting entries sent (goal 5 s).

#include "RatioReporter.h"

#include "CalibrationStore.h"
#include "ChangeLog.h"
#include "CompareController.h"
#include "ConnectionController.h"
#include "DeviceDescription.h"
#include "DeviceInstance.h"
#include "FleetList.h"
#include "HistoryService.h"
#include "HistorySync.h"
#include "ItemStore.h"
#include "PostgresServer.h"
#include "VexAppletItemManager.h"
#include "history/CompareTable.h"
#include "simulator/InProcessHartLink.h"
#include "simulator/SimulatedTransmitter.h"

#include <QApplication>
#include <QEventLoop>
#include <QSqlQuery>
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

// A history of devices the fleet list reads: per device 20 changes and two
// calibration checks.
constexpr int FleetDevices = 5000;
constexpr int ChangesPerDevice = 20;
constexpr int WaitingEntries = 10000;

QString deviceKey(int i)
{
    return QStringLiteral("3C-9D-%1").arg(i, 6, 16, QLatin1Char('0')).toUpper();
}

bool fillFleet(HistoryDatabase &db)
{
    const QDateTime start(QDate(2025, 1, 1), QTime(8, 0), Qt::UTC);
    return db.transaction([&](QSqlQuery &query) {
        for (int d = 0; d < FleetDevices; ++d) {
            ChangeEntry entry;
            entry.device = deviceKey(d);
            entry.user = QStringLiteral("ada");
            entry.item = QStringLiteral("filterTime");
            entry.newValue = QStringLiteral("2.5");
            query.prepare(QStringLiteral(
                "INSERT INTO changes(uuid, time, \"user\", workstation, device, tag, item,"
                " new_value, outcome) VALUES(?, ?, 'ada', 'laptop-a', ?, ?, 'filterTime', '2.5', "
                "1)"));
            for (int c = 0; c < ChangesPerDevice; ++c) {
                query.addBindValue(HistoryDatabase::newUuid());
                query.addBindValue(start.addSecs(qint64(d) * 3600 + c * 60)
                                       .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ")));
                query.addBindValue(entry.device);
                query.addBindValue(QStringLiteral("PT-%1").arg(d));
                if (!query.exec())
                    return false;
            }
            query.prepare(QStringLiteral(
                "INSERT INTO calibration_checks(uuid, device, tag, checked_at, technician,"
                " as_found_passed, as_left_passed, as_found_error, document)"
                " VALUES(?, ?, ?, ?, 'bob', 1, 1, ?, '{}')"));
            for (int k = 0; k < 2; ++k) {
                query.addBindValue(HistoryDatabase::newUuid());
                query.addBindValue(entry.device);
                query.addBindValue(QStringLiteral("PT-%1").arg(d));
                query.addBindValue(start.addDays(d % 300 + k * 30)
                                       .toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzzZ")));
                query.addBindValue(0.01 * (d % 20) + 0.02 * k);
                if (!query.exec())
                    return false;
            }
        }
        return true;
    });
}

struct TeamBench
{
    QTemporaryDir dir;
    PostgresServer &server = PostgresServer::instance();
    int databases = 0;

    // A new empty history: a database on the server, or an SQLite file.
    QString newHistory(bool onServer)
    {
        const QString name = QStringLiteral("bench%1").arg(++databases);
        if (!onServer)
            return dir.filePath(name + QStringLiteral(".sqlite"));
        if (!server.problem().isEmpty() || !server.createHistory(name).isEmpty() ||
            !server.createTechnician(QStringLiteral("tech")).isEmpty())
            return QString();
        return server.location(name, QStringLiteral("tech"));
    }
};

TeamBench &team()
{
    static TeamBench bench;
    return bench;
}

void BM_FleetFill(benchmark::State &state)
{
    const bool onServer = state.range(0) != 0;
    const QString location = team().newHistory(onServer);
    HistoryDatabase db(location);
    if (location.isEmpty() || db.open() != HistoryDatabase::Status::Open || !fillFleet(db)) {
        state.SkipWithError(qPrintable(team().server.problem() + db.detail()));
        return;
    }
    qsizetype rows = 0;
    for (auto _ : state)
        rows = FleetList::load(db).size();
    state.counters["devices"] = double(rows);
    state.SetLabel(onServer ? "postgresql" : "sqlite");
}
BENCHMARK(BM_FleetFill)->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

void BM_SendWaiting(benchmark::State &state)
{
    const bool onServer = state.range(0) != 0;
    for (auto _ : state) {
        state.PauseTiming();
        const QString location = team().newHistory(onServer);
        HistoryDatabase target(location);
        HistoryDatabase local(
            team().dir.filePath(QStringLiteral("waiting%1.sqlite")).arg(team().databases));
        local.setQueueForServer(true);
        ChangeLog log(local);
        QList<ChangeEntry> entries;
        for (int i = 0; i < WaitingEntries; ++i) {
            ChangeEntry entry;
            entry.time = QDateTime::currentDateTimeUtc().addSecs(-WaitingEntries + i);
            entry.device = deviceKey(i % 100);
            entry.item = QStringLiteral("filterTime");
            entry.newValue = QString::number(i);
            entry.outcome = ChangeEntry::Outcome::Accepted;
            entries << entry;
        }
        if (location.isEmpty() || local.open() != HistoryDatabase::Status::Open ||
            target.open() != HistoryDatabase::Status::Open ||
            !log.complete(log.begin(entries), ChangeEntry::Outcome::Accepted, 0)) {
            state.SkipWithError("no history to send");
            return;
        }
        HistorySync sync(local, target);
        state.ResumeTiming();
        if (!sync.sendWaiting())
            state.SkipWithError(qPrintable(sync.detail()));
    }
    state.SetLabel(onServer ? "postgresql" : "sqlite");
}
BENCHMARK(BM_SendWaiting)->Arg(1)->Arg(0)->Iterations(1)->Unit(benchmark::kMillisecond);

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
    std::printf("\nteam history (PostgreSQL beside SQLite):\n");
    const struct
    {
        const char *name;
        const char *suffix;
        double goalMs;
    } team[] = {{"BM_FleetFill", "", 200.0}, {"BM_SendWaiting", "/iterations:1", 5000.0}};
    for (const auto &row : team) {
        const auto ms = [&](const char *engine) {
            return reporter.nanosecondsPerIteration(std::string(row.name) + engine + row.suffix) /
                   1e6;
        };
        std::printf("  %-16s postgresql %9.1f ms   sqlite %9.1f ms   goal %6.0f ms\n", row.name + 3,
                    ms("/1"), ms("/0"), row.goalMs);
    }
    g_bench.reset();
    benchmark::Shutdown();
    return 0;
}
