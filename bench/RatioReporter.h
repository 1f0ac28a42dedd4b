#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

// The console report, plus the mean time per iteration of every run by name,
// so a benchmark program can print how two runs compare.
// A quiet one only keeps the times, for runs repeated to compare them.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    enum Output
    {
        Print,
        Quiet
    };
    explicit RatioReporter(Output output = Print) : m_output(output) {}

    bool ReportContext(const Context &context) override;
    void ReportRuns(const std::vector<Run> &runs) override;
    double nanosecondsPerIteration(const std::string &name) const;
    // The processor time of the benchmark's thread: what a run cost, without
    // the time the machine gave to other programs meanwhile.
    double cpuNanosecondsPerIteration(const std::string &name) const;

private:
    static double find(const std::map<std::string, double> &times, const std::string &name);

    Output m_output;
    std::map<std::string, double> m_nanoseconds;
    std::map<std::string, double> m_cpuNanoseconds;
};
