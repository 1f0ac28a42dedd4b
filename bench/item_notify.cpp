// Cost of one host value change reaching a handler through clsAppItem (host
// store -> item view -> item -> its three events), beside a bare Qt signal
// carrying the same value to the same handler.

#include "RatioReporter.h"
#include "TestHost.h"

#include "VexAppletItemManager.h"
#include "clsAppItem.h"

#include <QApplication>
#include <cstdio>

namespace {

// The handler both paths end in: it keeps the value, as a display would.
class Handler : public QObject
{
    Q_OBJECT
public:
    QString last;
    qint64 calls = 0;
    void take(const QString &value)
    {
        last = value;
        ++calls;
    }
};

class BareSource : public QObject
{
    Q_OBJECT
Q_SIGNALS:
    void changed(const QString &value);
};

const QString ValueA = QStringLiteral("12.5");
const QString ValueB = QStringLiteral("13.25");

void BM_ItemNotify(benchmark::State &state)
{
    TestHost host;
    auto manager = host.manager();
    clsAppItem item;
    item.Register(manager, QStringLiteral("message"));
    Handler handler;
    QObject::connect(&item, &clsAppItem::ValueUpdate2, &handler,
                     [&handler](QString &value, bool &) { handler.take(value); });
    const qint32 handle = item.itemHandle();
    qint32 rc = 0;
    bool flip = false;
    for (auto _ : state) {
        manager->fncPutStringValue(handle, (flip = !flip) ? ValueA : ValueB, rc);
    }
    if (handler.calls != qint64(state.iterations()))
        state.SkipWithError("notifications lost");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ItemNotify);

void BM_BareSignal(benchmark::State &state)
{
    BareSource source;
    Handler handler;
    QObject::connect(&source, &BareSource::changed, &handler,
                     [&handler](const QString &value) { handler.take(value); });
    bool flip = false;
    for (auto _ : state) {
        Q_EMIT source.changed((flip = !flip) ? ValueA : ValueB);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_BareSignal);

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double item = reporter.nanosecondsPerIteration("BM_ItemNotify");
    const double bare = reporter.nanosecondsPerIteration("BM_BareSignal");
    if (item > 0 && bare > 0) {
        std::printf("\nnotifications per second through clsAppItem: %.0f\n", 1e9 / item);
        std::printf("bare signal emissions per second:            %.0f\n", 1e9 / bare);
        std::printf("cost ratio (item / bare signal):             %.2f\n", item / bare);
    }
    benchmark::Shutdown();
    return 0;
}

#include "item_notify.moc"
