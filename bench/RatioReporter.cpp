#include "RatioReporter.h"

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        if (run.iterations <= 0)
            continue;
        m_nanoseconds[run.benchmark_name()] =
            run.real_accumulated_time * 1e9 / double(run.iterations);
        m_cpuNanoseconds[run.benchmark_name()] =
            run.cpu_accumulated_time * 1e9 / double(run.iterations);
    }
    if (m_output == Print)
        ConsoleReporter::ReportRuns(runs);
}

bool RatioReporter::ReportContext(const Context &context)
{
    return m_output == Quiet || ConsoleReporter::ReportContext(context);
}

double RatioReporter::nanosecondsPerIteration(const std::string &name) const
{
    return find(m_nanoseconds, name);
}

double RatioReporter::cpuNanosecondsPerIteration(const std::string &name) const
{
    return find(m_cpuNanoseconds, name);
}

double RatioReporter::find(const std::map<std::string, double> &times, const std::string &name)
{
    const auto it = times.find(name);
    return it == times.end() ? 0.0 : it->second;
}
