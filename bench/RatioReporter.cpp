#include "RatioReporter.h"

void RatioReporter::ReportRuns(const std::vector<Run> &runs)
{
    for (const Run &run : runs) {
        if (run.iterations > 0)
            m_nanoseconds[run.benchmark_name()] =
                run.real_accumulated_time * 1e9 / double(run.iterations);
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
    const auto it = m_nanoseconds.find(name);
    return it == m_nanoseconds.end() ? 0.0 : it->second;
}
