// Time from process start to the main window shown, for the program on the
// simulated transmitter and for a bare Qt main window in the same run, and the
// peak resident memory of each. The last line gives the program's time as a
// multiple of the bare window's (medians of the runs; the goal is 2 or less).

#include "RatioReporter.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <map>
#include <vector>

namespace {

struct Sample
{
    double shownMs = 0;
    long peakKb = 0;
};

struct Runs
{
    std::vector<double> shownMs;
    long peakKb = 0;

    double median() const
    {
        std::vector<double> sorted = shownMs;
        std::sort(sorted.begin(), sorted.end());
        const size_t n = sorted.size();
        return n == 0 ? 0.0 : n % 2 ? sorted[n / 2] : (sorted[n / 2 - 1] + sorted[n / 2]) / 2;
    }
};

std::map<std::string, Runs> g_runs;

bool probe(const QString &program, const QStringList &arguments, Sample &sample)
{
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("VEX_STARTUP_PROBE"), QStringLiteral("1"));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    process.setProcessEnvironment(env);
    process.start(program, arguments);
    if (!process.waitForFinished(60000))
        return false;
    const QString out = QString::fromLocal8Bit(process.readAllStandardOutput());
    const auto m = QRegularExpression(QStringLiteral("shown ([0-9.]+) ms, peak resident (\\d+) kB"))
                       .match(out);
    if (!m.hasMatch())
        return false;
    sample.shownMs = m.captured(1).toDouble();
    sample.peakKb = m.captured(2).toLong();
    return true;
}

void run(benchmark::State &state, const char *name, const QString &program,
         const QStringList &arguments)
{
    Sample sample;
    Runs &runs = g_runs[name];
    for (auto _ : state) {
        if (!probe(program, arguments, sample)) {
            state.SkipWithError("the program did not report its main window");
            return;
        }
        state.SetIterationTime(sample.shownMs / 1000.0);
        runs.shownMs.push_back(sample.shownMs);
    }
    state.counters["peak kB"] = double(sample.peakKb);
    runs.peakKb = sample.peakKb;
}

QString sibling(const char *name)
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + QLatin1String(name);
}

void BM_Workbench(benchmark::State &state)
{
    run(state, "workbench", sibling("../workbench/workbench"),
        {QStringLiteral("--link-speed"), QStringLiteral("0")});
}
BENCHMARK(BM_Workbench)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_BareWindow(benchmark::State &state)
{
    run(state, "bare", sibling("startup_bare_window"), {});
}
BENCHMARK(BM_BareWindow)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (const auto &[name, runs] : g_runs)
        std::printf(
            "%-10s main window shown after %.1f ms (median), peak resident memory %.1f MB\n",
            name.c_str(), runs.median(), double(runs.peakKb) / 1024.0);
    const double program = g_runs["workbench"].median();
    const double bare = g_runs["bare"].median();
    if (program > 0 && bare > 0)
        std::printf("start-up ratio (program / bare window): %.2f (goal 2 or less)\n",
                    program / bare);
    benchmark::Shutdown();
    return 0;
}
