#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

// The console report, plus the mean time per iteration of every run by name,
// so a benchmark program can print how two runs compare.
class RatioReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run> &runs) override;
    double nanosecondsPerIteration(const std::string &name) const;

private:
    std::map<std::string, double> m_nanoseconds;
};
