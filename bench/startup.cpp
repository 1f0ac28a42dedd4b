// Time from process start to the main window shown, for the program on the
// simulated transmitter and for a bare Qt main window in the same run, and the
// peak resident memory of each.

#include "RatioReporter.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <cstdio>
#include <map>

namespace {

struct Sample
{
    double shownMs = 0;
    long peakKb = 0;
};

std::map<std::string, Sample> g_last;

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
    for (auto _ : state) {
        if (!probe(program, arguments, sample)) {
            state.SkipWithError("the program did not report its main window");
            return;
        }
        state.SetIterationTime(sample.shownMs / 1000.0);
    }
    state.counters["peak kB"] = double(sample.peakKb);
    g_last[name] = sample;
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
    for (const auto &[name, sample] : g_last)
        std::printf("%-10s main window shown after %.1f ms, peak resident memory %.1f MB\n",
                    name.c_str(), sample.shownMs, double(sample.peakKb) / 1024.0);
    benchmark::Shutdown();
    return 0;
}
