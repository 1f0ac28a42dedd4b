// The live displays' costs: one value update through a digital display, a
// repaint of the trend (1000 pixels wide) with four full 24-hour curves, and
// the trend's memory for those curves. Goals: update under 50 us, repaint
// under 2 ms, memory under 16 bytes a sample. Beside the trend, the same
// four curves drawn by Qt Charts (a QLineSeries each in a QChartView), the
// library a Qt developer would take instead.

#include "RatioReporter.h"
#include "TestHost.h"

#include "DeviceDescription.h"
#include "DynamicLabel.h"
#include "ItemStore.h"
#include "TrendCanvas.h"
#include "TrendRecorder.h"
#include "VexAppletItemManager.h"
#include "displays/ctlDigitalDisplay.h"

#include <QApplication>
#include <QChart>
#include <QChartView>
#include <QImage>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <cmath>
#include <cstdio>

namespace {

constexpr int DaySeconds = 24 * 3600;
constexpr int PlotWidth = 1000;
constexpr qint64 Start = 1'780'000'000'000;

DeviceDescription builtIn()
{
    QString error;
    auto d = DeviceDescription::load(QLatin1String(DeviceDescription::BuiltInPath), &error);
    if (!d)
        qFatal("%s", qPrintable(error));
    return *d;
}

// Sample i of curve c: a day each at a sample a second, with some gaps and
// flagged values.
TrendSample sampleAt(int c, int i)
{
    const double t = i / 600.0 + c;
    TrendSample s{Start + i * 1000LL, float(50 + 40 * std::sin(t) + (i % 7) * 0.3),
                  TrendStatus::Good};
    if (i % 5000 < 3)
        s.status = TrendStatus::NoRead;
    else if (i % 9000 < 60)
        s.status = TrendStatus::Uncertain;
    return s;
}

void fill(TrendRecorder &recorder)
{
    for (int c = 0; c < TrendRecorder::CurveCount; ++c) {
        recorder.setCurve(c, {QStringLiteral("Curve %1").arg(c), QStringLiteral("mbar")}, Start);
        for (int i = 0; i < DaySeconds; ++i)
            recorder.append(c, sampleAt(c, i));
    }
}

void BM_DigitalDisplayUpdate(benchmark::State &state)
{
    TestHost host(builtIn());
    ItemStore &store = host.manager()->store();
    const int index = store.indexOf(QStringLiteral("actualOutputValue"));
    ItemValue a = store.value(index, true);
    ItemValue b = a;
    a.parse(store.definition(index), QStringLiteral("12.5"));
    b.parse(store.definition(index), QStringLiteral("13.25"));
    ctlDigitalDisplay display;
    display.setObjectNameValue(QStringLiteral("actualOutputValue"));
    display.setObjectNameUnit(QStringLiteral("Unit_mA"));
    display.setObjectNameLoLoLim(QStringLiteral("3.6"));
    display.setObjectNameHiHiLim(QStringLiteral("21"));
    display.setDecimalPlaces(2);
    display.setMaxDigits(8);
    display.resize(300, 120);
    display.show();
    display.Register(host.manager());
    bool flip = false;
    for (auto _ : state)
        store.writeShadow(index, (flip = !flip) ? a : b);
    if (!display.lblValue()->Caption().contains(QStringLiteral("mA")))
        state.SkipWithError("the display did not show the value");
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DigitalDisplayUpdate)->Unit(benchmark::kMicrosecond);

void BM_TrendRepaint(benchmark::State &state)
{
    TrendRecorder recorder;
    fill(recorder);
    TrendCanvas canvas(recorder);
    for (int c = 0; c < TrendCanvas::CurveCount; ++c)
        canvas.setCurveStyle(c, {QColor::fromHsv(c * 70, 200, 180), 0.0, 100.0, true,
                                 recorder.curve(c).caption, recorder.curve(c).unit});
    // The plot itself 1000 pixels wide, inside the axes.
    canvas.resize(PlotWidth + (canvas.width() - canvas.plotArea().width()), 400);
    canvas.resize(PlotWidth + (canvas.width() - canvas.plotArea().width()), 400);
    TrendView view;
    view.spanMs = DaySeconds * 1000LL;
    view.endMs = Start + view.spanMs;
    view.live = false;
    canvas.setView(view);
    QImage image(canvas.size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) {
        canvas.render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    if (canvas.plotArea().width() != PlotWidth)
        state.SkipWithError("the plot is not 1000 pixels wide");
    state.counters["plot_px"] = canvas.plotArea().width();
}
BENCHMARK(BM_TrendRepaint)->Unit(benchmark::kMillisecond);

// The same curves as Qt Charts draws them: every sample a point of the
// series (gaps and flagged values cannot be told apart there), one series a
// curve, the plot as wide as the trend's.
void BM_QtChartsRepaint(benchmark::State &state)
{
    auto *chart = new QChart;
    chart->legend()->hide();
    auto *x = new QValueAxis;
    auto *y = new QValueAxis;
    x->setRange(0, DaySeconds);
    y->setRange(0, 100);
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (int c = 0; c < TrendRecorder::CurveCount; ++c) {
        QList<QPointF> points;
        points.reserve(DaySeconds);
        for (int i = 0; i < DaySeconds; ++i)
            points.append(QPointF(i, sampleAt(c, i).value));
        auto *series = new QLineSeries;
        series->replace(points);
        series->setColor(QColor::fromHsv(c * 70, 200, 180));
        chart->addSeries(series);
        series->attachAxis(x);
        series->attachAxis(y);
    }
    QChartView view(chart);
    view.resize(PlotWidth + 80, 400);
    view.show();
    // The plot itself as wide as the trend's.
    view.resize(view.width() + PlotWidth - int(chart->plotArea().width()), 400);
    QApplication::processEvents();
    QImage image(view.size(), QImage::Format_ARGB32_Premultiplied);
    QWidget *widget = &view; // the whole widget, as the trend is rendered
    for (auto _ : state) {
        widget->render(&image);
        benchmark::DoNotOptimize(image.constBits());
    }
    state.counters["plot_px"] = chart->plotArea().width();
}
BENCHMARK(BM_QtChartsRepaint)->Unit(benchmark::kMillisecond);

double g_bytesPerSample = 0;

void BM_TrendMemory(benchmark::State &state)
{
    for (auto _ : state) {
        TrendRecorder recorder;
        fill(recorder);
        const double samples = double(TrendRecorder::CurveCount) * DaySeconds;
        g_bytesPerSample = double(recorder.memoryBytes()) / samples;
        state.counters["bytes_per_sample"] = g_bytesPerSample;
        state.counters["MB"] = double(recorder.memoryBytes()) / 1e6;
    }
}
BENCHMARK(BM_TrendMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double update = reporter.nanosecondsPerIteration("BM_DigitalDisplayUpdate") / 1e3;
    const double repaint = reporter.nanosecondsPerIteration("BM_TrendRepaint") / 1e6;
    const auto verdict = [](bool ok) { return ok ? "within the goal" : "OVER THE GOAL"; };
    std::printf("\none value update through a digital display: %8.2f us (goal 50 us): %s\n", update,
                verdict(update < 50));
    const double charts = reporter.nanosecondsPerIteration("BM_QtChartsRepaint") / 1e6;
    std::printf("trend repaint, 1000 px, four 24-hour curves: %7.2f ms (goal 2 ms): %s\n", repaint,
                verdict(repaint < 2));
    if (charts > 0)
        std::printf("the same curves in a Qt Charts view:         %7.2f ms (%.0fx the trend's)\n",
                    charts, charts / repaint);
    std::printf("trend memory, four 24-hour curves:         %8.2f bytes a sample (goal 16): %s\n",
                g_bytesPerSample, verdict(g_bytesPerSample < 16));
    benchmark::Shutdown();
    return 0;
}
